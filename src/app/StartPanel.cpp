#include "app/StartPanel.h"

#include "app/dialogs/Image_Ex.h"

#include <QAction>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QHBoxLayout>
#include <QToolButton>

namespace {

// Places fixed by the artwork of the step pictures (panel pixels).
constexpr QRect kBackPlace(0, 0, 211, 610);
constexpr QRect kScanPlace(47, 230, 151, 26);
constexpr QRect kPrintPlace(47, 492, 151, 26);
constexpr QRect kClosePlace(190, 1, 18, 18);
constexpr QRect kToolPlace(49, 361, 148, 26);

// Drawn icons for tool actions that come without one: pointer, text, picture, field, calendar.
QIcon SideToolIcon(int kind) {
    constexpr int kSide = 20, kScale = 3;
    QPixmap pixmap(kSide * kScale, kSide * kScale);
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(58, 74, 62), accent(82, 150, 96);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case 0: { // arrow pointer
        QPainterPath arrow;
        arrow.moveTo(6, 3);
        arrow.lineTo(6, 16);
        arrow.lineTo(9.2, 12.8);
        arrow.lineTo(11.6, 17.5);
        arrow.lineTo(13.6, 16.5);
        arrow.lineTo(11.3, 11.9);
        arrow.lineTo(15.5, 11.9);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case 1: { // text
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(15);
        p.setFont(font);
        p.drawText(QRectF(0, 0, kSide, kSide), Qt::AlignCenter, QStringLiteral("あ"));
        break;
    }
    case 2: { // picture
        p.setBrush(QColor(236, 244, 250));
        p.drawRoundedRect(QRectF(2.5, 4.5, 15, 11), 1.5, 1.5);
        QPainterPath hill;
        hill.moveTo(3.5, 14.5);
        hill.lineTo(8, 9);
        hill.lineTo(11, 12);
        hill.lineTo(13, 10);
        hill.lineTo(16.5, 14.5);
        hill.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPath(hill);
        p.setBrush(QColor(240, 170, 60));
        p.drawEllipse(QPointF(13.5, 7.5), 1.5, 1.5);
        break;
    }
    case 3: { // field: a box with text lines
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(2.5, 3.5, 15, 13), 1.5, 1.5);
        p.setPen(QPen(accent, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(5.5, 12), QPointF(11.5, 12));
        break;
    }
    default: { // calendar
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(2.5, 3.5, 15, 14), 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 82, 72));
        p.drawRect(QRectF(3.2, 4.2, 13.6, 3.3));
        p.setBrush(ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawRect(QRectF(4.6 + col * 3.1, 9.2 + row * 2.7, 1.6, 1.4));
        break;
    }
    }
    return QIcon(pixmap);
}

} // namespace

TStartPanel::TStartPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel_First_Wizard"));
    setMinimumSize(kPanelWidth, kPanelHeight);
    setMaximumWidth(kPanelWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setMouseTracking(true);

    auto makeImage = [this](const char* name, int tag, QRect place) {
        auto* image = new TImage_Ex(this);
        image->setObjectName(QLatin1String(name));
        image->SetTag(tag);
        image->setGeometry(place);
        Watch(image);
        return image;
    };
    fImageBack1 = makeImage("Image_Back1", kStep1, kBackPlace);
    fImageBack2 = makeImage("image_Back2", kStep2, kBackPlace);
    fImageBack3 = makeImage("image_Back3", kStep3, kBackPlace);
    fImage1 = makeImage("Image1", kScanDown, kScanPlace);
    fImage3 = makeImage("Image3", kPrintDown, kPrintPlace);
    fImageClose = makeImage("Image_Close", kCloseUp, kClosePlace);
    fImage1->setToolTip(QStringLiteral("スキャナ起動"));
    fImage3->setToolTip(QStringLiteral("印刷"));
    fImageClose->setToolTip(QStringLiteral("サイドバーを閉じる"));
    for (TImage_Ex* button : {fImage1, fImage3, fImageClose}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setAccessibleName(button->toolTip());
    }

    // A row of tool buttons in the tray the artwork leaves for it.
    fToolBar3 = new QWidget(this);
    fToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    auto* row = new QHBoxLayout(fToolBar3);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    fToolBar3->setGeometry(kToolPlace);
    Watch(fToolBar3);

    connect(fImage1, &TImage_Ex::MouseDown, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) ScanDown();
    });
    connect(fImage1, &TImage_Ex::MouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) ScanUp();
    });
    connect(fImage3, &TImage_Ex::MouseDown, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) PrintDown();
    });
    connect(fImage3, &TImage_Ex::MouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) PrintUp();
    });
    connect(fImageClose, &TImage_Ex::MouseDown, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) CloseDown();
    });
    connect(fImageClose, &TImage_Ex::MouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) CloseUp();
    });

    ShowStep(1);
    fToolBar3->setEnabled(false);
}

bool TStartPanel::ApplyStartImages(const std::vector<QImage>& images) {
    for (int index : {kCloseUp, kStep1, kStep2, kStep3})
        if (size_t(index) >= images.size() || images[size_t(index)].isNull()) return false;
    fImages = images;
    // A picture drawn at a whole multiple of its place's size is a high-resolution one: it is
    // shown in its place at full sharpness on a high-DPI screen.
    const QSize places[] = {kClosePlace.size(), kClosePlace.size(), kScanPlace.size(), kPrintPlace.size(),
                            kBackPlace.size(),  kBackPlace.size(),  kBackPlace.size()};
    for (size_t i = 0; i < std::size(places) && i < fImages.size(); ++i) {
        QImage& picture = fImages[i];
        const int ratio = picture.width() / places[i].width();
        if (ratio > 1 && picture.size() == places[i] * ratio) picture.setDevicePixelRatio(ratio);
    }
    for (TImage_Ex* back : {fImageBack1, fImageBack2, fImageBack3})
        back->SetPicture(StartImage(back->Tag()));
    fImageClose->SetPicture(StartImage(kCloseUp));
    // Below the artwork the panel continues in the colour the pictures end with.
    const QImage& step1 = fImages[kStep1];
    fBottomColor = step1.pixelColor(step1.width() / 2, step1.height() - 1);
    update();
    return true;
}

QImage TStartPanel::StartImage(int index) const {
    return size_t(index) < fImages.size() ? fImages[size_t(index)] : QImage();
}

void TStartPanel::SetToolActions(QAction* none, QAction* text, QAction* image, QAction* field, QAction* calendar) {
    for (QToolButton* old : fToolBar3->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        delete old;
    const char* names[] = {"ToolSide_None", "ToolSide_Text", "ToolSide_Image", "ToolSide_Field", "ToolSide_Portal"};
    QAction* actions[] = {none, text, image, field, calendar};
    for (int i = 0; i < 5; ++i) {
        QAction* action = actions[i];
        if (!action) continue;
        if (action->icon().isNull()) action->setIcon(SideToolIcon(i));
        auto* button = new QToolButton(fToolBar3);
        button->setObjectName(QLatin1String(names[i]));
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(28, 26);
        button->setFocusPolicy(Qt::NoFocus);
        fToolBar3->layout()->addWidget(button);
        Watch(button);
    }
}

bool TStartPanel::ToolBarEnabled() const {
    return fToolBar3->isEnabled();
}

TImage_Ex* TStartPanel::StepImage(int n) const {
    return n == 1 ? fImageBack1 : n == 2 ? fImageBack2 : n == 3 ? fImageBack3 : nullptr;
}

void TStartPanel::ShowStep(int n) {
    // The other two step pictures go to the back; the buttons stay above every picture.
    for (int other = 1; other <= 3; ++other)
        if (other != n) StepImage(other)->lower();
    KeepButtonsOnTop();
}

void TStartPanel::KeepButtonsOnTop() {
    for (QWidget* w : std::initializer_list<QWidget*>{fImage1, fImage3, fToolBar3, fImageClose})
        w->raise();
}

void TStartPanel::SetStep(int step) {
    if (fStep == step) return;
    fStep = step;
    ShowStep(step - kStep1 + 1);
    if (step == kStep3) fImage3->raise();
    fToolBar3->setEnabled(step == kStep2);
}

void TStartPanel::PointerAt(int y) {
    // While a picture button is held the pointer belongs to it.
    if (FPressed) return;
    if (y >= 150 && y < 270)
        SetStep(kStep1);
    else if (y >= 281 && y <= 401)
        SetStep(kStep2);
    else if (y >= 412 && y <= 531)
        SetStep(kStep3);
}

void TStartPanel::Watch(QWidget* child) {
    // Moves over any part of the panel count, whichever control lies on top there.
    child->setMouseTracking(true);
    child->installEventFilter(this);
}

bool TStartPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        const auto* move = static_cast<QMouseEvent*>(event);
        PointerAt(w->mapTo(this, move->position().toPoint()).y());
    }
    return QWidget::eventFilter(watched, event);
}

void TStartPanel::mouseMoveEvent(QMouseEvent* event) {
    PointerAt(event->position().toPoint().y());
}

void TStartPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The step pictures reach down the whole panel.
    for (TImage_Ex* back : {fImageBack1, fImageBack2, fImageBack3})
        back->resize(kBackPlace.width(), std::max(kBackPlace.height(), height()));
}

void TStartPanel::paintEvent(QPaintEvent*) {
    if (!fBottomColor.isValid()) return;
    QPainter(this).fillRect(QRect(0, kPanelHeight, width(), std::max(0, height() - kPanelHeight)), fBottomColor);
}

void TStartPanel::Hold(TImage_Ex* button) {
    fHeld = button;
    FPressed = button != nullptr;
}

void TStartPanel::ScanDown() {
    if (FPressed || fStep != kStep1) return;
    fImage1->SetPicture(StartImage(kScanDown));
    Hold(fImage1);
}

void TStartPanel::ScanUp() {
    if (fHeld != fImage1) return;
    fImage1->SetPicture(QImage());
    Hold(nullptr);
    if (OnScan && OnScan()) {
        fStep = kStep2;
        ShowStep(2);
        fToolBar3->setEnabled(true);
    }
}

void TStartPanel::PrintDown() {
    if (FPressed || fStep != kStep3) return;
    fImage3->SetPicture(StartImage(kPrintDown));
    Hold(fImage3);
}

void TStartPanel::PrintUp() {
    if (fHeld != fImage3) return;
    fImage3->SetPicture(QImage());
    Hold(nullptr);
    if (OnPrint) OnPrint();
}

void TStartPanel::CloseDown() {
    if (FPressed) return;
    fImageClose->SetPicture(StartImage(kCloseDown));
    Hold(fImageClose);
}

void TStartPanel::CloseUp() {
    if (fHeld != fImageClose) return;
    fImageClose->SetPicture(StartImage(kCloseUp));
    Hold(nullptr);
    if (OnClose) OnClose();
}
