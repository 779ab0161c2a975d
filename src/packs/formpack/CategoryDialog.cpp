#include "CategoryDialog.h"

#include "merge/FieldSon.h"
#include "merge/FieldUnit.h"
#include "merge/PriField.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Counter fields are recognised by name; their number points at no column.
constexpr int kNoColumn = 9999;
constexpr int kMaxColumn = 9998;

QLabel* Note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return label;
}

} // namespace

QList<QPair<int, QString>> TCategoryDialog::ColumnNames(const TFieldSon& son) {
    QList<QPair<int, QString>> columns;
    const QStringList& lines = son.Lines();
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty()) continue;
        const qsizetype sep = line.indexOf(QRegularExpression(QStringLiteral("[,\t]")));
        bool numbered = false;
        const int number = sep > 0 ? line.left(sep).trimmed().toInt(&numbered) : 0;
        if (numbered && number >= 0 && number <= kMaxColumn)
            columns.append({number, line.mid(sep + 1).trimmed()});
        else
            columns.append({i, line});
    }
    return columns;
}

TCategoryDialog::TCategoryDialog(const QString& caption, const TFieldUnit& fields, int category, const QString& name,
                                 QWidget* parent)
    : QDialog(parent), fFields(fields), fKind(new QComboBox(this)), fPages(new QStackedWidget(this)),
      fDefinition(new QComboBox(this)), fColumns(new QListWidget(this)), fColumn(new QSpinBox(this)),
      fName(new QLineEdit(this)), fMonth(new QSpinBox(this)) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral("フィールド") : caption);
    auto* layout = new QVBoxLayout(this);
    auto* kindRow = new QFormLayout;
    fKind->addItems({QStringLiteral("レコードの項目"), TPriField::kCurrentRecordName, TPriField::kTotalRecordName,
                     QStringLiteral("開始年"), QStringLiteral("月の見出し（月）"), QStringLiteral("月の見出し（年）")});
    kindRow->addRow(QStringLiteral("種類(&K):"), fKind);
    layout->addLayout(kindRow);

    // Record column: a definition file's names to pick from, or a number and a name of one's own.
    auto* columnPage = new QWidget(fPages);
    auto* columnForm = new QFormLayout(columnPage);
    columnForm->setContentsMargins(0, 0, 0, 0);
    if (fields.Count() == 0)
        fDefinition->addItem(QStringLiteral("（fieldfile フォルダに定義ファイルがありません）"));
    else
        for (int i = 0; i < fields.Count(); ++i)
            fDefinition->addItem(fields.Names().at(i), i);
    // Folder listings come in no useful order; names in code point order are at least stable.
    fDefinition->model()->sort(0);
    fDefinition->setEnabled(fields.Count() > 0);
    columnForm->addRow(QStringLiteral("項目定義(&F):"), fDefinition);
    fColumns->setMinimumHeight(140);
    columnForm->addRow(QStringLiteral("項目(&L):"), fColumns);
    fColumn->setRange(0, kMaxColumn);
    columnForm->addRow(QStringLiteral("列番号(&N):"), fColumn);
    columnForm->addRow(QStringLiteral("名前(&A):"), fName);
    columnForm->addRow(Note(QStringLiteral("列番号 0 はキー（各行の最初の値）です。"), columnPage));
    fPages->addWidget(columnPage);

    fPages->addWidget(Note(QStringLiteral("印刷中のレコードやページの番号を印刷します。"), fPages));
    fPages->addWidget(Note(QStringLiteral("印刷するレコードやページの数を印刷します。"), fPages));
    fPages->addWidget(Note(QStringLiteral("テンプレートを開くときに選んだ開始年を印刷します。"), fPages));
    auto* monthPage = new QWidget(fPages);
    auto* monthForm = new QFormLayout(monthPage);
    monthForm->setContentsMargins(0, 0, 0, 0);
    fMonth->setRange(1, 12);
    fMonth->setSuffix(QStringLiteral(" か月目"));
    monthForm->addRow(QStringLiteral("開始月から(&S):"), fMonth);
    monthForm->addRow(Note(QStringLiteral("テンプレートを開くときに選んだ開始月から数えた月の、"
                                          "「月の見出し（月）」は月を、「月の見出し（年）」はその月の年を印刷します。"),
                           monthPage));
    fPages->addWidget(monthPage);
    layout->addWidget(fPages, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    fOk = buttons->button(QDialogButtonBox::Ok);
    fOk->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(fKind, &QComboBox::currentIndexChanged, this, [this](int index) {
        fPages->setCurrentIndex(index);
        UpdateOk();
    });
    connect(fDefinition, &QComboBox::currentIndexChanged, this,
            [this] { ShowDefinition(fDefinition->currentData().isValid() ? fDefinition->currentData().toInt() : -1); });
    connect(fColumns, &QListWidget::currentRowChanged, this, [this](int row) {
        QListWidgetItem* item = fColumns->item(row);
        if (item == nullptr) return;
        fColumn->setValue(item->data(Qt::UserRole).toInt());
        fName->setText(item->data(Qt::UserRole + 1).toString());
    });
    connect(fName, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    fDefinition->setCurrentIndex(0);
    ShowDefinition(fDefinition->currentData().isValid() ? fDefinition->currentData().toInt() : -1);

    // Start from what the field holds now; a new field (-1) starts at the first column after the key.
    int kind = ckColumn;
    if (name == TPriField::kCurrentRecordName)
        kind = ckCurrentRecord;
    else if (name == TPriField::kTotalRecordName)
        kind = ckTotalRecord;
    else if (category == TPriField::kYearCategory)
        kind = ckYear;
    else if (category == TPriField::kMonthTitleCategory || category == TPriField::kMonthTitleYearCategory) {
        kind = category == TPriField::kMonthTitleCategory ? ckMonthTitle : ckMonthTitleYear;
        fMonth->setValue(std::clamp(name.trimmed().toInt(), 1, 12));
    } else if (category >= 0 && category <= kMaxColumn) {
        fColumn->setValue(category);
        fName->setText(name);
        SelectOwnItem(category, name);
    } else {
        fColumn->setValue(1);
        if (fColumns->count() > 1) fColumns->setCurrentRow(1);
    }
    fKind->setCurrentIndex(kind);
    fPages->setCurrentIndex(kind);

    setTabOrder(fKind, fDefinition);
    setTabOrder(fDefinition, fColumns);
    setTabOrder(fColumns, fColumn);
    setTabOrder(fColumn, fName);
    setTabOrder(fName, fMonth);
    fKind->setFocus();
    UpdateOk();
    setMinimumWidth(440);
}

void TCategoryDialog::ShowDefinition(int index) {
    fColumns->clear();
    if (index < 0 || index >= fFields.Count()) return;
    for (const auto& [number, columnName] : ColumnNames(*fFields.Son(index))) {
        auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(number).arg(columnName), fColumns);
        item->setData(Qt::UserRole, number);
        item->setData(Qt::UserRole + 1, columnName);
    }
}

void TCategoryDialog::SelectOwnItem(int category, const QString& name) {
    // The line with the field's number and name, else the first line of its number.
    int foundDefinition = -1, foundRow = -1;
    QString lineName;
    bool exact = false;
    for (int d = 0; d < fDefinition->count() && !exact; ++d) {
        const QVariant index = fDefinition->itemData(d);
        if (!index.isValid()) continue;
        const QList<QPair<int, QString>> columns = ColumnNames(*fFields.Son(index.toInt()));
        for (int row = 0; row < columns.size() && !exact; ++row) {
            if (columns[row].first != category) continue;
            exact = !name.isEmpty() && columns[row].second == name;
            if (foundDefinition >= 0 && !exact) continue;
            foundDefinition = d, foundRow = row;
            lineName = columns[row].second;
        }
    }
    if (foundDefinition < 0) return;
    fDefinition->setCurrentIndex(foundDefinition);
    {
        // A name of the field's own stays; the line only shows where its column comes from.
        QSignalBlocker keepName(fColumns);
        fColumns->setCurrentRow(foundRow);
    }
    if (name.isEmpty()) fName->setText(lineName);
}

void TCategoryDialog::UpdateOk() {
    // A record column needs a name: the layout shows it in place of the value.
    fOk->setEnabled(fKind->currentIndex() != ckColumn || !fName->text().trimmed().isEmpty());
}

int TCategoryDialog::Category() const {
    switch (fKind->currentIndex()) {
    case ckColumn: return fColumn->value();
    case ckYear: return TPriField::kYearCategory;
    case ckMonthTitle: return TPriField::kMonthTitleCategory;
    case ckMonthTitleYear: return TPriField::kMonthTitleYearCategory;
    default: return kNoColumn;
    }
}

QString TCategoryDialog::Name() const {
    switch (fKind->currentIndex()) {
    case ckColumn: return fName->text().trimmed();
    case ckCurrentRecord: return TPriField::kCurrentRecordName;
    case ckTotalRecord: return TPriField::kTotalRecordName;
    // Re-dated to the chosen year when a template opens; until then this year stands in.
    case ckYear: return QString::number(QDate::currentDate().year());
    default: return QString::number(fMonth->value());
    }
}
