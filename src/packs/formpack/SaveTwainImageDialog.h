#pragma once

#include <QDialog>

// What becomes of a freshly scanned picture: page background, image object, or nothing.
class TSaveTwainImageDialog : public QDialog {
public:
    // picturePath: the scanned picture, shown small when it can be read.
    explicit TSaveTwainImageDialog(const QString& picturePath, QWidget* parent = nullptr);
    // 1 background, 2 image object, 0 discard.
    int Choice() const { return fChoice; }

private:
    int fChoice = 0;
};
