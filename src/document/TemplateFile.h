#pragma once

#include "platform/DocumentLimits.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TPriDocument;
class TStreamReader;

// The template file (.tda): header, paper, merge settings, both backgrounds and the objects of
// both sides, each object record framed by its kind and byte length.
class TTemplateFile {
public:
    static constexpr int32_t kMagic = 65489;
    static constexpr int32_t kVersion = 6;
    static constexpr int32_t kSeparator = 65518;
    static constexpr int32_t kEndMarker = 65491;
    // What a load says when the extension area after the end marker is damaged.
    static inline const QString kDamagedExtension =
        QStringLiteral("ファイル末尾の追加情報が壊れていたため、その一部の設定を読み込まずに開きました");
    // Larger files are refused before they are read.
    static constexpr qint64 kMaxFileBytes = qint64(1) << 30;

    enum class TResult {
        Ok,
        Silent,      // bad magic, markers or paper: fails without a message
        BadVersion,  // "バージョンが異なります"
        BadKind,     // "保存形式が異なります"
        ObjectWrite, // message 11
        FileError,   // the file system refused; the text is in the error
        OutOfLimits, // beyond the limits of a sane document; the reason names the cause
    };

    // The record version an object of this kind writes into templates.
    static int RecordVersionFor(int kind);

    // Builds the whole file in memory.
    static TResult Build(TPriDocument& doc, int formatKind, QByteArray& bytes);
    // Reads a file image into the document; the document changes only when everything was read.
    // Pictures decode to at most pixelBudget pixels in all; a refusal's cause goes to reason. A
    // load that succeeds without the options of a damaged extension area says so in reason.
    static TResult Parse(TPriDocument& doc, const QByteArray& bytes, int formatKind, QString* reason = nullptr,
                         qint64 pixelBudget = TDocumentLimits::kMaxDocumentPixels);
    static TResult Parse(TPriDocument& doc, TStreamReader& in, int formatKind, QString* reason = nullptr,
                         qint64 pixelBudget = TDocumentLimits::kMaxDocumentPixels);

    static TResult Save(TPriDocument& doc, const QString& fileName, int formatKind, QString* error);
    static TResult Load(TPriDocument& doc, const QString& fileName, int formatKind, QString* error);
};
