#include "PrintPaperDialog.h"

#include "DialogFrame.h"
#include "SheetEditDialog.h"
#include "SheetPreview.h"

#include "platform/Cp932.h"
#include "print/CardData.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Mm(int32_t tenths) {
    return QString::number(tenths / 10.0, 'f', 1);
}

QString Details(const TCardSheet& s) {
    QString text = QStringLiteral("用紙: %1 × %2 mm\n").arg(Mm(s.SheetWidth), Mm(s.SheetHeight));
    if (s.IsSingleSeat() && s.SeatWidth == s.SheetWidth && s.SeatHeight == s.SheetHeight)
        return text + QStringLiteral("1 面（用紙全体）");
    text += QStringLiteral("面付け: %1 列 × %2 行（%3 面）\n").arg(s.Columns).arg(s.Rows).arg(s.Columns * s.Rows);
    text += QStringLiteral("面の大きさ: %1 × %2 mm\n").arg(Mm(s.SeatWidth), Mm(s.SeatHeight));
    text += QStringLiteral("最初の面: 左 %1 mm、上 %2 mm\n").arg(Mm(s.FirstLeft), Mm(s.FirstTop));
    text += QStringLiteral("面の間隔: 横 %1 mm、縦 %2 mm").arg(Mm(s.PitchX - s.SeatWidth), Mm(s.PitchY - s.SeatHeight));
    return text;
}

} // namespace

int32_t TPrintPaperDialog::NameKey(const QString& name) {
    const QByteArray bytes = TCp932::Encode(name);
    return int32_t(qChecksum(QByteArrayView(bytes))) + 1; // never 0, the value of "no choice yet"
}

TPrintPaperDialog::TPrintPaperDialog(const QString& dataFile, const QString& userCopy, int32_t valueA, int32_t valueB,
                                     int32_t portrait, QWidget* parent)
    : QDialog(parent), fUserCopy(userCopy), fPortrait(portrait) {
    setWindowTitle(QStringLiteral("印刷用紙の選択"));
    fLoaded = TCardData::LoadFromFile(dataFile, fSheets, &fLoadMessage);
    if (fLoaded) fLoadMessage.clear();
    // A damaged list must not take the shipped sheets with it: they are offered, and saved with
    // the first sheet the user adds.
    if (!fLoaded) fSheets = TCardData::ShippedSheets();

    fMessage = new QLabel;
    fMessage->setObjectName("message");
    fMessage->setWordWrap(true);
    fMessage->setStyleSheet(QStringLiteral("color: #b00000;"));
    if (!fLoaded)
        fMessage->setText(
            fLoadMessage +
            QStringLiteral("\n標準の用紙を表示しています。用紙を追加すると、新しい用紙データとして保存します。"));
    fMessage->setVisible(!fLoaded);

    fList = new QListWidget;
    fList->setObjectName("sheets");
    fList->setMinimumWidth(260);
    auto* listLabel = new QLabel(QStringLiteral("用紙(&L):"));
    listLabel->setBuddy(fList);
    fAdd = new QPushButton(QStringLiteral("用紙を追加(&A)..."));
    fAdd->setObjectName("addSheet");
    fAdd->setAutoDefault(false);
    fDelete = new QPushButton(QStringLiteral("削除(&D)"));
    fDelete->setObjectName("deleteSheet");
    fDelete->setAutoDefault(false);
    fDelete->setToolTip(QStringLiteral("追加した用紙だけを削除できます。"));

    fPreview = new TSheetPreview;
    fPreview->setObjectName("preview");
    fDetails = new QLabel;
    fDetails->setObjectName("details");
    fDetails->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = TDialogFrame::OkCancel(this, QStringLiteral("OK"));
    fOk = buttons->button(QDialogButtonBox::Ok);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(fAdd);
    listButtons->addWidget(fDelete);
    listButtons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(fList, 1);
    left->addLayout(listButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(fPreview, 1);
    right->addWidget(fDetails);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fMessage);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    setTabOrder(fList, fAdd);
    setTabOrder(fAdd, fDelete);

    connect(fList, &QListWidget::currentRowChanged, this, [this] { SelectionChanged(); });
    connect(fList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(fAdd, &QPushButton::clicked, this, [this] { AddSheet(); });
    connect(fDelete, &QPushButton::clicked, this, [this] { DeleteSheet(); });

    int select = 0;
    if (valueA >= 1 && valueA <= fSheets.size() && NameKey(fSheets[valueA - 1].Name) == valueB) {
        select = valueA - 1;
    } else {
        for (int i = 0; i < fSheets.size(); ++i)
            if (NameKey(fSheets[i].Name) == valueB) {
                select = i;
                break;
            }
    }
    FillList(select);
    fList->setFocus();
}

int TPrintPaperDialog::ChosenIndex() const {
    const int row = fList->currentRow();
    return row >= 0 && row < fSheets.size() ? row : -1;
}

void TPrintPaperDialog::FillList(int select) {
    fList->clear();
    for (const TCardSheet& s : fSheets) {
        auto* item = new QListWidgetItem(s.UserAdded ? s.Name + QStringLiteral("　［追加した用紙］") : s.Name);
        fList->addItem(item);
    }
    if (!fSheets.isEmpty()) fList->setCurrentRow(std::clamp(select, 0, int(fSheets.size()) - 1));
    SelectionChanged();
}

void TPrintPaperDialog::SelectionChanged() {
    const int index = ChosenIndex();
    // A sheet stored before the seat limit may hold more seats than a document can print.
    const QString problem = index >= 0 ? fSheets[index].DocumentProblem() : QString();
    fOk->setEnabled(index >= 0 && problem.isEmpty());
    fDelete->setEnabled(index >= 0 && fSheets[index].UserAdded);
    if (index < 0) {
        fPreview->Clear();
        fDetails->setText(fLoaded ? QStringLiteral("用紙を選んでください。") : QString());
        return;
    }
    fPreview->SetSheet(fSheets[index], fPortrait == 0);
    fDetails->setText(problem.isEmpty() ? Details(fSheets[index])
                                        : Details(fSheets[index]) + QLatin1Char('\n') + problem);
}

bool TPrintPaperDialog::Save(const QList<TCardSheet>& sheets) {
    // A damaged file is kept aside before its place is taken by the new list.
    const QFileInfo target(fUserCopy);
    if (target.exists() && !target.isFile()) {
        // A pipe or a device there would hang the copy and the save.
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("%1 はファイルではないため、保存しませんでした。").arg(target.fileName()));
        return false;
    }
    if (!fLoaded && target.exists()) {
        // An earlier backup is never replaced: each damage keeps its own.
        QString backup = fUserCopy + QStringLiteral(".bak");
        for (int n = 2; QFileInfo::exists(backup) && n < 1000; ++n)
            backup = fUserCopy + QStringLiteral(".bak%1").arg(n);
        if (QFileInfo::exists(backup) || !QFile::copy(fUserCopy, backup)) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("壊れた用紙データを %1 に残せないため、保存しませんでした。")
                                     .arg(QFileInfo(backup).fileName()));
            return false;
        }
    }
    QString error;
    if (!TCardData::SaveToFile(fUserCopy, sheets, &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return false;
    }
    fLoaded = true;
    fMessage->hide();
    return true;
}

void TPrintPaperDialog::AddSheet() {
    const int index = ChosenIndex();
    TCardSheet start;
    if (index >= 0) {
        start = fSheets[index];
    } else {
        start.SheetWidth = start.SeatWidth = start.PitchX = 2100;
        start.SheetHeight = start.SeatHeight = start.PitchY = 2970;
    }
    start.Name.clear();
    QStringList names;
    for (const TCardSheet& s : fSheets)
        names << s.Name;
    TSheetEditDialog dialog(start, names, this);
    if (dialog.exec() != QDialog::Accepted) return;

    QList<TCardSheet> next = fSheets;
    next.append(dialog.Sheet());
    if (!Save(next)) {
        // Still usable for this print; it is just not remembered.
        QMessageBox::information(this, windowTitle(), QStringLiteral("この用紙は今回の印刷だけに使えます。"));
    }
    fSheets = next;
    FillList(int(fSheets.size()) - 1);
}

void TPrintPaperDialog::DeleteSheet() {
    const int index = ChosenIndex();
    if (index < 0 || !fSheets[index].UserAdded) return;
    if (QMessageBox::question(this, windowTitle(),
                              QStringLiteral("「%1」を一覧から削除しますか？").arg(fSheets[index].Name)) !=
        QMessageBox::Yes)
        return;
    QList<TCardSheet> next = fSheets;
    next.removeAt(index);
    if (!Save(next)) return;
    fSheets = next;
    FillList(index);
}
