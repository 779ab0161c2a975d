#include "merge/CustomerAddress.h"

#include "merge/PostalCode.h"

#include <QStringView>

// The rules follow Japan Post's 「郵便番号・バーコードマニュアル」, 「バーコードに必要な文字情報の抜き出し法」
// (https://www.post.japanpost.jp/zipcode/zipmanual/p19.html and p20.html). Japan Post applies them to
// the part after the town name only; we get the whole address, so the town name has to fall away
// by itself: kanji in it become hyphens that collapse, and numbers that belong to a name (北八条西,
// 一番町, 一ノ瀬, 八丁堀) are recognised by what follows them.

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool IsLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

// Hyphens as people type them between numbers: the long vowel mark and every dash and minus.
bool IsDash(QChar c) {
    switch (c.unicode()) {
    case u'-':
    case u'‐':
    case u'‑':
    case u'‒':
    case u'–':
    case u'—':
    case u'―':
    case u'−':
    case u'ー':
    case u'─':
    case u'━':
    case u'﹣':
    case u'ｰ': return true;
    default: return false;
    }
}

// Dropped and closed up, so 「A&b」 makes the two-letter run 「AB」.
bool IsDropped(QChar c) {
    return c == u'&' || c == u'/' || c == u'・' || c == u'.';
}

int KanjiDigit(QChar c) {
    static constexpr QStringView digits = u"〇一二三四五六七八九";
    if (c == u'零') return 0;
    if (c == u'壱') return 1;
    if (c == u'弐') return 2;
    if (c == u'参') return 3;
    return int(digits.indexOf(c));
}

int KanjiUnit(QChar c) {
    switch (c.unicode()) {
    case u'十':
    case u'拾': return 10;
    case u'百': return 100;
    case u'千': return 1000;
    default: return 0;
    }
}

bool IsKanjiNumeral(QChar c) {
    return KanjiDigit(c) >= 0 || KanjiUnit(c) > 0;
}

// 「二十一」 → 21, 「百一」 → 101, and digit by digit when written without units: 「一〇五」 → 105.
QString KanjiNumber(QStringView run) {
    bool units = false;
    for (const QChar c : run)
        units = units || KanjiUnit(c) > 0;
    QString out;
    if (!units) {
        for (const QChar c : run)
            out += QChar(u'0' + KanjiDigit(c));
        return out;
    }
    long long total = 0, pending = -1;
    for (const QChar c : run) {
        if (const int unit = KanjiUnit(c)) {
            total += (pending < 0 ? 1 : pending) * unit;
            pending = -1;
        } else {
            pending = pending < 0 ? KanjiDigit(c) : pending * 10 + KanjiDigit(c);
        }
        if (total > 99999999 || pending > 99999999) return QString(); // not an address number
    }
    return QString::number(total + (pending < 0 ? 0 : pending));
}

// The length of the word at pos after which Japan Post reads a kanji numeral as a number
// (丁目, 丁, 番地, 番, 号, 地割, 線, の, ノ); 0 when there is none or the word carries on a name.
int NumberWord(QStringView s, qsizetype pos) {
    static constexpr QStringView words[] = {u"丁目", u"番地", u"地割", u"丁", u"番", u"号", u"線", u"の", u"ノ"};
    for (const QStringView w : words) {
        if (!s.mid(pos).startsWith(w)) continue;
        const QChar next = pos + w.size() < s.size() ? s[pos + w.size()] : QChar();
        const bool numberNext = IsDigit(next) || IsKanjiNumeral(next);
        const bool kanjiNext = next.unicode() >= 0x4E00 && next.unicode() <= 0x9FFF && !IsKanjiNumeral(next);
        if (w == u"番" && (next == u'町' || next == u'丁')) return 0; // 一番町, 北一番丁
        if (w == u"丁" && kanjiNext) return 0;                        // 八丁堀
        if ((w == u"の" || w == u"ノ") && !numberNext) return 0;      // 一ノ瀬, 三の輪
        return int(w.size());
    }
    return 0;
}

// Digits, hyphens and single letters as Japan Post extracts them; everything else becomes a
// hyphen. A display number extracted already ("6-7LB106", "6A1F2") keeps its letters as they are.
QString Extract(QStringView s, bool extracted) {
    QString out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        if (IsDigit(c)) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            if (j < s.size() && s[j] == u'条') { // 北1条西: the number is part of the town name
                out += u'-';
            } else {
                out += s.mid(i, j - i);
                // A lone F after a number is a floor, like 階: 「10F」 → 10.
                if (!extracted && j < s.size() && s[j] == u'F' && (j + 1 >= s.size() || !IsLetter(s[j + 1]))) {
                    out += u'-';
                    ++j;
                }
            }
        } else if (c == u'〒') { // a postal code written into the address is not part of the number
            while (j < s.size() && s[j] == u' ')
                ++j;
            while (j < s.size() && (s[j] == u'-' || IsDigit(s[j])))
                ++j;
            out += u'-';
        } else if (IsLetter(c)) {
            while (j < s.size() && IsLetter(s[j]))
                ++j;
            if (j - i == 1 || extracted)
                out += s.mid(i, j - i);
            else
                out += u'-'; // 「ABCビル」: a name, not a number
        } else if (IsKanjiNumeral(c)) {
            while (j < s.size() && IsKanjiNumeral(s[j]))
                ++j;
            const int word = NumberWord(s, j);
            const QString number = word ? KanjiNumber(s.mid(i, j - i)) : QString();
            out += number;
            out += u'-';
            j += word;
        } else {
            out += u'-';
        }
        i = j;
    }
    return out;
}

// One hyphen between parts, none at the ends and none beside a letter (「5-B604」 → 5B604).
QString Tidy(const QString& raw) {
    QString runs;
    for (const QChar c : raw)
        if (c != u'-' || (!runs.isEmpty() && runs.back() != u'-')) runs += c;
    QString out;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const bool letterBeside = (i > 0 && IsLetter(runs[i - 1])) || (i + 1 < runs.size() && IsLetter(runs[i + 1]));
        if (runs[i] != u'-' || !letterBeside) out += runs[i];
    }
    while (out.endsWith(u'-'))
        out.chop(1);
    return out;
}

} // namespace

QString TCustomerAddress::DisplayNumber(const QString& address) {
    // Full-width digits, letters and signs to ASCII, then upper case, then the dashes.
    QString s = address.normalized(QString::NormalizationForm_KC).toUpper();
    QString cleaned;
    cleaned.reserve(s.size());
    for (const QChar c : s) {
        if (IsDropped(c)) continue;
        cleaned += IsDash(c) ? QChar(u'-') : c;
    }
    cleaned = cleaned.trimmed();
    bool extracted = !cleaned.isEmpty();
    for (const QChar c : cleaned)
        extracted = extracted && (IsDigit(c) || IsLetter(c) || c == u'-');
    return Tidy(Extract(cleaned, extracted));
}

QString TCustomerAddress::BarcodeData(const QString& postal, const QString& address) {
    const QString digits = TPostalCode::Digits(postal);
    if (digits.isEmpty()) return QString();
    const QString data = digits + DisplayNumber(address);
    // Cut where the places run out. A letter whose control code takes the last place stays: Japan
    // Post keeps that code alone, though libzint 2.11 refuses such data rather than follow it.
    int places = 0;
    qsizetype n = 0;
    while (n < data.size() && places < kPlaces)
        places += IsLetter(data[n++]) ? 2 : 1;
    return data.left(n);
}
