// The C entry of libfontpack.so.
#include "TrueTypeList.h"

#include "platform/PackEntries.h"

#include <QtGlobal>
#include <type_traits>

extern "C" {

// Fills the font-name box's items; answers 1 when the list holds at least one face afterwards.
Q_DECL_EXPORT uint16_t GetTrueType(QStringList* items, int32_t mode, int32_t flag) {
    if (items == nullptr) return 0;
    TTrueTypeList::Fill(*items, mode, flag != 0);
    return items->isEmpty() ? 0 : 1;
}
}

static_assert(std::is_same_v<decltype(&GetTrueType), TGetTrueType>);
