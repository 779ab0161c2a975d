#pragma once

#include <QDialog>

// The first question of every start: open a template or open saved data.
class TStartCheckDialog : public QDialog {
public:
    TStartCheckDialog(const QString& templateCaption, const QString& savedCaption, QWidget* parent = nullptr);

    // 1 template, 2 saved data, 0 nothing chosen.
    int Choice() const { return fChoice; }

private:
    int fChoice = 0;
};
