#include "app/scanning/ScanDlg.h"

#include "app/dialogs/EffectPreview.h"
#include "imaging/PackedDib.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString ModeText(const QString& mode) {
    const QString m = mode.toLower();
    if (m == QLatin1String("color")) return QStringLiteral("カラー");
    if (m == QLatin1String("gray") || m == QLatin1String("grey")) return QStringLiteral("グレー");
    if (m == QLatin1String("lineart") || m == QLatin1String("binary")) return QStringLiteral("白黒");
    if (m == QLatin1String("halftone")) return QStringLiteral("ハーフトーン");
    return mode;
}

} // namespace

TScanDlg::TScanDlg(TSaneDevice& device, const QString& title, QWidget* parent) : QDialog(parent), fDevice(device) {
    setWindowTitle(QStringLiteral("スキャン - ") + title);
    ShowMessage = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    fCaps = fDevice.Capabilities();

    fSettings = new QWidget(this);
    auto* form = new QFormLayout(fSettings);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("スキャナ:"), new QLabel(title, fSettings));
    fMode = new QComboBox(fSettings);
    fMode->setObjectName(QStringLiteral("ModeBox"));
    for (const QString& mode : fCaps.Modes)
        fMode->addItem(ModeText(mode), mode);
    fMode->setCurrentIndex(std::max(0, int(fCaps.Modes.indexOf(fCaps.Mode))));
    fMode->setEnabled(fMode->count() > 0);
    form->addRow(QStringLiteral("カラーモード(&C):"), fMode);
    fResolution = new QComboBox(fSettings);
    fResolution->setObjectName(QStringLiteral("ResolutionBox"));
    for (int dpi : fCaps.Resolutions)
        fResolution->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
    // The nearest offered step to what the scanner is set to; 150 dpi when it is set to
    // something no one would scan a photo at.
    const int wanted = fCaps.Resolution >= 50 ? fCaps.Resolution : 150;
    int resolutionRow = 0;
    for (int i = 0; i < fCaps.Resolutions.size(); ++i)
        if (std::abs(fCaps.Resolutions[i] - wanted) < std::abs(fCaps.Resolutions[resolutionRow] - wanted))
            resolutionRow = i;
    fResolution->setCurrentIndex(fResolution->count() ? resolutionRow : -1);
    fResolution->setEnabled(fResolution->count() > 0);
    form->addRow(QStringLiteral("解像度(&R):"), fResolution);

    auto* areaGroup = new QGroupBox(QStringLiteral("読み取り範囲 (mm)"), fSettings);
    auto* areaGrid = new QGridLayout(areaGroup);
    const QString areaCaptions[4] = {QStringLiteral("左(&L):"), QStringLiteral("上(&T):"), QStringLiteral("幅(&W):"),
                                     QStringLiteral("高さ(&H):")};
    const QRectF area = fCaps.Area.isEmpty() ? fCaps.MaxArea : fCaps.Area;
    const double values[4] = {area.left(), area.top(), area.width(), area.height()};
    for (int i = 0; i < 4; ++i) {
        auto* spin = new QDoubleSpinBox(areaGroup);
        spin->setObjectName(QStringLiteral("AreaBox%1").arg(i + 1));
        spin->setDecimals(1);
        spin->setRange(0, 10000);
        spin->setValue(values[i]);
        spin->setEnabled(!fCaps.MaxArea.isEmpty());
        auto* label = new QLabel(areaCaptions[i], areaGroup);
        label->setBuddy(spin);
        areaGrid->addWidget(label, i / 2, (i % 2) * 2);
        areaGrid->addWidget(spin, i / 2, (i % 2) * 2 + 1);
        fArea[i] = spin;
        connect(spin, &QDoubleSpinBox::editingFinished, this, &TScanDlg::ShowAreaOnPreview);
    }
    auto* whole = new QPushButton(QStringLiteral("全体(&A)"), areaGroup);
    whole->setAutoDefault(false);
    whole->setEnabled(!fCaps.MaxArea.isEmpty());
    connect(whole, &QPushButton::clicked, this, [this] {
        const double v[4] = {fCaps.MaxArea.left(), fCaps.MaxArea.top(), fCaps.MaxArea.width(), fCaps.MaxArea.height()};
        for (int i = 0; i < 4; ++i)
            fArea[i]->setValue(v[i]);
        fPreview->ClearSelection();
    });
    areaGrid->addWidget(whole, 2, 3);
    form->addRow(areaGroup);

    fPreview = new TEffectPreview(this);
    fPreview->setObjectName(QStringLiteral("PreviewBox"));
    fPreview->setMinimumSize(240, 300);
    fPreview->SetSelectable(!fCaps.MaxArea.isEmpty());
    fPreview->setToolTip(QStringLiteral("プレビューの上でドラッグすると読み取り範囲を選べます"));
    connect(fPreview, &TEffectPreview::SelectionMade, this, &TScanDlg::AreaFromSelection);

    fProgress = new QProgressBar(this);
    fProgress->setRange(0, 100);
    fProgress->setValue(0);
    fStatus = new QLabel(this);
    fStatus->setObjectName(QStringLiteral("StatusLabel"));

    fPreviewButton = new QPushButton(QStringLiteral("プレビュー(&P)"), this);
    fPreviewButton->setObjectName(QStringLiteral("PreviewBtn"));
    fPreviewButton->setAutoDefault(false);
    fScan = new QPushButton(QStringLiteral("スキャン(&S)"), this);
    fScan->setObjectName(QStringLiteral("ScanBtn"));
    fScan->setDefault(true);
    fCancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    fCancelButton->setObjectName(QStringLiteral("CancelBtn"));
    fCancelButton->setAutoDefault(false);
    fClose = new QPushButton(QStringLiteral("閉じる"), this);
    fClose->setObjectName(QStringLiteral("CloseBtn"));
    fClose->setAutoDefault(false);
    connect(fPreviewButton, &QPushButton::clicked, this, [this] { StartScan(true); });
    connect(fScan, &QPushButton::clicked, this, [this] { StartScan(false); });
    connect(fCancelButton, &QPushButton::clicked, this, &TScanDlg::CancelScan);
    connect(fClose, &QPushButton::clicked, this, &TScanDlg::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(fSettings);
    left->addStretch();
    left->addWidget(fStatus);
    left->addWidget(fProgress);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(fPreview, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fPreviewButton);
    buttons->addStretch();
    buttons->addWidget(fScan);
    buttons->addWidget(fCancelButton);
    buttons->addWidget(fClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    SetBusy(false);
}

TScanDlg::~TScanDlg() {
    if (fThread) {
        fCancel = true;
        fThread->wait();
        delete fThread;
    }
}

QString TScanDlg::Mode() const {
    return fMode->currentData().toString();
}
int TScanDlg::Resolution() const {
    return fResolution->currentData().toInt();
}

QRectF TScanDlg::Area() const {
    if (fCaps.MaxArea.isEmpty()) return QRectF();
    const QRectF area(fArea[0]->value(), fArea[1]->value(), fArea[2]->value(), fArea[3]->value());
    return area.intersected(fCaps.MaxArea);
}

void TScanDlg::SetBusy(bool busy) {
    fSettings->setEnabled(!busy);
    fPreviewButton->setEnabled(!busy);
    fScan->setEnabled(!busy);
    fClose->setEnabled(!busy);
    fCancelButton->setEnabled(busy);
    fPreview->SetSelectable(!busy && !fCaps.MaxArea.isEmpty());
    if (busy) fCancelButton->setFocus();
}

bool TScanDlg::ApplyChoices(bool preview) {
    if (fMode->count() > 0) fDevice.SetMode(Mode());
    if (fResolution->count() > 0) {
        // A preview is a quick look: the lowest resolution from 50 dpi up.
        int dpi = Resolution();
        if (preview) {
            dpi = fCaps.Resolutions.isEmpty() ? dpi : fCaps.Resolutions.front();
            for (int r : fCaps.Resolutions)
                if (r >= 50) {
                    dpi = r;
                    break;
                }
        }
        fDevice.SetResolution(dpi);
    }
    if (!fCaps.MaxArea.isEmpty()) {
        const QRectF area = preview ? fCaps.MaxArea : Area();
        if (area.isEmpty()) {
            ShowMessage(QStringLiteral("読み取り範囲を指定してください"));
            return false;
        }
        fDevice.SetArea(area);
    }
    return true;
}

void TScanDlg::StartScan(bool preview) {
    if (fThread) return;
    if (!ApplyChoices(preview)) return;
    fCancel = false;
    fError.clear();
    fProgress->setValue(0);
    fStatus->setText(preview ? QStringLiteral("プレビューを読み取っています…") : QStringLiteral("読み取っています…"));
    SetBusy(true);
    fThread = QThread::create([this] {
        fResult = fDevice.Scan(
            fFrame,
            [this](int percent) {
                QMetaObject::invokeMethod(
                    this, [this, percent] { fProgress->setValue(percent); }, Qt::QueuedConnection);
            },
            fCancel, &fError);
    });
    connect(fThread, &QThread::finished, this, [this, preview] {
        fThread->deleteLater();
        fThread = nullptr;
        ScanFinished(preview, fResult);
    });
    fThread->start();
}

void TScanDlg::ScanFinished(bool preview, TSaneDevice::TResult result) {
    SetBusy(false);
    fStatus->clear();
    if (result == TSaneDevice::TResult::Done) {
        fProgress->setValue(100);
        if (preview) {
            QString error;
            fPreviewImage = TPackedDib::Decode(TPackedDib::FromFrame(fFrame, &error), &error);
            fFrame = TSaneFrame();
            fPreview->SetPicture(fPreviewImage, QRectF(), fCaps.MaxArea.size().toSize() * 10);
            ShowAreaOnPreview();
            emit PreviewReady();
            return;
        }
        const TSaneFrame frame = std::move(fFrame);
        fFrame = TSaneFrame();
        emit Scanned(frame);
        return;
    }
    fProgress->setValue(0);
    if (result == TSaneDevice::TResult::Cancelled)
        fStatus->setText(QStringLiteral("読み取りを中止しました"));
    else
        ShowMessage(fError);
    emit ScanEnded(result, fError);
}

void TScanDlg::AreaFromSelection(const QRect& dragged, QSize box) {
    if (fCaps.MaxArea.isEmpty() || box.isEmpty()) return;
    const QRect r = QRect(QPoint(dragged.left(), dragged.top()),
                          QPoint(dragged.left() + dragged.width(), dragged.top() + dragged.height()))
                        .normalized()
                        .intersected(QRect(QPoint(0, 0), box));
    if (r.width() < 2 || r.height() < 2) return;
    const QRectF& m = fCaps.MaxArea;
    const double sx = m.width() / box.width();
    const double sy = m.height() / box.height();
    const double v[4] = {m.left() + r.left() * sx, m.top() + r.top() * sy, r.width() * sx, r.height() * sy};
    for (int i = 0; i < 4; ++i)
        fArea[i]->setValue(v[i]);
}

void TScanDlg::ShowAreaOnPreview() {
    const QRect box = fPreview->PaintBox();
    const QRectF area = Area();
    if (box.isEmpty() || area.isEmpty() || area == fCaps.MaxArea) return fPreview->ClearSelection();
    const QRectF& m = fCaps.MaxArea;
    const double sx = box.width() / m.width();
    const double sy = box.height() / m.height();
    fPreview->ShowSelection(
        QRectF((area.left() - m.left()) * sx, (area.top() - m.top()) * sy, area.width() * sx, area.height() * sy)
            .toRect());
}

void TScanDlg::reject() {
    // Closing while scanning first stops the scan; the window closes once it has.
    if (fThread) {
        fCancel = true;
        return;
    }
    emit CloseRequested();
}
