// The text object's records: the text and its settings as each file version stores them.
#include "objects/PriLabel.h"

#include "platform/Cp932.h"
#include "platform/DocumentLimits.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <algorithm>
#include <climits>

int TPriLabel::LaterTextFieldCount(int version, const TStreamReader& after,
                                   const std::function<bool(TStreamReader&)>& tail) {
    if (version >= 10) return 4;
    if (version == 9) return 3;
    if (version == 8) return 1;
    const auto longForm = [](TStreamReader& r) {
        int32_t angle = 0, space = 0, kinsoku = 0, kana = 0;
        if (!r.ReadInt32(angle) || !r.ReadInt32(space) || !r.ReadInt32(kinsoku) || !r.ReadInt32(kana)) return false;
        return angle >= 0 && angle <= 1 && space >= 0 && space <= 2 && kinsoku >= 0 && kinsoku <= 1 && kana >= 0 &&
               kana <= 1;
    };
    TStreamReader probe = after;
    if (!tail) return (after.Remaining() == 16 && longForm(probe)) ? 4 : 0;
    if (tail(probe) && probe.Ok() && probe.AtEnd()) return 0;
    probe = after;
    if (after.Remaining() >= 16 && longForm(probe) && tail(probe) && probe.Ok() && probe.AtEnd()) return 4;
    return 0;
}

bool TPriLabel::ReadTextFields(TStreamReader& stream, int version, const std::function<bool(TStreamReader&)>& tail,
                               QString* slotText) {
    int32_t charSpace = 0, bltAngle = 0, style = 0, size = 0, fontColor = 0, backColor = 0;
    uint8_t longPos = 0, sidePos = 0;
    QByteArray face, text;
    bool small = false;
    if (!stream.ReadInt32(charSpace) || !stream.ReadInt32(bltAngle) || !stream.ReadEnum(longPos) ||
        !stream.ReadEnum(sidePos) || !stream.ReadRawString(face) || !stream.ReadInt32(style) ||
        !stream.ReadInt32(size) || !stream.ReadColor(fontColor) || !stream.ReadColor(backColor) ||
        !stream.ReadRawString(text) || !stream.ReadBool(small))
        return false;
    // Laying out costs time in the length of the text and the size of the glyphs: what the
    // program cannot make is refused before any of it is laid out.
    if (text.size() > TDocumentLimits::kMaxTextBytes)
        return stream.Refuse(QStringLiteral("文字列が長すぎます（%1 バイト、上限 %2 バイト）")
                                 .arg(text.size())
                                 .arg(TDocumentLimits::kMaxTextBytes));
    if (face.size() > TDocumentLimits::kMaxNameBytes)
        return stream.Refuse(QStringLiteral("フォント名が長すぎます（%1 バイト）").arg(face.size()));
    if (size > TDocumentLimits::kMaxFontPoints || size < -TDocumentLimits::kMaxFontPoints)
        return stream.Refuse(QStringLiteral("文字の大きさ %1 ポイントは上限 %2 ポイントを超えています")
                                 .arg(size)
                                 .arg(TDocumentLimits::kMaxFontPoints));
    const int later = LaterTextFieldCount(version, stream, tail);
    uint8_t angle = 0, space = 0;
    bool kinsoku = false, kana = false;
    if (later >= 1 && !stream.ReadEnum(angle)) return false;
    if (later >= 3 && (!stream.ReadEnum(space) || !stream.ReadBool(kinsoku))) return false;
    if (later >= 4 && !stream.ReadBool(kana)) return false;

    CharSpace = charSpace;
    BltAngle = bltAngle;
    // Out-of-range enumerations from a damaged record fall back to the defaults.
    LongPos = longPos <= tlRyoutan ? TLongPos(longPos) : tlTop;
    SidePos = sidePos <= psRyoutan ? TSidePos(sidePos) : psLeft;
    Font.setFamily(TCp932::Decode(face));
    if (style >= 0 && style <= 3) {
        Font.setBold(style == 1 || style == 3);
        Font.setItalic(style == 2 || style == 3);
        Font.setUnderline(false);
        Font.setStrikeOut(false);
    }
    SameFSize = size;
    Font.setPointSize(std::max(1, size));
    FontColor = fontColor;
    Color = backColor;
    SmallCheck = small;
    if (later >= 1) {
        fFontAngle = angle == faLong ? faLong : faSide;
        // Records from elsewhere may disagree; BltAngle must carry the direction into the clipboard's form.
        const bool derivedLong = BltAngle != 0 && BltAngle != 1800;
        if (derivedLong != (fFontAngle == faLong)) BltAngle = fFontAngle == faLong ? 2700 : 0;
    } else {
        fFontAngle = (BltAngle != 0 && BltAngle != 1800) ? faLong : faSide;
    }
    if (later >= 3) {
        LongSpace = space <= lsWide ? TLongSpace(space) : lsNormal;
        KinsokuCheck = kinsoku;
    }
    if (later >= 4) LongKanaCheck = kana;
    if (slotText)
        *slotText = TCp932::Decode(text);
    else
        SetDataString(TCp932::Decode(text));
    return true;
}

void TPriLabel::WriteTextFields(TStreamWriter& stream, int version, const QString& text) const {
    stream.WriteInt32(CharSpace);
    stream.WriteInt32(BltAngle);
    stream.WriteEnum(LongPos);
    stream.WriteEnum(SidePos);
    stream.WriteString(Font.family());
    const bool bold = Font.bold(), italic = Font.italic(), other = Font.underline() || Font.strikeOut();
    int style = 3;
    if (!bold && !italic && !other)
        style = 0;
    else if (bold && !italic && !other)
        style = 1;
    else if (!bold && italic && !other)
        style = 2;
    stream.WriteInt32(style);
    stream.WriteInt32(SameFSize);
    stream.WriteColor(FontColor);
    stream.WriteColor(Color);
    stream.WriteString(text);
    stream.WriteBool(SmallCheck);
    if (version >= 8) stream.WriteEnum(fFontAngle);
    if (version >= 9) {
        stream.WriteEnum(LongSpace);
        stream.WriteBool(KinsokuCheck);
    }
    if (version >= 10) stream.WriteBool(LongKanaCheck);
}

bool TPriLabel::LoadFromStream(TStreamReader& stream, int version) {
    return TPriBase::LoadFromStream(stream, version) && ReadTextFields(stream, version);
}

bool TPriLabel::SaveToStream(TStreamWriter& stream, int version) {
    if (!TPriBase::SaveToStream(stream, version)) return false;
    WriteTextFields(stream, version);
    return true;
}
