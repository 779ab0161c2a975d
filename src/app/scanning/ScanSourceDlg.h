#pragma once

#include "platform/SaneLibrary.h"

#include <QDialog>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// The scanner chooser: lists the scanners the access library finds (searched off the window
// thread, since network scanners take seconds to answer), the last one used first.
class TScanSourceDlg : public QDialog {
    Q_OBJECT

public:
    TScanSourceDlg(std::shared_ptr<TSaneLibrary> library, const QString& preferred, QWidget* parent = nullptr);
    ~TScanSourceDlg() override;

    // The chosen device's name after OK.
    QString SelectedDevice() const;
    QListWidget* List() const { return fList; }
    bool Searching() const { return fSearching; }

    // Runs the chooser; the chosen name, or empty when cancelled.
    static QString Choose(std::shared_ptr<TSaneLibrary> library, const QString& preferred, QWidget* parent);

signals:
    void SearchFinished();

private:
    void StartSearch();
    void ShowDevices(const std::vector<TSaneLibrary::TDevice>& devices, const QString& error);

    std::shared_ptr<TSaneLibrary> fLibrary;
    QString fPreferred;
    QListWidget* fList = nullptr;
    QLabel* fStatus = nullptr;
    QPushButton* fOk = nullptr;
    QPushButton* fSearch = nullptr;
    bool fSearching = false;
};
