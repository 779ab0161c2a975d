#include "objects/ObjectExtras.h"

#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

namespace {

// Option tags; appended, never renumbered, as files store them.
enum TTag : int32_t {
    tgHyphenRule = 1,
    tgShrinkToFit = 2,
    tgPostalLayout = 3,
    tgPrintPostalBoxes = 4,
    tgSenderItem = 5,
    tgNameBlock = 6, // given, joint 1, joint 2, honorific categories
    tgAlmanac = 7,   // items, size, colour count, colours
    tgBarcode = 8,   // kind, check, text, address categories 1 and 2
};

void WriteOption(TStreamWriter& out, int32_t tag, const TStreamWriter& body) {
    out.WriteInt32(tag);
    out.WriteInt32(int32_t(body.Bytes().size()));
    out.WriteBytes(body.Bytes());
}

void WriteInt(TStreamWriter& out, int32_t tag, int32_t value) {
    TStreamWriter body;
    body.WriteInt32(value);
    WriteOption(out, tag, body);
}

// A value within 0..last, read as the enum it stores.
template <typename E> bool ReadEnum(TStreamReader& in, E& value, int last) {
    int32_t v;
    if (!in.ReadInt32(v) || v < 0 || v > last) return false;
    value = E(v);
    return true;
}

bool ReadCategory(TStreamReader& in, int32_t& value) {
    return in.ReadInt32(value) && value >= -1;
}

} // namespace

void TObjectExtras::Write(TStreamWriter& out) const {
    const TObjectExtras d;
    if (HyphenRule != d.HyphenRule) WriteInt(out, tgHyphenRule, int32_t(HyphenRule));
    if (ShrinkToFit != d.ShrinkToFit) WriteInt(out, tgShrinkToFit, ShrinkToFit ? 1 : 0);
    if (PostalLayout != d.PostalLayout) WriteInt(out, tgPostalLayout, int32_t(PostalLayout));
    if (PrintPostalBoxes != d.PrintPostalBoxes) WriteInt(out, tgPrintPostalBoxes, PrintPostalBoxes ? 1 : 0);
    if (SenderItem != d.SenderItem) WriteInt(out, tgSenderItem, int32_t(SenderItem));
    if (NameBlock) {
        TStreamWriter body;
        body.WriteInt32(GivenCategory);
        body.WriteInt32(Joint1Category);
        body.WriteInt32(Joint2Category);
        body.WriteInt32(HonorificCategory);
        WriteOption(out, tgNameBlock, body);
    }
    if (BarcodeKind != d.BarcodeKind) {
        TStreamWriter body;
        body.WriteInt32(BarcodeKind);
        body.WriteInt32(BarcodeCheck ? 1 : 0);
        body.WriteInt32(BarcodeText ? 1 : 0);
        body.WriteInt32(BarcodeAddress1Category);
        body.WriteInt32(BarcodeAddress2Category);
        WriteOption(out, tgBarcode, body);
    }
    if (AlmanacItems != d.AlmanacItems || AlmanacSize != d.AlmanacSize || AlmanacColors != d.AlmanacColors) {
        TStreamWriter body;
        body.WriteInt32(int32_t(AlmanacItems));
        body.WriteInt32(AlmanacSize);
        body.WriteInt32(kAlmanacColors);
        for (TColor c : AlmanacColors)
            body.WriteInt32(c);
        WriteOption(out, tgAlmanac, body);
    }
}

namespace {

// Bits a later program adds are kept, so a round trip through this one loses nothing; colours
// beyond ours are skipped.
bool ReadAlmanac(TStreamReader& in, TObjectExtras& read) {
    int32_t items, size, count;
    if (!in.ReadInt32(items) || !in.ReadInt32(size) || !in.ReadInt32(count)) return false;
    if (size < TObjectExtras::kMinAlmanacSize || size > TObjectExtras::kMaxAlmanacSize || count < 0) return false;
    read.AlmanacItems = uint32_t(items);
    read.AlmanacSize = size;
    for (int32_t i = 0; i < count; ++i) {
        int32_t colour;
        if (!in.ReadInt32(colour)) return false;
        if (i < TObjectExtras::kAlmanacColors) read.AlmanacColors[size_t(i)] = colour;
    }
    return true;
}

} // namespace

bool TObjectExtras::Read(const QByteArray& bytes) {
    TObjectExtras read;
    TStreamReader in(bytes);
    while (!in.AtEnd()) {
        int32_t tag, length;
        QByteArray body;
        if (!in.ReadInt32(tag) || !in.ReadInt32(length) || length < 0 || !in.ReadBytes(length, body)) return false;
        TStreamReader b(body);
        bool ok = true;
        switch (tag) {
        case tgHyphenRule: ok = ReadEnum(b, read.HyphenRule, 2); break;
        case tgShrinkToFit: ok = b.ReadBool(read.ShrinkToFit); break;
        case tgPostalLayout: ok = ReadEnum(b, read.PostalLayout, 2); break;
        case tgPrintPostalBoxes: ok = b.ReadBool(read.PrintPostalBoxes); break;
        case tgSenderItem: ok = ReadEnum(b, read.SenderItem, 4); break;
        case tgNameBlock:
            read.NameBlock = true;
            ok = ReadCategory(b, read.GivenCategory) && ReadCategory(b, read.Joint1Category) &&
                 ReadCategory(b, read.Joint2Category) && ReadCategory(b, read.HonorificCategory);
            break;
        case tgAlmanac: ok = ReadAlmanac(b, read); break;
        case tgBarcode: {
            int32_t kind;
            ok = b.ReadInt32(kind) && kind >= 0 && kind <= kLastBarcodeKind && b.ReadBool(read.BarcodeCheck) &&
                 b.ReadBool(read.BarcodeText) && ReadCategory(b, read.BarcodeAddress1Category) &&
                 ReadCategory(b, read.BarcodeAddress2Category);
            read.BarcodeKind = kind;
            break;
        }
        default: break; // a later program's option: skipped
        }
        if (!ok) return false;
    }
    *this = read;
    return true;
}
