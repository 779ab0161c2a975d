#include "CategoryDialog.h"

#include "BarcodeOptions.h"

#include "merge/FieldSon.h"
#include "merge/FieldUnit.h"
#include "merge/PriField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
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

// The category of each kind that prints a month title, else 0.
int MonthTitleCategory(int kind) {
    switch (kind) {
    case TCategoryDialog::ckMonthTitle: return TPriField::kMonthTitleCategory;
    case TCategoryDialog::ckMonthTitleYear: return TPriField::kMonthTitleYearCategory;
    case TCategoryDialog::ckEraYear: return TPriField::kEraYearCategory;
    case TCategoryDialog::ckKanshi: return TPriField::kKanshiCategory;
    case TCategoryDialog::ckKanshiAnimal: return TPriField::kKanshiAnimalCategory;
    default: return 0;
    }
}

// The kind that prints the month-title category, -1 for none.
int MonthTitleKind(int category) {
    for (int kind = 0; kind < TCategoryDialog::ckKindCount; ++kind)
        if (MonthTitleCategory(kind) == category) return kind;
    return -1;
}

// The month-title kinds share one page.
int PageOf(int kind) {
    if (MonthTitleCategory(kind) != 0) return TCategoryDialog::ckMonthTitle;
    return kind == TCategoryDialog::ckSender ? TCategoryDialog::ckMonthTitle + 1 : kind;
}

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
                     QStringLiteral("開始年"), QStringLiteral("月の見出し（月）"), QStringLiteral("月の見出し（年）"),
                     QStringLiteral("差出人"), QStringLiteral("月の見出し（和暦）"),
                     QStringLiteral("月の見出し（干支）"), QStringLiteral("月の見出し（干支と動物）")});
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
    fSample = new QLabel(monthPage);
    monthForm->addRow(QStringLiteral("見本:"), fSample);
    monthForm->addRow(Note(QStringLiteral("テンプレートを開くときに選んだ開始月から数えた月について、その月・年・"
                                          "和暦の年・年の干支を印刷します。見本は今月から数えたものです。"),
                           monthPage));
    fPages->addWidget(monthPage);
    auto* senderPage = new QWidget(fPages);
    auto* senderForm = new QFormLayout(senderPage);
    senderForm->setContentsMargins(0, 0, 0, 0);
    fSender = new QComboBox(senderPage);
    for (int i = 1; i <= 4; ++i)
        fSender->addItem(SenderItemName(TObjectExtras::TSenderItem(i)));
    senderForm->addRow(QStringLiteral("項目(&I):"), fSender);
    senderForm->addRow(Note(QStringLiteral("設定ダイアログの「差出人」に入力した内容を印刷します。"), senderPage));
    fPages->addWidget(senderPage);
    layout->addWidget(fPages, 1);
    layout->addWidget(MakeOptions());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    fOk = buttons->button(QDialogButtonBox::Ok);
    fOk->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(fKind, &QComboBox::currentIndexChanged, this, [this](int index) {
        fPages->setCurrentIndex(PageOf(index));
        UpdateOk();
        UpdateSample();
        SenderPostalDefault();
    });
    connect(fMonth, &QSpinBox::valueChanged, this, [this] { UpdateSample(); });
    connect(fSender, &QComboBox::currentIndexChanged, this, [this] { SenderPostalDefault(); });
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
    else if (category < 0 && MonthTitleKind(category) >= 0) {
        kind = MonthTitleKind(category);
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
    fPages->setCurrentIndex(PageOf(kind));

    setTabOrder(fKind, fDefinition);
    setTabOrder(fDefinition, fColumns);
    setTabOrder(fColumns, fColumn);
    setTabOrder(fColumn, fName);
    setTabOrder(fName, fMonth);
    setTabOrder(fMonth, fSender);
    setTabOrder(fSender, fPostal);
    setTabOrder(fPostal, fPrintBoxes);
    setTabOrder(fPrintBoxes, fNameBlock);
    for (int i = 0; i < kNameParts; ++i)
        setTabOrder(i ? fNameParts[i - 1] : static_cast<QWidget*>(fNameBlock), fNameParts[i]);
    setTabOrder(fNameParts[kNameParts - 1], fBarcode);
    fKind->setFocus();
    UpdateOk();
    UpdateSample();
    UpdateOptions();
    setMinimumWidth(440);
}

void TCategoryDialog::ShowDefinition(int index) {
    fColumns->clear();
    if (index >= 0 && index < fFields.Count())
        for (const auto& [number, columnName] : ColumnNames(*fFields.Son(index))) {
            auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(number).arg(columnName), fColumns);
            item->setData(Qt::UserRole, number);
            item->setData(Qt::UserRole + 1, columnName);
        }
    FillNameParts();
}

QWidget* TCategoryDialog::MakeOptions() {
    auto* options = new QWidget(this);
    auto* columns = new QHBoxLayout(options);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout, 1);

    fPostalGroup = new QGroupBox(QStringLiteral("郵便番号"), options);
    auto* postalForm = new QFormLayout(fPostalGroup);
    fPostal = new QComboBox(fPostalGroup);
    fPostal->addItems({QStringLiteral("なし"), QStringLiteral("はがきの7つの枠"), QStringLiteral("7桁を等間隔")});
    postalForm->addRow(QStringLiteral("郵便番号の枠(&Z):"), fPostal);
    fPrintBoxes = new QCheckBox(QStringLiteral("枠も印刷する（赤）(&R)"), fPostalGroup);
    postalForm->addRow(fPrintBoxes);
    connect(fPostal, &QComboBox::currentIndexChanged, this, [this] { UpdateOptions(); });
    layout->addWidget(fPostalGroup);

    fNameGroup = new QGroupBox(QStringLiteral("氏名"), options);
    auto* nameGrid = new QGridLayout(fNameGroup);
    fNameBlock = new QCheckBox(QStringLiteral("氏名として並べる(&B)"), fNameGroup);
    nameGrid->addWidget(fNameBlock, 0, 0, 1, 4);
    const QString parts[kNameParts] = {QStringLiteral("名:"), QStringLiteral("連名1:"), QStringLiteral("連名2:"),
                                       QStringLiteral("敬称:")};
    for (int i = 0; i < kNameParts; ++i) {
        fNameParts[i] = new QComboBox(fNameGroup);
        auto* label = new QLabel(parts[i], fNameGroup);
        label->setBuddy(fNameParts[i]);
        nameGrid->addWidget(label, 1 + i / 2, (i % 2) * 2);
        nameGrid->addWidget(fNameParts[i], 1 + i / 2, (i % 2) * 2 + 1);
    }
    nameGrid->setColumnStretch(1, 1);
    nameGrid->setColumnStretch(3, 1);
    nameGrid->addWidget(Note(QStringLiteral("この項目を姓として並べます。敬称が空なら「様」です。"), fNameGroup), 3, 0,
                        1, 4);
    connect(fNameBlock, &QCheckBox::toggled, this, [this] { UpdateOptions(); });
    layout->addWidget(fNameGroup);
    layout->addStretch(1);
    fBarcode = new TBarcodeOptions(options);
    fBarcode->SetChanged([this] { UpdateOk(); });
    connect(fBarcode, &QGroupBox::toggled, this, [this] { UpdateOptions(); });
    columns->addWidget(fBarcode, 1);
    FillNameParts();
    return options;
}

void TCategoryDialog::FillNameParts() {
    if (!fNameParts[0]) return;
    QList<QPair<int, QString>> listed;
    for (int row = 0; row < fColumns->count(); ++row)
        listed.append({fColumns->item(row)->data(Qt::UserRole).toInt(), fColumns->item(row)->text()});
    fBarcode->SetColumns(listed);
    for (QComboBox* box : fNameParts) {
        const QVariant kept = box->currentData();
        QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("（なし）"), -1);
        for (int row = 0; row < fColumns->count(); ++row) {
            const QListWidgetItem* item = fColumns->item(row);
            box->addItem(item->text(), item->data(Qt::UserRole).toInt());
        }
        const int at = kept.isValid() ? box->findData(kept) : 0;
        box->setCurrentIndex(std::max(0, at));
    }
}

// The sender's postal code is usually printed at equal pitch, not in the recipient's boxes.
void TCategoryDialog::SenderPostalDefault() {
    if (fKind->currentIndex() == ckSender && fSender->currentIndex() == 0 && fPostal->currentIndex() == 0)
        fPostal->setCurrentIndex(int(TObjectExtras::TPostalLayout::EvenPitch));
    UpdateOptions();
}

void TCategoryDialog::UpdateOptions() {
    const int kind = fKind->currentIndex();
    const bool senderPostal = kind == ckSender && fSender->currentIndex() == 0;
    // A column drawn as a barcode has no text to lay out.
    const bool text = kind == ckColumn && !fBarcode->isChecked();
    fPostalGroup->setEnabled(text || senderPostal);
    fPrintBoxes->setEnabled(fPostal->currentIndex() == int(TObjectExtras::TPostalLayout::Boxes));
    fNameGroup->setEnabled(text);
    fBarcode->setEnabled(kind == ckColumn);
    for (QComboBox* box : fNameParts)
        box->setEnabled(fNameBlock->isChecked());
}

QString TCategoryDialog::SenderItemName(TObjectExtras::TSenderItem item) {
    switch (item) {
    case TObjectExtras::TSenderItem::PostalCode: return QStringLiteral("郵便番号");
    case TObjectExtras::TSenderItem::Address1: return QStringLiteral("住所1");
    case TObjectExtras::TSenderItem::Address2: return QStringLiteral("住所2");
    case TObjectExtras::TSenderItem::Name: return QStringLiteral("氏名");
    case TObjectExtras::TSenderItem::None: break;
    }
    return {};
}

void TCategoryDialog::SetExtras(const TObjectExtras& extras) {
    fExtras = extras;
    if (extras.SenderItem != TObjectExtras::TSenderItem::None) {
        fSender->setCurrentIndex(int(extras.SenderItem) - 1);
        fKind->setCurrentIndex(ckSender);
    }
    fPostal->setCurrentIndex(int(extras.PostalLayout));
    fPrintBoxes->setChecked(extras.PrintPostalBoxes);
    fNameBlock->setChecked(extras.NameBlock);
    const int32_t chosen[kNameParts] = {extras.GivenCategory, extras.Joint1Category, extras.Joint2Category,
                                        extras.HonorificCategory};
    for (int i = 0; i < kNameParts; ++i) {
        QComboBox* box = fNameParts[i];
        // A column the definitions on show do not name is still offered, by number.
        if (box->findData(chosen[i]) < 0) box->addItem(QStringLiteral("%1").arg(chosen[i]), chosen[i]);
        box->setCurrentIndex(box->findData(chosen[i]));
    }
    UpdateOptions();
}

TObjectExtras TCategoryDialog::Extras() const {
    using T = TObjectExtras;
    T e = fExtras;
    const int kind = fKind->currentIndex();
    e.SenderItem = kind == ckSender ? T::TSenderItem(fSender->currentIndex() + 1) : T::TSenderItem::None;
    const bool postal = kind == ckColumn || e.SenderItem == T::TSenderItem::PostalCode;
    e.PostalLayout = postal ? T::TPostalLayout(std::clamp(fPostal->currentIndex(), 0, 2)) : T::TPostalLayout::None;
    e.PrintPostalBoxes = e.PostalLayout == T::TPostalLayout::Boxes && fPrintBoxes->isChecked();
    e.NameBlock = kind == ckColumn && fNameBlock->isChecked();
    int32_t* parts[kNameParts] = {&e.GivenCategory, &e.Joint1Category, &e.Joint2Category, &e.HonorificCategory};
    for (int i = 0; i < kNameParts; ++i)
        *parts[i] = e.NameBlock && fNameParts[i]->currentData().isValid() ? fNameParts[i]->currentData().toInt() : -1;
    if (FieldState() == fsBarcode) {
        fBarcode->ApplyTo(e);
        // A barcode is drawn as bars: the text layouts do not apply to it.
        e.NameBlock = false;
        e.PostalLayout = T::TPostalLayout::None;
        e.PrintPostalBoxes = false;
    } else {
        // Only a barcode field keeps a kind of its own.
        const T plain;
        e.BarcodeKind = plain.BarcodeKind;
        e.BarcodeCheck = plain.BarcodeCheck;
        e.BarcodeText = plain.BarcodeText;
        e.BarcodeAddress1Category = plain.BarcodeAddress1Category;
        e.BarcodeAddress2Category = plain.BarcodeAddress2Category;
    }
    return e;
}

void TCategoryDialog::SetFieldState(int state) {
    fBarcode->SetField(state, fExtras);
    UpdateOptions();
    UpdateOk();
}

int TCategoryDialog::FieldState() const {
    // Only a record column prints as a barcode.
    const int state = fBarcode->FieldState();
    return state == fsBarcode && fKind->currentIndex() != ckColumn ? fsText : state;
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
    if (!fOk) return;
    const bool column = fKind->currentIndex() == ckColumn;
    fOk->setEnabled(!column || (!fName->text().trimmed().isEmpty() && fBarcode->Acceptable()));
}

void TCategoryDialog::UpdateSample() {
    const int kind = fKind->currentIndex();
    const int category = MonthTitleCategory(kind);
    if (category == 0) return;
    const QDate today = QDate::currentDate();
    const int m = today.month() + fMonth->value() - 1;
    fSample->setText(TPriField::MonthTitleText(category, today.year() + (m - 1) / 12, (m - 1) % 12 + 1));
}

int TCategoryDialog::Category() const {
    const int kind = fKind->currentIndex();
    if (kind == ckColumn) return fColumn->value();
    if (kind == ckYear) return TPriField::kYearCategory;
    return MonthTitleCategory(kind) != 0 ? MonthTitleCategory(kind) : kNoColumn;
}

QString TCategoryDialog::Name() const {
    switch (fKind->currentIndex()) {
    case ckColumn: return fName->text().trimmed();
    case ckCurrentRecord: return TPriField::kCurrentRecordName;
    case ckTotalRecord: return TPriField::kTotalRecordName;
    // Re-dated to the chosen year when a template opens; until then this year stands in.
    case ckYear: return QString::number(QDate::currentDate().year());
    // Replaced by the sender's value when the field shows it.
    case ckSender: return SenderItemName(TObjectExtras::TSenderItem(fSender->currentIndex() + 1));
    default: return QString::number(fMonth->value());
    }
}
