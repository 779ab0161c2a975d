#include "app/dialogs/FamilyDaysDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum TColumn { kDate, kName };

QString Cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}
} // namespace

TFamilyDaysDlg::TFamilyDaysDlg(const QString& file, QWidget* parent)
    : QDialog(parent), fFile(file), fTable(new QTableWidget(0, 2, this)), fError(new QLabel(this)) {
    setWindowTitle(QStringLiteral("記念日の設定"));
    auto* layout = new QVBoxLayout(this);

    QStringList problems;
    fDays.Load(file, &problems);
    if (!problems.isEmpty()) {
        auto* note = new QLabel(QStringLiteral("読めなかった行を表の末尾に入れました。直すか削除してください。\n") +
                                    problems.join(QLatin1Char('\n')),
                                this);
        note->setWordWrap(true);
        note->setStyleSheet(QStringLiteral("color: #a03000;"));
        layout->addWidget(note);
    }

    fTable->setHorizontalHeaderLabels({QStringLiteral("日付"), QStringLiteral("名前")});
    fTable->horizontalHeader()->setStretchLastSection(true);
    fTable->verticalHeader()->setVisible(false);
    fTable->setColumnWidth(kDate, 110);
    fTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    fTable->setTabKeyNavigation(false);
    for (const TFamilyDays::TEntry& e : fDays.Entries())
        AddRow(TFamilyDays::DateText(e), e.Name);
    for (const QString& line : fDays.SkippedLines()) {
        const qsizetype sep = line.indexOf(QRegularExpression(QStringLiteral("[ \\t\\x{3000}]")));
        AddRow(sep < 0 ? line : line.left(sep), sep < 0 ? QString() : line.mid(sep + 1).trimmed());
    }
    layout->addWidget(fTable, 1);

    auto* hint =
        new QLabel(QStringLiteral("日付は 05/03（毎年）か 2019/05/03（年数も数えるとき）の形で入力します。"), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    fError->setStyleSheet(QStringLiteral("color: #c00000;"));
    fError->setWordWrap(true);
    fError->hide();
    layout->addWidget(fError);

    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("追加(&A)"), this);
    auto* remove = new QPushButton(QStringLiteral("削除(&D)"), this);
    for (QPushButton* b : {add, remove})
        b->setAutoDefault(false);
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    row->addWidget(buttons);
    layout->addLayout(row);

    connect(add, &QPushButton::clicked, this, [this] {
        AddRow(QString(), QString());
        fTable->setCurrentCell(fTable->rowCount() - 1, kDate);
        fTable->editItem(fTable->item(fTable->rowCount() - 1, kDate));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int current = fTable->currentRow();
        if (current >= 0) fTable->removeRow(current);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    setTabOrder(fTable, add);
    setTabOrder(add, remove);
    setTabOrder(remove, ok);
    setTabOrder(ok, buttons->button(QDialogButtonBox::Cancel));
    fTable->setFocus();
    resize(440, 380);
}

void TFamilyDaysDlg::AddRow(const QString& date, const QString& name) {
    const int row = fTable->rowCount();
    fTable->insertRow(row);
    fTable->setItem(row, kDate, new QTableWidgetItem(date));
    fTable->setItem(row, kName, new QTableWidgetItem(name));
}

void TFamilyDaysDlg::Fail(const QString& text, int row, int column) {
    fError->setText(text);
    fError->show();
    if (row >= 0) fTable->setCurrentCell(row, column);
    fTable->setFocus();
}

bool TFamilyDaysDlg::Apply() {
    std::vector<TFamilyDays::TEntry> entries;
    for (int row = 0; row < fTable->rowCount(); ++row) {
        const QString date = Cell(fTable, row, kDate);
        TFamilyDays::TEntry e;
        e.Name = Cell(fTable, row, kName);
        // A row left empty is no entry, not a mistake.
        if (date.isEmpty() && e.Name.isEmpty()) continue;
        QString reason;
        if (!TFamilyDays::ParseDate(date, &e, &reason)) {
            Fail(QStringLiteral("%1行目: %2").arg(row + 1).arg(reason), row, kDate);
            return false;
        }
        if (e.Name.isEmpty() || e.Name.size() > TFamilyDays::kMaxNameChars) {
            Fail(QStringLiteral("%1行目: %2")
                     .arg(row + 1)
                     .arg(e.Name.isEmpty() ? QStringLiteral("名前を入力してください")
                                           : QStringLiteral("名前が長すぎます")),
                 row, kName);
            return false;
        }
        entries.push_back(e);
    }
    TFamilyDays days;
    days.SetEntries(std::move(entries));
    QString error;
    if (!days.Save(fFile, &error)) {
        Fail(QStringLiteral("保存できませんでした。%1").arg(error), -1, kDate);
        return false;
    }
    fDays = days;
    TFamilyDays::SetCurrent(std::make_shared<const TFamilyDays>(days));
    return true;
}

void TFamilyDaysDlg::accept() {
    // A cell still being typed in counts.
    if (fTable->isAncestorOf(QApplication::focusWidget())) fTable->setFocus();
    if (Apply()) QDialog::accept();
}
