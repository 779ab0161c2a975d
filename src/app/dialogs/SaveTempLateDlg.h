#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

// Asks the name under which the document is saved in the user's data folder.
class TSaveTempLateDlg : public QDialog {
    Q_OBJECT

public:
    explicit TSaveTempLateDlg(QWidget* parent = nullptr);

    QString FileName() const;
    void SetFileName(const QString& name);
    // Asked on OK; false keeps the dialog open (the check has told the user why).
    std::function<bool(const QString&)> OnAccept;

    // Why a typed name cannot become a file in the data folder, or empty when it can: the name
    // must stay one plain file name there (no separators, "..", control or reserved characters).
    static QString NameProblem(const QString& name);

    void accept() override;

private:
    QLineEdit* fEdit;
};
