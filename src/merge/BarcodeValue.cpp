#include "merge/BarcodeValue.h"

#include "merge/CustomerAddress.h"
#include "merge/PriBarcode.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr char16_t kBackslash = u'\\';

TZintSymbol::TKind ZintKind(int kind, const QString& data) {
    switch (kind) {
    case TBarcodeValue::bkQr: return TZintSymbol::TKind::Qr;
    case TBarcodeValue::bkCustomer: return TZintSymbol::TKind::JapanPost;
    case TBarcodeValue::bkDataMatrix: return TZintSymbol::TKind::DataMatrix;
    default: break;
    }
    // GS1-128 is asked for by its symbology identifier at the front.
    return data.startsWith(QLatin1String("]C1")) ? TZintSymbol::TKind::Gs1_128 : TZintSymbol::TKind::Code128;
}

// The positions of the spaces that separate parts: those without a backslash right before them.
QList<qsizetype> Separators(const QString& value) {
    QList<qsizetype> out;
    for (qsizetype i = 0; i < value.size(); ++i)
        if (value[i] == QChar(u' ') && (i == 0 || value[i - 1] != QChar(kBackslash))) out.append(i);
    return out;
}

} // namespace

bool TBarcodeValue::Parse(const QString& value, TBarcodeValue& out) {
    const QList<qsizetype> seps = Separators(value);
    if (seps.size() < 3) return false;
    const qsizetype kindAt = seps[seps.size() - 3] + 1;
    bool ok = false;
    const int kind = QStringView(value).mid(kindAt, seps[seps.size() - 2] - kindAt).toInt(&ok);
    if (!ok || kind < 0 || kind >= kKinds) return false;
    TBarcodeValue v;
    v.Kind = kind;
    v.Check = QStringView(value).mid(seps[seps.size() - 2] + 1, seps.back() - seps[seps.size() - 2] - 1) == u"1";
    v.ShowText = QStringView(value).mid(seps.back() + 1) == u"1";
    if (kind < bkCode128) {
        // Stored files hold these as exactly four parts, backslashes and all.
        const QStringList parts = value.split(QChar(u' '));
        if (parts.size() != 4) return false;
        v.Data = parts[0];
    } else {
        v.Data = value.left(seps[seps.size() - 3]);
        v.Data.replace(QStringLiteral("\\ "), QStringLiteral(" "));
    }
    out = v;
    return true;
}

QString TBarcodeValue::CustomerData(const QString& data) {
    static const QRegularExpression head(QStringLiteral(u"^\\s*([0-9０-９]{3})\\s*[-－ー‐−]?\\s*([0-9０-９]{4})(.*)$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = head.match(data);
    if (!m.hasMatch()) return {};
    const QString joined = TCustomerAddress::BarcodeData(m.captured(1) + m.captured(2), m.captured(3));
    if (joined.size() < 7) return {};
    // Thirteen places for the address number, a letter taking two.
    QString out = joined.left(7);
    int places = 0;
    for (const QChar c : QStringView(joined).mid(7)) {
        const int cost = c.isLetter() ? 2 : 1;
        if (places + cost > 13) break;
        places += cost;
        out += c;
    }
    return out;
}

TZintSymbol TBarcodeValue::Symbol(QString* refusal) const {
    TZintSymbol symbol;
    Make(refusal, &symbol);
    return symbol;
}

bool TBarcodeValue::Make(QString* refusal, TZintSymbol* symbol) const {
    const auto refuse = [&](const QString& why) {
        if (refusal) *refusal = why;
        if (symbol) *symbol = TZintSymbol();
        return false;
    };
    if (!ByLibzint()) return refuse(QStringLiteral("このバーコードの種類は描けません"));
    if (Data.isEmpty()) return refuse(QStringLiteral("%1のデータが空です").arg(KindName(Kind)));
    QString data = Data;
    if (Kind == bkCustomer) {
        data = CustomerData(Data);
        if (data.isEmpty())
            return refuse(QStringLiteral("カスタマバーコードには先頭に7桁の郵便番号が要ります（「%1」）").arg(Data));
    }
    const QByteArray utf8 = data.toUtf8();
    QString why;
    const TZintSymbol::TKind kind = ZintKind(Kind, data);
    const TZintSymbol::TFailure failure = symbol ? (*symbol = TZintSymbol::Encode(kind, utf8, &why, ShowText)).Failure()
                                                 : TZintSymbol::Check(kind, utf8, &why);
    switch (failure) {
    case TZintSymbol::TFailure::None: break;
    case TZintSymbol::TFailure::TooLong:
        return refuse(QStringLiteral("%1にはデータが長すぎます（%2文字）").arg(KindName(Kind)).arg(data.size()));
    case TZintSymbol::TFailure::BadData:
        return refuse(QStringLiteral("%1にできない文字があります（%2）").arg(KindName(Kind), why));
    case TZintSymbol::TFailure::Other: return refuse(QStringLiteral("%1を作れません（%2）").arg(KindName(Kind), why));
    }
    if (refusal) refusal->clear();
    return true;
}

QString TBarcodeValue::Refusal() const {
    if (Kind < 0 || Kind >= kKinds) return QStringLiteral("バーコードの種類が正しくありません");
    if (ByLibzint()) {
        QString why;
        Make(&why, nullptr);
        return why;
    }
    if (!Linear(300).SymbolSize().isEmpty()) return {};
    return QStringLiteral("「%1」は%2にできません（桁数か文字が合いません）").arg(Data, KindName(Kind));
}

TPriBarcode TBarcodeValue::Linear(int resolution) const {
    TPriBarcode barcode;
    barcode.SetData(Data);
    barcode.SetKind(Kind);
    barcode.SetAddCheck(Check);
    barcode.SetShowText(ShowText);
    barcode.SetResolution(resolution);
    return barcode;
}

QString TBarcodeValue::KindName(int kind) {
    switch (kind) {
    case bkEan8: return QStringLiteral("EAN-8（JAN短縮）");
    case bkEan13: return QStringLiteral("EAN-13（JAN標準）");
    case bkItf: return QStringLiteral("ITF");
    case bkCodabar: return QStringLiteral("NW-7");
    case bkCode128: return QStringLiteral("Code 128");
    case bkQr: return QStringLiteral("QRコード");
    case bkCustomer: return QStringLiteral("カスタマバーコード");
    case bkDataMatrix: return QStringLiteral("データマトリックス");
    default: return QStringLiteral("バーコード");
    }
}

QString TBarcodeValue::SampleData(int kind) {
    switch (kind) {
    case bkEan8: return QStringLiteral("4912345");
    case bkEan13: return QStringLiteral("490123456789");
    case bkItf: return QStringLiteral("12345678");
    case bkCodabar: return QStringLiteral("A123456A");
    case bkCode128: return QStringLiteral("KMB-2027-0001");
    case bkQr: return QStringLiteral("https://example.jp/komorebi/");
    case bkCustomer: return QStringLiteral("150-0042 東京都渋谷区宇田川町12-3 こもれびハイツ201");
    case bkDataMatrix: return QStringLiteral("KMB-2027-0001");
    default: return {};
    }
}
