#pragma once

#include "objects/PriBase.h"
#include "platform/DocumentLimits.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <vector>

// The program's own clipboard block "SOR_DATA": a header, a count, for each object its kind and
// its record (as records of version 6 are written, without a length) with the stored position
// taken relative to the first object, and a trailer; then the objects' options in the extension
// area a template file has after its end marker.
class TClipboardBlock {
public:
    static constexpr int32_t kHeader = 65535;
    static constexpr int32_t kTrailer = 65534;
    static constexpr int kRecordVersion = 6;
    // As many objects as one side of a document holds; no copy is bigger.
    static constexpr int32_t kMaxObjects = 5000;
    // The smallest entry: a kind and the common record header.
    static constexpr int kMinEntryBytes = 4 + 7 * 4;

    // The objects in the order given; images carry their picture as adjusted. Empty when an object
    // cannot be written.
    static QByteArray Write(const QList<TPriBase*>& objects);

    enum class TResult { Ok, NotOurs, Damaged, OverBudget };
    // Reads the whole block before anything is kept: a block with a wrong length, an unknown kind,
    // a broken record or no trailer gives no objects at all.
    // Its pictures may decode to pixelBudget pixels in all (what the document still has room for);
    // a block beyond it is OverBudget.
    static TResult Read(const QByteArray& block, std::vector<std::unique_ptr<TPriBase>>& objects,
                        qint64 pixelBudget = TDocumentLimits::kMaxDocumentPixels);
};
