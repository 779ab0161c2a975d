#include "merge/SenderInfo.h"

#include "merge/PostalCode.h"
#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

namespace {

const char* const kKeys[] = {"postal", "address1", "address2", "name"};

// One line each: breaks become spaces, and the length is bounded as a reader bounds it.
QString OneLine(const QString& value) {
    QString line = value;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.left(TSenderInfo::kMaxValueChars);
}

} // namespace

QString TSenderInfo::Item(TObjectExtras::TSenderItem item) const {
    using T = TObjectExtras::TSenderItem;
    switch (item) {
    case T::PostalCode: return PostalCode;
    case T::Address1: return Address1;
    case T::Address2: return Address2;
    case T::Name: return Name;
    case T::None: break;
    }
    return {};
}

bool TSenderInfo::ValidPostalCode(const QString& value) {
    return value.trimmed().isEmpty() || !TPostalCode::Digits(value).isEmpty();
}

QByteArray TSenderInfo::ToBytes() const {
    const QString* values[] = {&PostalCode, &Address1, &Address2, &Name};
    QByteArray out;
    for (size_t i = 0; i < std::size(kKeys); ++i)
        out += QByteArray(kKeys[i]) + '=' + OneLine(*values[i]).toUtf8() + '\n';
    return out;
}

TSenderInfo TSenderInfo::FromBytes(const QByteArray& bytes) {
    if (bytes.size() > kMaxFileBytes) return {};
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) return {};
    TSenderInfo info;
    QString* values[] = {&info.PostalCode, &info.Address1, &info.Address2, &info.Name};
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        for (size_t i = 0; i < std::size(kKeys); ++i)
            if (key == QLatin1String(kKeys[i])) *values[i] = line.mid(eq + 1).left(kMaxValueChars);
    }
    return info;
}

TSenderInfo TSenderInfo::Load(const QString& file) {
    QFile f(file);
    if (f.size() > kMaxFileBytes || !f.open(QIODevice::ReadOnly)) return {};
    return FromBytes(f.read(kMaxFileBytes + 1));
}

bool TSenderInfo::Save(const QString& file, QString* error) const {
    QDir().mkpath(QFileInfo(file).absolutePath());
    return TFileWriter::WriteAll(file, ToBytes(), error);
}
