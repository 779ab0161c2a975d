#include "document/ClipboardBlock.h"

#include "document/ExtensionArea.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "platform/ReadBudget.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

QByteArray TClipboardBlock::Write(const QList<TPriBase*>& objects) {
    if (objects.isEmpty()) return {};
    TStreamWriter out;
    out.WriteInt32(kHeader);
    out.WriteInt32(int32_t(objects.size()));
    const QPoint origin = objects.first()->GetStorePos();
    for (TPriBase* obj : objects) {
        out.WriteInt32(obj->ObjectNum);
        TPriBase* source = obj;
        std::unique_ptr<TPriBase> scratch;
        if (obj->ObjectNum == okImage) {
            // The picture goes as shown: colour, brightness, turns and trimming travel with it,
            // as in the file, without changing the object on the page.
            scratch = TObjectFactory::Create(okImage);
            auto& image = static_cast<TPriImage&>(*scratch);
            image.AssignObject(obj, false);
            image.BaseBmp = image.BltBmp;
            source = scratch.get();
        }
        const QPoint pos = source->GetStorePos();
        source->SetStorePos(pos - origin);
        const bool ok = source->SaveToStream(out, kRecordVersion);
        source->SetStorePos(pos);
        if (!ok) return {};
    }
    out.WriteInt32(kTrailer);
    TExtensionArea::Write(out, {std::vector<TPriBase*>(objects.begin(), objects.end())});
    return out.Bytes();
}

TClipboardBlock::TResult TClipboardBlock::Read(const QByteArray& block, std::vector<std::unique_ptr<TPriBase>>& objects,
                                               qint64 pixelBudget) {
    objects.clear();
    TStreamReader in(block);
    // Pictures share one budget: a block of a few bytes may claim gigapixels of JPEG.
    TReadBudget budget(pixelBudget);
    in.SetBudget(&budget);
    const auto failed = [&] { return budget.Refusal().isEmpty() ? TResult::Damaged : TResult::OverBudget; };
    int32_t header = 0, count = 0, trailer = 0;
    if (!in.ReadInt32(header) || header != kHeader) return TResult::NotOurs;
    if (!in.ReadInt32(count) || count < 0 || count > kMaxObjects || count > in.Remaining() / kMinEntryBytes)
        return TResult::Damaged;
    std::vector<std::unique_ptr<TPriBase>> read;
    read.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind = 0;
        if (!in.ReadInt32(kind)) return TResult::Damaged;
        // Records carry no length: after an unknown kind nothing further can be found.
        std::unique_ptr<TPriBase> obj = TObjectFactory::Create(kind);
        if (!obj) return TResult::Damaged;
        if (!obj->LoadFromStream(in, kRecordVersion) || !in.Ok()) return failed();
        read.push_back(std::move(obj));
    }
    if (!in.ReadInt32(trailer) || trailer != kTrailer) return TResult::Damaged;
    // Options beyond the records; a damaged area pastes the objects without them.
    std::vector<TPriBase*> pointers;
    for (auto& obj : read)
        pointers.push_back(obj.get());
    TExtensionArea::Read(in, {pointers});
    objects = std::move(read);
    return TResult::Ok;
}
