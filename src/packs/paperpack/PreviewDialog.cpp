#include "PreviewDialog.h"

#include "print/PrintPreview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const int kZooms[] = {0, 50, 75, 100, 150, 200, 300};
constexpr int kFrame = 12;

} // namespace

TPreviewSheet::TPreviewSheet(const TPreviewGeometry& geometry, QWidget* parent) : QWidget(parent), fGeometry(geometry) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewSheet::SetPage(const QPicture* picture, QSize pagePixels, int dpi) {
    fPicture = picture;
    fPagePixels = pagePixels;
    fDpi = dpi > 0 ? dpi : 96;
    update();
}

void TPreviewSheet::SetScale(double scale) {
    fScale = scale > 0 ? scale : 1.0;
    setFixedSize(int(fGeometry.SheetWidth * fScale) + 2 * kFrame, int(fGeometry.SheetHeight * fScale) + 2 * kFrame);
    update();
}

QRect TPreviewSheet::PageRect() const {
    const TPreviewGeometry& g = fGeometry;
    // The page is the printable area of the printer; on a card sheet it starts at the first seat.
    const int left = g.SingleSeat ? g.MarginLeft : g.FirstSeatLeft;
    const int top = g.SingleSeat ? g.MarginTop : g.FirstSeatTop;
    const int printable = g.SheetWidth - g.MarginLeft - g.MarginRight;
    double perPixel = 96.0 / fDpi;
    if (fPagePixels.width() > 0 && printable > 0) perPixel = double(printable) / fPagePixels.width();
    const QSizeF size = QSizeF(fPagePixels) * perPixel * fScale;
    return QRect(kFrame + int(left * fScale), kFrame + int(top * fScale), qRound(size.width()), qRound(size.height()));
}

void TPreviewSheet::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    const TPreviewGeometry& g = fGeometry;
    const QRect sheet(kFrame, kFrame, int(g.SheetWidth * fScale), int(g.SheetHeight * fScale));
    p.fillRect(sheet.translated(3, 3), QColor(0, 0, 0, 80));
    p.fillRect(sheet, Qt::white);
    if (fPicture && !fPagePixels.isEmpty()) {
        const QRect target = PageRect();
        p.save();
        p.setClipRect(sheet);
        p.translate(target.topLeft());
        p.scale(double(target.width()) / fPagePixels.width(), double(target.height()) / fPagePixels.height());
        p.drawPicture(0, 0, *fPicture);
        p.restore();
    }
    // The unprintable edges: what lies outside this line does not print.
    p.setPen(QPen(g.MarginColor, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    const QRect inner(sheet.left() + int(g.MarginLeft * fScale), sheet.top() + int(g.MarginTop * fScale),
                      int((g.SheetWidth - g.MarginLeft - g.MarginRight) * fScale) - 1,
                      int((g.SheetHeight - g.MarginTop - g.MarginBottom) * fScale) - 1);
    if (g.MarginLeft || g.MarginTop || g.MarginRight || g.MarginBottom) p.drawRect(inner);
    p.setPen(QPen(Qt::gray, 1));
    p.drawRect(sheet.adjusted(0, 0, -1, -1));
}

TPreviewDialog::TPreviewDialog(const TPrintPreview* pages, const QStringList& pageFiles,
                               const TPreviewGeometry& geometry, QWidget* parent)
    : QDialog(parent), fPages(pages), fFiles(pageFiles), fGeometry(geometry) {
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    fPrev = new QPushButton(QStringLiteral("◀ 前のページ"), this);
    fNext = new QPushButton(QStringLiteral("次のページ ▶"), this);
    fPageLabel = new QLabel(this);
    fPageLabel->setMinimumWidth(fPageLabel->fontMetrics().horizontalAdvance(QStringLiteral("9999 / 9999 ページ")));
    fPageLabel->setAlignment(Qt::AlignCenter);
    fZoomBox = new QComboBox(this);
    for (int zoom : kZooms)
        fZoomBox->addItem(zoom ? QStringLiteral("%1%").arg(zoom) : QStringLiteral("全体表示"), zoom);
    auto* zoomLabel = new QLabel(QStringLiteral("表示倍率(&Z):"), this);
    zoomLabel->setBuddy(fZoomBox);
    fPrint = new QPushButton(QStringLiteral("印刷(&P)..."), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton* b : {fPrev, fNext, fPrint, close})
        b->setAutoDefault(false);
    fPrint->setDefault(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(fPrev);
    bar->addWidget(fPageLabel);
    bar->addWidget(fNext);
    bar->addSpacing(16);
    bar->addWidget(zoomLabel);
    bar->addWidget(fZoomBox);
    bar->addStretch(1);
    bar->addWidget(fPrint);
    bar->addWidget(close);

    fScroll = new QScrollArea(this);
    fScroll->setAlignment(Qt::AlignCenter);
    fScroll->setBackgroundRole(QPalette::Dark);
    fSheet = new TPreviewSheet(fGeometry, fScroll);
    fScroll->setWidget(fSheet);

    // The job's warnings stay in view under the sheet: they name records to check before printing.
    fWarnings = new QLabel(this);
    fWarnings->setObjectName(QStringLiteral("PreviewWarnings"));
    fWarnings->setWordWrap(true);
    fWarnings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QStringList warnings = pages ? pages->Warnings() : QStringList();
    if (!warnings.isEmpty()) {
        constexpr int kShown = 3;
        QStringList lines = warnings.mid(0, kShown);
        if (warnings.size() > kShown) lines << QStringLiteral("ほか %1 件").arg(warnings.size() - kShown);
        fWarnings->setText(QStringLiteral("⚠ ") + lines.join(QStringLiteral("\n")));
        fWarnings->setToolTip(warnings.join(QLatin1Char('\n')));
        fWarnings->setStyleSheet(QStringLiteral("color: #b00000;"));
    }
    fWarnings->setVisible(!warnings.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(fScroll, 1);
    layout->addWidget(fWarnings);

    connect(fPrev, &QPushButton::clicked, this, [this] { ShowPage(fPage - 1); });
    connect(fNext, &QPushButton::clicked, this, [this] { ShowPage(fPage + 1); });
    connect(fPrint, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(fZoomBox, &QComboBox::activated, this, [this](int i) { SetZoom(fZoomBox->itemData(i).toInt()); });
    setTabOrder(fPrint, close);
    setTabOrder(close, fPrev);
    setTabOrder(fPrev, fNext);
    setTabOrder(fNext, fZoomBox);
    resize(760, 820);
    SetZoom(0);
    ShowPage(0);
}

TPreviewDialog::~TPreviewDialog() = default;

int TPreviewDialog::PageCount() const {
    if (!fFiles.isEmpty()) return int(fFiles.size());
    return fPages ? fPages->PageCount() : 0;
}

void TPreviewDialog::ShowPage(int index) {
    const int count = PageCount();
    if (count == 0) {
        fPage = 0;
        fSheet->SetPage(nullptr, QSize(), 96);
        UpdateControls();
        return;
    }
    fPage = std::clamp(index, 0, count - 1);
    if (!fFiles.isEmpty()) {
        fLoaded = std::make_unique<QPicture>();
        // A page file that cannot be read shows as an empty sheet.
        if (!fLoaded->load(fFiles[fPage])) fLoaded = std::make_unique<QPicture>();
        QSize size = fFilePagePixels;
        if (size.isEmpty())
            size = fLoaded->boundingRect().bottomRight().isNull()
                       ? QSize()
                       : QSize(fLoaded->boundingRect().right(), fLoaded->boundingRect().bottom());
        fSheet->SetPage(fLoaded.get(), size, fFileDpi);
    } else {
        const TMetafileEx& page = fPages->GetPage(fPage);
        fSheet->SetPage(&page, page.PagePixels(), page.DpiX());
    }
    UpdateControls();
}

void TPreviewDialog::SetZoom(int percent) {
    fZoom = percent;
    const int index = fZoomBox->findData(percent);
    if (index >= 0) fZoomBox->setCurrentIndex(index);
    fSheet->SetScale(Scale());
}

double TPreviewDialog::Scale() const {
    if (fZoom > 0) return fZoom / 100.0;
    const QSize room = fScroll->maximumViewportSize() - QSize(30, 30);
    if (fGeometry.SheetWidth <= 0 || fGeometry.SheetHeight <= 0 || room.isEmpty()) return 1.0;
    return std::min(double(room.width()) / fGeometry.SheetWidth, double(room.height()) / fGeometry.SheetHeight);
}

void TPreviewDialog::UpdateControls() {
    const int count = PageCount();
    fPageLabel->setText(count ? QStringLiteral("%1 / %2 ページ").arg(fPage + 1).arg(count)
                              : QStringLiteral("ページがありません"));
    fPrev->setEnabled(fPage > 0);
    fNext->setEnabled(fPage + 1 < count);
    fPrint->setEnabled(count > 0);
}

void TPreviewDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown: ShowPage(fPage + 1); return;
    case Qt::Key_PageUp: ShowPage(fPage - 1); return;
    case Qt::Key_Plus: {
        const int next = fZoom == 0 ? 100 : std::min(300, fZoom + 25);
        SetZoom(next);
        return;
    }
    case Qt::Key_Minus: SetZoom(fZoom <= 50 ? 0 : fZoom - 25); return;
    default: QDialog::keyPressEvent(event);
    }
}

void TPreviewDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (fZoom == 0) fSheet->SetScale(Scale());
}
