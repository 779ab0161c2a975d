#pragma once

#include <QString>
#include <QtGlobal>

// What one load may still spend, shared by the readers of one file: the pixels its pictures may
// still decode to, and the first reason a reader gave for refusing the file.
class TReadBudget {
public:
    explicit TReadBudget(qint64 pixels) : fPixels(pixels < 0 ? 0 : pixels) {}

    qint64 PixelsLeft() const { return fPixels; }
    // False, taking nothing, when the budget cannot pay for the picture.
    bool TakePixels(qint64 count);

    // Only the first reason is kept: later failures follow from it.
    void Refuse(const QString& reason);
    const QString& Refusal() const { return fRefusal; }

private:
    qint64 fPixels;
    QString fRefusal;
};
