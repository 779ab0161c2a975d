#include "app/dialogs/ImageEffectDlg.h"

#include "app/dialogs/EffectPreview.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The preview works on a copy no longer than this on its long side: enough for a zoomed
// view on a high-resolution screen, small enough to re-colour while a track bar moves.
constexpr int kViewSide = 1280;
constexpr int kOffsetLimit = 100;

QImage ViewOf(const QImage& picture) {
    if (picture.width() <= kViewSide && picture.height() <= kViewSide) return picture;
    return picture.scaled(kViewSide, kViewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QFrame* Swatch(QColor color, QWidget* parent) {
    auto* swatch = new QFrame(parent);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(16, 16);
    swatch->setAutoFillBackground(true);
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, color);
    swatch->setPalette(pal);
    return swatch;
}

} // namespace

TImageEffectDlg::TImageEffectDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("画像編集ダイアログ"));
    Confirm = [this](const QString& question) {
        return QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
    };
    ShowError = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameShape(QFrame::StyledPanel);
    panel1->setFrameShadow(QFrame::Sunken);
    auto* panel1Layout = new QVBoxLayout(panel1);
    panel1Layout->setContentsMargins(1, 1, 1, 1);
    fPreview = new TEffectPreview(panel1);
    fPreview->setObjectName(QStringLiteral("PaintBox1"));
    fPreview->setMinimumSize(300, 280);
    panel1Layout->addWidget(fPreview);
    connect(fPreview, &TEffectPreview::SelectionMade, this, &TImageEffectDlg::SelectPart);

    fPages = new QStackedWidget(this);
    fPages->setObjectName(QStringLiteral("PageControl1"));
    fPages->addWidget(BuildExpanPage());
    fPages->addWidget(BuildRgbPage());
    fPages->addWidget(BuildMeidoPage());
    fPages->addWidget(BuildTurnPage());

    fCutPanel = new QFrame(this);
    fCutPanel->setObjectName(QStringLiteral("Panel2"));
    static_cast<QFrame*>(fCutPanel)->setFrameShape(QFrame::StyledPanel);
    static_cast<QFrame*>(fCutPanel)->setFrameShadow(QFrame::Sunken);
    auto* panel2Layout = new QVBoxLayout(fCutPanel);
    panel2Layout->setContentsMargins(1, 1, 1, 1);
    fCutPreview = new TEffectPreview(fCutPanel);
    fCutPreview->setObjectName(QStringLiteral("PaintBox2"));
    fCutPreview->setMinimumSize(160, 110);
    panel2Layout->addWidget(fCutPreview);

    auto* right = new QVBoxLayout;
    right->addWidget(fPages);
    right->addWidget(fCutPanel, 1);
    right->addStretch();

    fReset = new QPushButton(QStringLiteral("元に戻す"), this);
    fReset->setObjectName(QStringLiteral("ResetBtn"));
    fReset->setToolTip(QStringLiteral("初期状態に戻します"));
    fReset->setAutoDefault(false);
    connect(fReset, &QPushButton::clicked, this, &TImageEffectDlg::ResetEffects);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TImageEffectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TImageEffectDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(panel1, 1);
    top->addLayout(right);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fReset);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(621, 316);
    SetEffectMode(emExpan);
}

QWidget* TImageEffectDlg::BuildExpanPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Expan"));
    page->setWindowTitle(QStringLiteral("画像拡大"));
    page->setAccessibleName(page->windowTitle());

    auto* zoomGroup = new QGroupBox(QStringLiteral("　拡大縮小(&Z)　"), page);
    auto* zoomDown = new QPushButton(QStringLiteral("縮小"), zoomGroup);
    zoomDown->setObjectName(QStringLiteral("ZoomDownBtn"));
    zoomDown->setToolTip(QStringLiteral("ズームダウンします"));
    auto* zoomUp = new QPushButton(QStringLiteral("拡大"), zoomGroup);
    zoomUp->setObjectName(QStringLiteral("ZoomUpBtn"));
    zoomUp->setToolTip(QStringLiteral("ズームアップします"));
    connect(zoomDown, &QPushButton::clicked, this, &TImageEffectDlg::ZoomDown);
    connect(zoomUp, &QPushButton::clicked, this, &TImageEffectDlg::ZoomUp);
    auto* zoomLayout = new QHBoxLayout(zoomGroup);
    zoomLayout->addWidget(zoomDown);
    zoomLayout->addWidget(zoomUp);

    auto* moveGroup = new QGroupBox(QStringLiteral("  画像移動(&M)　 "), page);
    auto* moveLayout = new QGridLayout(moveGroup);
    struct TMoveButton {
        TMove Direction;
        const char* Name;
        QString Text;
        QString Hint;
        int Row, Column;
    };
    const TMoveButton moves[] = {
        {mvUp, "MoveUpBtn", QStringLiteral("↑"), QStringLiteral("上へ移動します"), 0, 1},
        {mvRight, "MoveRightBtn", QStringLiteral("→"), QStringLiteral("右へ移動します"), 1, 2},
        {mvLeft, "MoveLeftBtn", QStringLiteral("←"), QStringLiteral("左へ移動します"), 1, 0},
        {mvDown, "MoveDownBtn", QStringLiteral("↓"), QStringLiteral("下へ移動します"), 2, 1},
    };
    for (const TMoveButton& m : moves) {
        auto* button = new QPushButton(m.Text, moveGroup);
        button->setObjectName(QLatin1String(m.Name));
        button->setToolTip(m.Hint);
        button->setAccessibleName(m.Hint);
        button->setAutoRepeat(true);
        button->setFixedWidth(button->sizeHint().height() * 2);
        const TMove direction = m.Direction;
        connect(button, &QPushButton::clicked, this, [this, direction] { Move(direction); });
        moveLayout->addWidget(button, m.Row, m.Column, Qt::AlignCenter);
    }

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(zoomGroup);
    layout->addWidget(moveGroup);
    layout->addStretch();
    return page;
}

QWidget* TImageEffectDlg::OffsetRow(int index, QWidget* parent, QLayout* into) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit(QStringLiteral("0"), row);
    edit->setObjectName(QStringLiteral("Edit%1").arg(index + 1));
    // Digits and a minus sign only, at most three digits.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,3}")), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-1000")) + 12);
    edit->setAlignment(Qt::AlignRight);
    auto* slider = new QSlider(Qt::Horizontal, row);
    slider->setObjectName(QStringLiteral("TrackBar%1").arg(index + 1));
    slider->setRange(-kOffsetLimit, kOffsetLimit);
    slider->setPageStep(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(20);
    slider->setMinimumWidth(150);
    fEdits[size_t(index)] = edit;
    fSliders[size_t(index)] = slider;
    connect(edit, &QLineEdit::textEdited, this, [this, index](const QString& text) { EditChanged(index, text); });
    connect(slider, &QSlider::valueChanged, this, [this, index](int value) { SliderMoved(index, value); });
    connect(slider, &QSlider::sliderReleased, this, &TImageEffectDlg::ApplyOffsetsToResult);
    layout->addWidget(edit);
    layout->addWidget(new QLabel(QStringLiteral("(-)"), row));
    layout->addWidget(slider, 1);
    layout->addWidget(new QLabel(QStringLiteral("(+)"), row));
    into->addWidget(row);
    return edit;
}

QWidget* TImageEffectDlg::BuildRgbPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_RGB"));
    page->setWindowTitle(QStringLiteral("色調補正"));
    page->setAccessibleName(page->windowTitle());
    auto* group = new QGroupBox(QStringLiteral(" RGB補正 "), page);
    auto* grid = new QGridLayout(group);
    const QString captions[3] = {QStringLiteral("赤(&R)"), QStringLiteral("緑(&G)"), QStringLiteral("青(&B)")};
    const QColor colors[3] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], group);
        grid->addWidget(label, i, 0);
        grid->addWidget(Swatch(colors[i], group), i, 1);
        auto* rowHolder = new QHBoxLayout;
        QWidget* edit = OffsetRow(i, group, rowHolder);
        label->setBuddy(edit);
        grid->addLayout(rowHolder, i, 2);
    }
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* TImageEffectDlg::BuildMeidoPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Meido"));
    page->setWindowTitle(QStringLiteral("明度調整"));
    page->setAccessibleName(page->windowTitle());
    auto* group = new QGroupBox(QStringLiteral(" 明度調整 "), page);
    auto* groupLayout = new QVBoxLayout(group);
    OffsetRow(3, group, groupLayout);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* TImageEffectDlg::BuildTurnPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Turn"));
    page->setWindowTitle(QStringLiteral("回転編集"));
    page->setAccessibleName(page->windowTitle());
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    struct TTurnButton {
        const char* Name;
        QString Text;
        ImageEffects::TTurn Turn;
    };
    const TTurnButton turns[] = {
        {"TurnRightBtn", QStringLiteral("右90度回転"), ImageEffects::TTurn::Right90},
        {"TurnLeftBtn", QStringLiteral("左90度回転"), ImageEffects::TTurn::Left90},
        {"FlipVerticalBtn", QStringLiteral("上下反転"), ImageEffects::TTurn::FlipVertical},
        {"FlipHorizontalBtn", QStringLiteral("左右反転"), ImageEffects::TTurn::FlipHorizontal},
    };
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(turns[i].Text, page);
        button->setObjectName(QLatin1String(turns[i].Name));
        button->setMinimumHeight(button->sizeHint().height() * 3 / 2);
        const ImageEffects::TTurn turn = turns[i].Turn;
        connect(button, &QPushButton::clicked, this, [this, turn] { TurnBy(turn); });
        grid->addWidget(button, i / 2, i % 2);
    }
    grid->setRowStretch(2, 1);
    return page;
}

bool TImageEffectDlg::Execute(QImage& picture, TEffectMode mode, QWidget* parent) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return false;
    TImageEffectDlg dialog(parent);
    dialog.SetBaseBmp(picture);
    dialog.SetEffectMode(mode);
    if (dialog.exec() != QDialog::Accepted || dialog.TTransBmp().isNull()) return false;
    picture = dialog.TTransBmp();
    return true;
}

void TImageEffectDlg::SetBaseBmp(const QImage& picture) {
    fBase = (picture.width() > 0 && picture.height() > 0) ? ImageEffects::ToWorkFormat(picture) : QImage();
    fResult = fBase;
    // Smooth scaling premultiplies; converted back once here rather than on every slider move.
    fBaseView = fBase.isNull() ? QImage() : ImageEffects::ToWorkFormat(ViewOf(fBase));
    fResultView = fBaseView;
    fCut = QImage();
    fCutPreview->Clear();
    fTrim.Reset(fBase.size());
    fOffsets = {0, 0, 0};
    for (size_t i = 0; i < fEdits.size(); ++i) {
        QSignalBlocker blockSlider(fSliders[i]);
        fSliders[i]->setValue(0);
        fEdits[i]->setText(QStringLiteral("0"));
    }
    if (fMode == emExpan)
        ShowTrimView();
    else
        ShowResult();
}

void TImageEffectDlg::SetEffectMode(TEffectMode mode) {
    fMode = mode;
    fPages->setCurrentIndex(int(mode));
    fCutPanel->setVisible(mode == emExpan);
    fReset->setVisible(mode != emExpan);
    fPreview->SetSelectable(mode == emExpan);
    fPreview->ClearSelection();
    if (mode == emExpan)
        ShowTrimView();
    else
        ShowResult();
}

void TImageEffectDlg::ShowResult() {
    fPreview->SetPicture(fResultView, QRectF(), fResult.size());
}

void TImageEffectDlg::ShowTrimView() {
    if (fBase.isNull()) return fPreview->Clear();
    // The window in the scaled copy's pixels, stretched to the shape of the whole picture.
    const double sx = double(fBaseView.width()) / fBase.width();
    const double sy = double(fBaseView.height()) / fBase.height();
    const QRect w = fTrim.Window();
    fPreview->SetPicture(fBaseView, QRectF(w.x() * sx, w.y() * sy, w.width() * sx, w.height() * sy), fBase.size());
}

void TImageEffectDlg::ZoomUp() {
    if (fTrim.ZoomUp()) {
        fPreview->ClearSelection();
        ShowTrimView();
    }
}

void TImageEffectDlg::ZoomDown() {
    fTrim.ZoomDown();
    fPreview->ClearSelection();
    ShowTrimView();
}

void TImageEffectDlg::Move(TMove direction) {
    switch (direction) {
    case mvUp: fTrim.MoveUp(); break;
    case mvRight: fTrim.MoveRight(); break;
    case mvLeft: fTrim.MoveLeft(); break;
    case mvDown: fTrim.MoveDown(); break;
    }
    fPreview->ClearSelection();
    ShowTrimView();
}

void TImageEffectDlg::SelectPart(const QRect& dragged, QSize paintBox) {
    const QRect part = fTrim.MapSelection(dragged, paintBox);
    // A click or a line is no cut-out; the one before stays.
    if (part.isEmpty()) return;
    fCut = fBase.copy(part);
    fCutPreview->SetPicture(fCut);
}

void TImageEffectDlg::TurnBy(ImageEffects::TTurn turn) {
    if (fResult.isNull()) return;
    const QImage turned = ImageEffects::Turn(fResult, turn);
    if (turned.isNull()) {
        ShowError(QStringLiteral("失敗しました"));
        return;
    }
    fResult = turned;
    fResultView = ImageEffects::Turn(fResultView, turn);
    ShowResult();
}

void TImageEffectDlg::SetOffset(int channel, int value) {
    const int index = fMode == emMeido ? 3 : std::clamp(channel, 0, 2);
    fEdits[size_t(index)]->setText(QString::number(value));
    EditChanged(index, fEdits[size_t(index)]->text());
}

void TImageEffectDlg::SliderMoved(int index, int value) {
    {
        QSignalBlocker block(fEdits[size_t(index)]);
        fEdits[size_t(index)]->setText(QString::number(value));
    }
    if (index == 3)
        fOffsets = {value, value, value};
    else
        fOffsets[size_t(index)] = value;
    ApplyOffsetsToView();
    // Keys move the bar without a press and release: settle at once then.
    if (!fSliders[size_t(index)]->isSliderDown()) ApplyOffsetsToResult();
}

void TImageEffectDlg::EditChanged(int index, const QString& text) {
    bool ok = false;
    const int typed = text.toInt(&ok);
    if (!ok) return; // "" or "-" while typing
    const int value = std::clamp(typed, -kOffsetLimit, kOffsetLimit);
    if (value != typed) fEdits[size_t(index)]->setText(QString::number(value));
    {
        QSignalBlocker block(fSliders[size_t(index)]);
        fSliders[size_t(index)]->setValue(value);
    }
    if (index == 3)
        fOffsets = {value, value, value};
    else
        fOffsets[size_t(index)] = value;
    ApplyOffsetsToView();
    ApplyOffsetsToResult();
}

void TImageEffectDlg::ApplyOffsetsToView() {
    if (fBaseView.isNull()) return;
    fResultView = ImageEffects::OffsetColours(fBaseView, fOffsets[0], fOffsets[1], fOffsets[2]);
    ShowResult();
}

void TImageEffectDlg::ApplyOffsetsToResult() {
    if (fBase.isNull() || (fMode != emRGB && fMode != emMeido)) return;
    const QImage adjusted = ImageEffects::OffsetColours(fBase, fOffsets[0], fOffsets[1], fOffsets[2]);
    // Should the adjusted copy fail, the picture stays as it was.
    fResult = adjusted.isNull() ? fBase : adjusted;
}

void TImageEffectDlg::ResetEffects() {
    if (!Confirm(QStringLiteral("初期状態に戻しますか？"))) return;
    fOffsets = {0, 0, 0};
    for (size_t i = 0; i < fEdits.size(); ++i) {
        QSignalBlocker blockSlider(fSliders[i]);
        fSliders[i]->setValue(0);
        fEdits[i]->setText(QStringLiteral("0"));
    }
    fResult = fBase;
    fResultView = fBaseView;
    ShowResult();
}

void TImageEffectDlg::accept() {
    if (fBase.isNull()) return reject();
    if (fMode == emExpan) {
        // Without a cut-out the result is what the preview shows: the trim window over the
        // whole picture's size, never an empty picture.
        if (!fCut.isNull())
            fResult = fCut;
        else if (fTrim.IsWhole())
            fResult = fBase;
        else
            fResult = ImageEffects::StretchPart(fBase, fTrim.Window(), fBase.size());
        if (fResult.isNull()) fResult = fBase;
    } else if (fMode == emRGB || fMode == emMeido) {
        ApplyOffsetsToResult();
    }
    QDialog::accept();
}
