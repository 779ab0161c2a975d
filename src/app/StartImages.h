#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// The start panel's picture file settings/stImage.ims: a 32-bit count, then per picture a
// 64-bit byte length and that many bytes of JPEG.
enum class TStartImagesResult {
    Ok,      // every entry was read and decoded
    Missing, // no file, or not one picture decoded: message 14, the program ends
    Damaged, // the file breaks off or holds undecodable data: message 15, start-up goes on
};

// Larger files are refused before they are read; the shipped one is far below this.
constexpr qint64 kStartImagesMaxBytes = qint64(64) * 1024 * 1024;
// The panel shows the first seven pictures; entries after them are never decoded.
constexpr int kStartImagesUsed = 7;
// Each is decoded within this many pixels (room for artwork drawn at three times its place's
// size): a header that claims more is decoded smaller, never at its claimed size.
constexpr qint64 kStartImageMaxPixels = qint64(4) * 1024 * 1024;

// Reads the pictures of a file image into images (slot i for entry i; a slot stays null when
// its entry could not be decoded). What was decoded before a break in the file is kept.
TStartImagesResult ParseStartImages(const QByteArray& bytes, std::vector<QImage>& images, QString* error);
// The same from a file; only a plain file is read.
TStartImagesResult LoadStartImages(const QString& file, std::vector<QImage>& images, QString* error);
// The file image of the given JPEG pictures.
QByteArray BuildStartImages(const std::vector<QByteArray>& jpegs);
