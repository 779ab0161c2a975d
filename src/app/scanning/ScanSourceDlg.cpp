#include "app/scanning/ScanSourceDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

TScanSourceDlg::TScanSourceDlg(std::shared_ptr<TSaneLibrary> library, const QString& preferred, QWidget* parent)
    : QDialog(parent), fLibrary(std::move(library)), fPreferred(preferred) {
    setWindowTitle(QStringLiteral("スキャナの選択"));
    auto* prompt = new QLabel(QStringLiteral("使用するスキャナを選んでください(&S)"), this);
    fList = new QListWidget(this);
    fList->setObjectName(QStringLiteral("ScannerList"));
    fList->setMinimumSize(360, 160);
    prompt->setBuddy(fList);
    fStatus = new QLabel(this);
    fStatus->setObjectName(QStringLiteral("StatusLabel"));
    auto* buttons = new QDialogButtonBox(this);
    fSearch = buttons->addButton(QStringLiteral("再検索(&R)"), QDialogButtonBox::ResetRole);
    fSearch->setAutoDefault(false);
    fOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    fOk->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fSearch, &QPushButton::clicked, this, &TScanSourceDlg::StartSearch);
    connect(fList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(fList, &QListWidget::currentRowChanged, this, [this](int row) { fOk->setEnabled(row >= 0); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(fList, 1);
    layout->addWidget(fStatus);
    layout->addWidget(buttons);
    StartSearch();
}

TScanSourceDlg::~TScanSourceDlg() = default;

void TScanSourceDlg::StartSearch() {
    if (fSearching) return;
    fSearching = true;
    fList->clear();
    fOk->setEnabled(false);
    fSearch->setEnabled(false);
    fStatus->setText(QStringLiteral("スキャナを探しています…"));
    // The search may outlive the dialog (a network backend answers late): it holds its own
    // reference to the library and hands the list back only if the dialog still exists.
    auto library = fLibrary;
    QPointer<TScanSourceDlg> self(this);
    auto* thread = QThread::create([library, self] {
        std::vector<TSaneLibrary::TDevice> devices;
        QString error;
        library->Devices(devices, &error);
        QMetaObject::invokeMethod(
            qApp,
            [self, devices, error] {
                if (self) self->ShowDevices(devices, error);
            },
            Qt::QueuedConnection);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TScanSourceDlg::ShowDevices(const std::vector<TSaneLibrary::TDevice>& devices, const QString& error) {
    fSearching = false;
    fSearch->setEnabled(true);
    int preferredRow = 0;
    for (const TSaneLibrary::TDevice& d : devices) {
        auto* item = new QListWidgetItem(d.Display(), fList);
        item->setData(Qt::UserRole, d.Name);
        if (d.Name == fPreferred) preferredRow = fList->count() - 1;
    }
    if (!error.isEmpty())
        fStatus->setText(error);
    else if (devices.empty())
        fStatus->setText(QStringLiteral("スキャナが見つかりません。接続と電源を確かめて「再検索」を押してください"));
    else
        fStatus->clear();
    if (fList->count() > 0) {
        fList->setCurrentRow(preferredRow);
        fList->setFocus();
    }
    emit SearchFinished();
}

QString TScanSourceDlg::SelectedDevice() const {
    const QListWidgetItem* item = fList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QString TScanSourceDlg::Choose(std::shared_ptr<TSaneLibrary> library, const QString& preferred, QWidget* parent) {
    TScanSourceDlg dialog(std::move(library), preferred, parent);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.SelectedDevice();
}
