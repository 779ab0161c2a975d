#include "document/ExtensionArea.h"

#include "objects/PriBase.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

void TExtensionArea::Write(TStreamWriter& out, const TLists& lists) {
    TStreamWriter entries;
    for (size_t list = 0; list < lists.size(); ++list)
        for (size_t position = 0; position < lists[list].size(); ++position) {
            const TPriBase* obj = lists[list][position];
            if (obj->Extras.IsDefault()) continue;
            TStreamWriter body;
            body.WriteInt32(int32_t(list));
            body.WriteInt32(int32_t(position));
            obj->Extras.Write(body);
            entries.WriteInt32(kObjectTag);
            entries.WriteInt32(int32_t(body.Bytes().size()));
            entries.WriteBytes(body.Bytes());
        }
    if (entries.Bytes().isEmpty()) return;
    out.WriteInt32(kMagic);
    out.WriteInt32(kVersion);
    out.WriteInt32(int32_t(entries.Bytes().size()));
    out.WriteBytes(entries.Bytes());
}

TExtensionArea::TResult TExtensionArea::Read(TStreamReader& in, const TLists& lists) {
    if (in.AtEnd()) return TResult::None;
    int32_t magic, version, length;
    QByteArray entries;
    if (!in.ReadInt32(magic) || magic != kMagic || !in.ReadInt32(version) || version < 1 || !in.ReadInt32(length) ||
        length < 0 || !in.ReadBytes(length, entries))
        return TResult::Damaged;
    bool damaged = false;
    TStreamReader e(entries);
    while (!e.AtEnd()) {
        int32_t tag, size;
        QByteArray body;
        if (!e.ReadInt32(tag) || !e.ReadInt32(size) || size < 0 || !e.ReadBytes(size, body)) return TResult::Damaged;
        if (tag != kObjectTag) continue;
        TStreamReader b(body);
        int32_t list, position;
        if (!b.ReadInt32(list) || !b.ReadInt32(position) || list < 0 || size_t(list) >= lists.size() || position < 0 ||
            size_t(position) >= lists[size_t(list)].size()) {
            damaged = true;
            continue;
        }
        TObjectExtras extras;
        if (!extras.Read(body.mid(8))) {
            damaged = true;
            continue;
        }
        lists[size_t(list)][size_t(position)]->Extras = extras;
    }
    return damaged ? TResult::Damaged : TResult::Ok;
}
