#include "BarcodeOptions.h"

#include "merge/BarcodeValue.h"
#include "merge/PriBarcode.h"
#include "merge/PriField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace {

constexpr QSize kPicture(300, 130);

// The sample as it prints: bars in a white box the size of the picture.
QImage SampleImage(const TBarcodeValue& value, QString& refusal) {
    QImage image(kPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    refusal = value.Refusal();
    if (!refusal.isEmpty()) return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF box = QRectF(image.rect()).adjusted(6, 6, -6, -6);
    if (value.ByLibzint()) {
        value.Symbol().Draw(p, box);
        return image;
    }
    TPriBarcode barcode = value.Linear(150);
    const QSize size = barcode.SymbolSize();
    if (size.isEmpty()) return image;
    const double scale = std::min(box.width() / size.width(), box.height() / size.height());
    p.translate(box.center().x() - size.width() * scale / 2, box.center().y() - size.height() * scale / 2);
    p.scale(scale, scale);
    barcode.Paint(p);
    return image;
}

} // namespace

TBarcodeOptions::TBarcodeOptions(QWidget* parent)
    : QGroupBox(QStringLiteral("バーコードで印刷する(&B)"), parent), fKind(new QComboBox(this)),
      fCheck(new QCheckBox(QStringLiteral("チェック文字を付ける(&C)"), this)),
      fText(new QCheckBox(QStringLiteral("数字を下に印刷する(&T)"), this)), fAddress{new QComboBox(this),
                                                                                     new QComboBox(this)},
      fSample(new QLineEdit(this)), fPicture(new QLabel(this)), fMessage(new QLabel(this)) {
    setCheckable(true);
    setChecked(false);
    fKind->addItem(QStringLiteral("レコードの値で指定（データ 種類 チェック 数字）"));
    for (int k = 0; k < TBarcodeValue::kKinds; ++k)
        fKind->addItem(QStringLiteral("%1: %2").arg(k).arg(TBarcodeValue::KindName(k)));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("種類(&Y):"), fKind);
    auto* flags = new QHBoxLayout;
    flags->addWidget(fCheck);
    flags->addWidget(fText);
    flags->addStretch(1);
    form->addRow(flags);
    auto* address = new QHBoxLayout;
    for (QComboBox* box : fAddress) {
        box->setAccessibleName(box == fAddress[0] ? QStringLiteral("住所の項目1") : QStringLiteral("住所の項目2"));
        address->addWidget(box, 1);
    }
    auto* addressLabel = new QLabel(QStringLiteral("住所の項目(&D):"), this);
    addressLabel->setBuddy(fAddress[0]);
    form->addRow(addressLabel, address);
    fSample->setAccessibleName(QStringLiteral("見本のデータ"));
    form->addRow(QStringLiteral("見本(&E):"), fSample);
    fPicture->setFixedSize(kPicture);
    fPicture->setFrameShape(QFrame::StyledPanel);
    fPicture->setAlignment(Qt::AlignCenter);
    form->addRow(QString(), fPicture);
    fMessage->setWordWrap(true);
    fMessage->setStyleSheet(QStringLiteral("color: #b00020;"));
    form->addRow(QString(), fMessage);
    SetColumns({});

    connect(fKind, &QComboBox::currentIndexChanged, this, [this] { KindChanged(); });
    connect(fCheck, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(fText, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(fSample, &QLineEdit::textChanged, this, [this] { Redraw(); });
    connect(this, &QGroupBox::toggled, this, [this] { Redraw(); });
    KindChanged();
}

int TBarcodeOptions::Kind() const {
    return fKind->currentIndex() - 1;
}

void TBarcodeOptions::KindChanged() {
    const int kind = Kind();
    const bool own = kind >= 0;
    // The old kinds' flags mean what they say; the newer ones always carry their check.
    fCheck->setEnabled(own && kind < TBarcodeValue::bkCode128);
    fText->setEnabled(own && (kind < TBarcodeValue::bkQr));
    for (QComboBox* box : fAddress)
        box->setEnabled(kind == TBarcodeValue::bkCustomer);
    QSignalBlocker quiet(fSample);
    fSample->setText(own ? TBarcodeValue::SampleData(kind) : QStringLiteral("https://example.jp/ 5 0 0"));
    fSample->setCursorPosition(0);
    fSample->setToolTip(own ? QStringLiteral("試しに描くデータです。フィールドには印刷時にレコードの値が入ります。")
                            : QStringLiteral("レコードの値の形「データ 種類 チェック 数字」で入力します。"));
    Redraw();
}

void TBarcodeOptions::Redraw() {
    TBarcodeValue value;
    const int kind = Kind();
    bool parsed = true;
    if (kind >= 0) {
        value.Kind = kind;
        value.Data = fSample->text();
        value.Check = fCheck->isChecked();
        value.ShowText = fText->isChecked();
    } else {
        parsed = TBarcodeValue::Parse(fSample->text(), value);
    }
    QString refusal = QStringLiteral("値は「データ 種類 チェック 数字」の形で、種類は0から7です");
    QImage image(kPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (parsed) image = SampleImage(value, refusal);
    fPicture->setPixmap(QPixmap::fromImage(image));
    fRefused = isChecked() && !refusal.isEmpty();
    fMessage->setText(fRefused ? refusal : QString());
    fPicture->setAccessibleName(refusal.isEmpty() ? TBarcodeValue::KindName(value.Kind) + QStringLiteral("の見本")
                                                  : refusal);
    if (fChanged) fChanged();
}

void TBarcodeOptions::SetField(int fieldState, const TObjectExtras& extras) {
    fState = fieldState;
    setChecked(fieldState == fsBarcode);
    {
        QSignalBlocker quiet(fKind);
        fKind->setCurrentIndex(std::clamp(extras.BarcodeKind + 1, 0, TBarcodeValue::kKinds));
    }
    fCheck->setChecked(extras.BarcodeCheck);
    fText->setChecked(extras.BarcodeText);
    const int32_t chosen[2] = {extras.BarcodeAddress1Category, extras.BarcodeAddress2Category};
    for (int i = 0; i < 2; ++i) {
        // A column the definitions on show do not name is still offered, by number.
        if (fAddress[i]->findData(chosen[i]) < 0) fAddress[i]->addItem(QString::number(chosen[i]), chosen[i]);
        fAddress[i]->setCurrentIndex(fAddress[i]->findData(chosen[i]));
    }
    KindChanged();
}

int TBarcodeOptions::FieldState() const {
    if (isChecked()) return fsBarcode;
    return fState == fsBarcode ? fsText : fState;
}

void TBarcodeOptions::ApplyTo(TObjectExtras& extras) const {
    const bool own = isChecked() && Kind() >= 0;
    extras.BarcodeKind = own ? Kind() : -1;
    extras.BarcodeCheck = own && fCheck->isChecked();
    extras.BarcodeText = own && fText->isChecked();
    const bool post = own && Kind() == TBarcodeValue::bkCustomer;
    extras.BarcodeAddress1Category = post ? fAddress[0]->currentData().toInt() : -1;
    extras.BarcodeAddress2Category = post ? fAddress[1]->currentData().toInt() : -1;
}

void TBarcodeOptions::SetColumns(const QList<QPair<int, QString>>& columns) {
    for (QComboBox* box : fAddress) {
        const QVariant kept = box->currentData();
        QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("（なし）"), -1);
        for (const auto& [number, text] : columns)
            box->addItem(text, number);
        const int at = kept.isValid() ? box->findData(kept) : 0;
        box->setCurrentIndex(std::max(0, at));
    }
}

bool TBarcodeOptions::Acceptable() const {
    return !fRefused;
}
