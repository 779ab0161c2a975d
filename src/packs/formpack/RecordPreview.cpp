#include "RecordPreview.h"

#include "RecordTableModel.h"

#include "merge/RecordUnit.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

TRecordPreview::TRecordPreview(const TRecordUnit& records, const TFieldUnit& fields, QWidget* parent)
    : QWidget(parent), fRecords(records), fFields(fields), fSummary(new QLabel(this)), fTable(new QTableView(this)),
      fModel(new TRecordTableModel(this)) {
    auto* layout = new QVBoxLayout(this);
    fSummary->setObjectName(QStringLiteral("recordSummary"));
    fSummary->setWordWrap(true);
    fSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(fSummary);
    fTable->setModel(fModel);
    fTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    fTable->setWordWrap(false);
    fTable->setAlternatingRowColors(true);
    // Fixed row heights: measuring a hundred thousand rows would stall the opening.
    fTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fTable->verticalHeader()->setDefaultSectionSize(fTable->fontMetrics().height() + 6);
    fTable->horizontalHeader()->setResizeContentsPrecision(200);
    layout->addWidget(fTable, 1);
    layout->addStretch(0);
}

void TRecordPreview::ShowFile(const QString& name) {
    const TRecordFile* file = name.isEmpty() ? nullptr : fRecords.LoadedFile(name);
    fModel->SetFile(file, file ? TRecordTableModel::HeadsFor(fFields, name) : QStringList());
    fTable->setVisible(file != nullptr);
    if (name.isEmpty()) {
        fSummary->setText(QStringLiteral("ファイルを選んでいません。"));
    } else if (!file) {
        const QString reason = fRecords.ErrorOf(name);
        fSummary->setText(reason.isEmpty() ? QStringLiteral("「%1」は recordfile フォルダにありません。").arg(name)
                                           : QStringLiteral("読み込めません：%1").arg(reason));
    } else {
        const int rows = fModel->rowCount();
        fSummary->setText(rows == file->Count() ? QStringLiteral("%1 件").arg(file->Count())
                                                : QStringLiteral("%1 件（%2 行）").arg(file->Count()).arg(rows));
        fTable->scrollToTop();
        fTable->resizeColumnsToContents();
        // A long address must not push the other columns out of sight.
        for (int c = 0; c < fModel->columnCount(); ++c)
            fTable->setColumnWidth(c, std::min(fTable->columnWidth(c), 240));
    }
}
