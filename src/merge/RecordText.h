#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Turns the bytes of a record or field-definition file into text. Files are CP932 by
// tradition, but today's spreadsheets export UTF-8, so a byte-order mark or bytes that form
// valid UTF-8 with at least one non-ASCII sequence mean UTF-8.
class TRecordText {
public:
    enum class TEncoding { Ascii, Cp932, Utf8 };

    // Larger files are refused: decoded and split they would need several times their size
    // in memory, far beyond any mailing list.
    static constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;

    // Reads a whole regular file of at most kMaxFileBytes; false with the reason otherwise.
    // A FIFO or device in the folder would block or never end, so only plain files are read.
    static bool ReadFile(const QString& path, QByteArray& bytes, QString& error);

    // ReadFile and Decode a piece at a time, so that the bytes never sit in memory beside the
    // whole text; the text is what Decode would give for the whole file.
    static bool ReadText(const QString& path, QString& text, QString& error);

    static TEncoding Detect(const QByteArray& bytes);
    static QString Decode(const QByteArray& bytes);
    // True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
    static bool IsValidUtf8(const char* data, qsizetype size, bool& hasNonAscii);

    // Calls sink(QStringView line) for every line; CR LF, a lone CR and a lone LF each end one.
    // A final line without a break counts; the break after the last line does not add an empty one.
    template <typename Sink> static void ForEachLine(QStringView text, Sink&& sink) {
        const QChar* p = text.data();
        const qsizetype n = text.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i].unicode();
            if (c != u'\r' && c != u'\n') continue;
            sink(QStringView(p + start, i - start));
            if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n') ++i;
            start = i + 1;
        }
        if (start < n) sink(QStringView(p + start, n - start));
    }
};
