#include "merge/FieldPlusStyle.h"

#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <algorithm>

namespace {

const QChar kPoint(u'.');
const QChar kMinus(u'-');

QString Zeros(int count) {
    return QString(std::clamp(count, 0, TFieldPlusStyle::kMaxPadZeros), QChar(u'0'));
}

} // namespace

QString TFieldPlusStyle::Format(const QString& value, int current, int total) const {
    if (MaskMode == 1 && current != 1 && total != 1) return MaskText;
    if (MaskMode == 2 && total != current && total != 1) return MaskText;

    QString s = value;
    if (FixedDecimals && !s.isEmpty()) {
        const int decimals = std::max(0, Decimals);
        const qsizetype point = s.indexOf(kPoint);
        QString fraction;
        QString whole = s;
        if (point >= 0) {
            whole = s.left(point);
            // Digits beyond the decimals are cut, not rounded.
            fraction = s.mid(point + 1, decimals);
            if (ZeroPad && fraction.size() < decimals) fraction += Zeros(int(decimals - fraction.size()));
        } else {
            fraction = Zeros(decimals);
        }
        // Nothing after the point: no point either.
        s = fraction.isEmpty() ? whole : whole + kPoint + fraction;
    }

    if (GroupDigits) {
        QString sign;
        QString digits = s;
        if (digits.startsWith(kMinus)) {
            sign = kMinus;
            digits.remove(0, 1);
        }
        QString tail;
        const qsizetype point = digits.indexOf(kPoint);
        if (point >= 0) {
            tail = digits.mid(point);
            digits.truncate(point);
        }
        if (digits.size() > 3) {
            QString grouped;
            grouped.reserve(digits.size() + digits.size() / 3);
            const qsizetype lead = digits.size() % 3;
            for (qsizetype i = 0; i < digits.size(); ++i) {
                if (i > 0 && (i - lead) % 3 == 0) grouped += QChar(u',');
                grouped += digits[i];
            }
            digits = grouped;
        }
        s = sign + digits + tail;
    }

    if (DropPoint && !s.isEmpty()) s.remove(kPoint);
    if (TriangleMinus && s.startsWith(kMinus)) s.replace(0, 1, QChar(u'▲'));
    if (UsePrefix) {
        s.prepend(Prefix);
        // An empty value prints nothing rather than a lone currency sign.
        if (s == QLatin1String("\\") || s == QString(QChar(0xFFE5))) s.clear();
    }
    if (UseSuffix) s += Suffix;
    return s;
}

bool TFieldPlusStyle::LoadFromStream(TStreamReader& stream, int version) {
    TFieldPlusStyle r = *this;
    stream.ReadBool(r.GroupDigits);
    stream.ReadBool(r.TriangleMinus);
    stream.ReadBool(r.FixedDecimals);
    stream.ReadInt32(r.Decimals);
    stream.ReadBool(r.UsePrefix);
    stream.ReadBool(r.UseSuffix);
    stream.ReadString(r.Prefix);
    stream.ReadString(r.Suffix);
    stream.ReadEnum(r.MaskMode);
    stream.ReadString(r.MaskText);
    if (version >= 7) {
        stream.ReadBool(r.DropPoint);
        stream.ReadBool(r.ZeroPad);
    } else {
        r.DropPoint = false;
        r.ZeroPad = false;
    }
    if (!stream.Ok()) return false;
    *this = r;
    return true;
}

void TFieldPlusStyle::SaveToStream(TStreamWriter& stream, int version) const {
    stream.WriteBool(GroupDigits);
    stream.WriteBool(TriangleMinus);
    stream.WriteBool(FixedDecimals);
    stream.WriteInt32(Decimals);
    stream.WriteBool(UsePrefix);
    stream.WriteBool(UseSuffix);
    stream.WriteString(Prefix);
    stream.WriteString(Suffix);
    stream.WriteEnum(MaskMode);
    stream.WriteString(MaskText);
    if (version >= 7) {
        stream.WriteBool(DropPoint);
        stream.WriteBool(ZeroPad);
    }
}
