#include "FontEditDialog.h"

#include "ColorButton.h"
#include "DialogParts.h"
#include "FaceComboBox.h"
#include "NumberSpinBox.h"
#include "PreviewPane.h"
#include "platform/Cp932.h"
#include "platform/PackEntries.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Shown when the object has no text yet: both scripts, punctuation and digits.
const QString kSampleText = QStringLiteral("あいうえお、カキクケコ。\r\n「漢字」の見本 2026年");

} // namespace

TFontEditDialog::TFontEditDialog(const TPriLabel& object, const QString& face, int size, int style, TColor fontColor,
                                 int faceLimit, QWidget* parent)
    : QDialog(parent), fFaceLimit(faceLimit) {
    setWindowTitle(QStringLiteral("文字の書式"));
    fWork.AssignObject(&object);
    fWork.BackImage = nullptr;
    fWork.SetForcusCheck(false);
    if (fWork.DataString().isEmpty()) fWork.SetDataString(kSampleText);

    auto* fontForm = new QFormLayout;
    BuildFontGroup(fontForm, face, size, style, fontColor);
    auto* layoutForm = new QFormLayout;
    BuildLayoutGroup(layoutForm);

    auto* fontGroup = new QGroupBox(QStringLiteral("フォント"), this);
    fontGroup->setLayout(fontForm);
    auto* layoutGroup = new QGroupBox(QStringLiteral("配置"), this);
    layoutGroup->setLayout(layoutForm);
    auto* left = new QVBoxLayout;
    left->addWidget(fontGroup);
    left->addWidget(layoutGroup);
    left->addStretch();

    fPreview = new TPreviewPane([this](QSize area, qreal ratio) { return RenderPreview(area, ratio); }, this);
    fPreview->setMinimumSize(300, 300);
    fButtons = TDialogParts::ArrangeWithPreview(this, left, fPreview);

    // Names for the keyboard tests and accessibility tools.
    TDialogParts::Name({{fFace, "face"},
                        {fSize, "size"},
                        {fBold, "bold"},
                        {fItalic, "italic"},
                        {fUnderline, "underline"},
                        {fStrikeOut, "strikeOut"},
                        {fFontColor, "fontColor"},
                        {fTransparent, "transparent"},
                        {fBackColor, "backColor"},
                        {fHorizontal, "horizontal"},
                        {fVertical, "vertical"},
                        {fSide, "side"},
                        {fLong, "long"},
                        {fCharSpace, "charSpace"},
                        {fLineGap, "lineGap"},
                        {fKinsoku, "kinsoku"},
                        {fKanjiDigits, "kanjiDigits"},
                        {fHyphen, "hyphen"},
                        {fShrink, "shrink"},
                        {fPreview, "preview"}});
    Changed();
    fFace->setFocus();
}

TFontEditDialog::~TFontEditDialog() = default;

void TFontEditDialog::BuildFontGroup(QFormLayout* form, const QString& face, int size, int style, TColor fontColor) {
    fFace = new TFaceComboBox(face, this);
    form->addRow(QStringLiteral("書体(&F):"), fFace);
    fSize = new TNumberSpinBox(1, 999, this);
    fSize->setSuffix(QStringLiteral(" pt"));
    fSize->setValue(size);
    form->addRow(QStringLiteral("サイズ(&Z):"), fSize);

    fBold = new QCheckBox(QStringLiteral("太字(&B)"), this);
    fBold->setChecked(style & fsBoldBit);
    fItalic = new QCheckBox(QStringLiteral("斜体(&I)"), this);
    fItalic->setChecked(style & fsItalicBit);
    fUnderline = new QCheckBox(QStringLiteral("下線(&U)"), this);
    fUnderline->setChecked(style & fsUnderlineBit);
    fStrikeOut = new QCheckBox(QStringLiteral("取り消し線(&K)"), this);
    fStrikeOut->setChecked(style & fsStrikeOutBit);
    // Template files keep only bold and italic.
    for (QCheckBox* box : {fUnderline, fStrikeOut})
        box->setToolTip(QStringLiteral("画面と印刷には使われますが、保存したファイルには残りません"));
    auto* styles = new QHBoxLayout;
    for (QCheckBox* box : {fBold, fItalic, fUnderline, fStrikeOut})
        styles->addWidget(box);
    form->addRow(QStringLiteral("スタイル:"), styles);

    fFontColor = new TColorButton(QStringLiteral("文字色(&C)..."), QStringLiteral("文字色"), this);
    fFontColor->SetColor(fontColor);
    form->addRow(QStringLiteral("文字色:"), fFontColor);
    fTransparent = new QCheckBox(QStringLiteral("背景を透明にする(&T)"), this);
    fTransparent->setChecked(fWork.TransParent);
    fBackColor = new TColorButton(QStringLiteral("背景色(&G)..."), QStringLiteral("背景色"), this);
    fBackColor->SetColor(fWork.Color);
    auto* back = new QHBoxLayout;
    back->addWidget(fTransparent);
    back->addWidget(fBackColor);
    back->addStretch();
    form->addRow(QStringLiteral("背景:"), back);

    connect(fFace, &QComboBox::currentTextChanged, this, &TFontEditDialog::Changed);
    connect(fSize, &QSpinBox::valueChanged, this, &TFontEditDialog::Changed);
    for (QCheckBox* box : {fBold, fItalic, fUnderline, fStrikeOut, fTransparent})
        connect(box, &QCheckBox::toggled, this, &TFontEditDialog::Changed);
    connect(fFontColor, &TColorButton::ColorChanged, this, &TFontEditDialog::Changed);
    connect(fBackColor, &TColorButton::ColorChanged, this, &TFontEditDialog::Changed);
}

void TFontEditDialog::BuildLayoutGroup(QFormLayout* form) {
    fHorizontal = new QRadioButton(QStringLiteral("横書き(&H)"), this);
    fVertical = new QRadioButton(QStringLiteral("縦書き(&V)"), this);
    (fWork.Vertical() ? fVertical : fHorizontal)->setChecked(true);
    auto* direction = new QButtonGroup(this);
    direction->addButton(fHorizontal);
    direction->addButton(fVertical);
    auto* writing = new QHBoxLayout;
    writing->addWidget(fHorizontal);
    writing->addWidget(fVertical);
    writing->addStretch();
    form->addRow(QStringLiteral("書き方:"), writing);

    fSide =
        TDialogParts::Choices(this, {u"左揃え", u"中央揃え", u"右揃え", u"均等割り付け", u"両端揃え"}, fWork.SidePos);
    form->addRow(QStringLiteral("横方向(&L):"), fSide);
    fLong =
        TDialogParts::Choices(this, {u"上揃え", u"中央揃え", u"下揃え", u"均等割り付け", u"両端揃え"}, fWork.LongPos);
    form->addRow(QStringLiteral("縦方向(&P):"), fLong);

    fCharSpace = new TNumberSpinBox(-50, 200, this);
    fCharSpace->setSuffix(QStringLiteral(" mm"));
    fCharSpace->setValue(fWork.CharSpace);
    fCharSpace->setToolTip(QStringLiteral("均等割り付けでは使われません"));
    form->addRow(QStringLiteral("文字間隔(&S):"), fCharSpace);
    fLineGap = TDialogParts::Choices(this, {u"標準", u"やや広い", u"広い"}, fWork.LongSpace);
    form->addRow(QStringLiteral("行間(&R):"), fLineGap);

    fKinsoku = new QCheckBox(QStringLiteral("禁則処理をする(&N)"), this);
    fKinsoku->setChecked(fWork.KinsokuCheck);
    form->addRow(QString(), fKinsoku);
    fKanjiDigits = new QCheckBox(QStringLiteral("縦書きの数字を漢数字にする(&J)"), this);
    fKanjiDigits->setChecked(fWork.LongKanaCheck);
    form->addRow(QString(), fKanjiDigits);
    // Block numbers of addresses: "1-2-3" as 一－二－三 or 一の二の三.
    fHyphen =
        TDialogParts::Choices(this, {u"そのまま", u"縦棒（｜）にする", u"「の」にする"}, int(fWork.Extras.HyphenRule));
    fHyphen->setToolTip(QStringLiteral("縦書きの漢数字で、数字の間のハイフンをどう書くか。"
                                       "英字と続く数字（3LDK など）はそのままです"));
    auto* hyphenLabel = new QLabel(QStringLiteral("数字間のハイフン(&Y):"), this);
    hyphenLabel->setBuddy(fHyphen);
    auto* hyphenRow = new QHBoxLayout;
    hyphenRow->addSpacing(20);
    hyphenRow->addWidget(hyphenLabel);
    hyphenRow->addWidget(fHyphen);
    hyphenRow->addStretch();
    form->addRow(QString(), hyphenRow);
    fShrink = new QCheckBox(QStringLiteral("枠に収まるように縮小する(&M)"), this);
    fShrink->setChecked(fWork.Extras.ShrinkToFit);
    fShrink->setToolTip(QStringLiteral("文字が枠からはみ出すときは、収まるまで文字を小さくします"));
    form->addRow(QString(), fShrink);

    for (QRadioButton* radio : {fHorizontal, fVertical})
        connect(radio, &QRadioButton::toggled, this, &TFontEditDialog::Changed);
    for (QComboBox* box : {fSide, fLong, fLineGap, fHyphen})
        connect(box, &QComboBox::currentIndexChanged, this, &TFontEditDialog::Changed);
    connect(fCharSpace, &QSpinBox::valueChanged, this, &TFontEditDialog::Changed);
    for (QCheckBox* box : {fKinsoku, fKanjiDigits, fShrink})
        connect(box, &QCheckBox::toggled, this, &TFontEditDialog::Changed);
}

QString TFontEditDialog::Face() const {
    return fFace->Face();
}

int TFontEditDialog::Size() const {
    return fSize->value();
}

int TFontEditDialog::Style() const {
    return (fBold->isChecked() ? fsBoldBit : 0) | (fItalic->isChecked() ? fsItalicBit : 0) |
           (fUnderline->isChecked() ? fsUnderlineBit : 0) | (fStrikeOut->isChecked() ? fsStrikeOutBit : 0);
}

TColor TFontEditDialog::FontColor() const {
    return fFontColor->Color();
}

void TFontEditDialog::ApplyTo(TPriLabel& object) const {
    object.Font.setFamily(Face());
    object.Font.setBold(fBold->isChecked());
    object.Font.setItalic(fItalic->isChecked());
    object.Font.setUnderline(fUnderline->isChecked());
    object.Font.setStrikeOut(fStrikeOut->isChecked());
    object.FontColor = FontColor();
    object.SameFSize = Size();
    object.TransParent = fTransparent->isChecked();
    object.Color = fBackColor->Color();
    object.SetFontAngle(fVertical->isChecked() ? faLong : faSide);
    object.SidePos = TSidePos(fSide->currentIndex());
    object.LongPos = TLongPos(fLong->currentIndex());
    object.CharSpace = fCharSpace->value();
    object.LongSpace = TLongSpace(fLineGap->currentIndex());
    object.KinsokuCheck = fKinsoku->isChecked();
    object.LongKanaCheck = fKanjiDigits->isChecked();
    object.Extras.HyphenRule = TObjectExtras::THyphenRule(fHyphen->currentIndex());
    object.Extras.ShrinkToFit = fShrink->isChecked();
}

void TFontEditDialog::Changed() {
    ApplyTo(fWork);
    fBackColor->setEnabled(!fTransparent->isChecked());
    fHyphen->setEnabled(fVertical->isChecked() && fKanjiDigits->isChecked());
    const QString face = Face();
    // A face the file's code page cannot spell would come back as "?".
    const bool faceFits = !face.isEmpty() && TCp932::CanEncode(face) && TCp932::Encode(face).size() <= fFaceLimit;
    fButtons->button(QDialogButtonBox::Ok)->setEnabled(faceFits);
    fPreview->Refresh();
}

QImage TFontEditDialog::RenderPreview(QSize area, qreal pixelRatio) {
    QImage picture = TDialogParts::Backdrop(this, area, pixelRatio);
    const int s = TPriBase::iScreenInch() > 0 ? TPriBase::iScreenInch() : 96;
    QSize store = fWork.GetStoreSize();
    if (store.width() <= 0 || store.height() <= 0) store = QSize(600, 300);
    // The object's box at 100 % with a margin round it, shown at the zoom that fits the pane.
    const int margin = 10;
    const double bw = store.width() / 254.0 * s, bh = store.height() / 254.0 * s;
    const double z = TDialogParts::FitZoom(area, bw, bh, margin);
    const QSize paper(int(std::ceil(bw + 2 * margin / z)), int(std::ceil(bh + 2 * margin / z)));
    const QSize view(int(std::lround(paper.width() * z)), int(std::lround(paper.height() * z)));
    QImage page(view * pixelRatio, QImage::Format_RGB32);
    page.setDevicePixelRatio(pixelRatio);
    page.fill(Qt::white);
    fWork.SetStorePos(QPoint(int(std::lround(margin / z / s * 254)), int(std::lround(margin / z / s * 254))));
    fWork.BackImage = &page;
    fWork.ScaleToView(view, paper, s);
    {
        QPainter p(&page);
        fWork.DrawObject(bmLayout, p);
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(fWork.Left - 1, fWork.Top - 1, fWork.Width + 1, fWork.Height + 1);
    }
    fWork.BackImage = nullptr;
    TDialogParts::Centre(picture, area, page, view);
    return picture;
}
