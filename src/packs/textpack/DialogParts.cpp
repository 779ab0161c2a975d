#include "DialogParts.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

QComboBox* TDialogParts::Choices(QWidget* parent, std::initializer_list<const char16_t*> items, int current) {
    auto* box = new QComboBox(parent);
    for (const char16_t* item : items)
        box->addItem(QString::fromUtf16(item));
    box->setCurrentIndex(std::clamp(current, 0, box->count() - 1));
    return box;
}

QDialogButtonBox* TDialogParts::OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDialogButtonBox* TDialogParts::ArrangeWithPreview(QDialog* dialog, QLayout* settings, QWidget* preview) {
    auto* previewGroup = new QGroupBox(QStringLiteral("プレビュー"), dialog);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(preview);
    QDialogButtonBox* buttons = OkCancel(dialog);
    auto* columns = new QHBoxLayout;
    columns->addLayout(settings);
    columns->addWidget(previewGroup, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    return buttons;
}

void TDialogParts::Name(std::initializer_list<std::pair<QWidget*, const char*>> names) {
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));
}

QImage TDialogParts::Backdrop(const QWidget* pane, QSize area, qreal pixelRatio) {
    QImage picture(area * pixelRatio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(pane->palette().color(QPalette::Mid));
    return picture;
}

double TDialogParts::FitZoom(QSize area, double boxWidth, double boxHeight, int margin) {
    return std::clamp(std::min((area.width() - 2.0 * margin) / boxWidth, (area.height() - 2.0 * margin) / boxHeight),
                      0.05, 4.0);
}

void TDialogParts::Centre(QImage& backdrop, QSize area, const QImage& page, QSize view) {
    QPainter p(&backdrop);
    p.drawImage((area.width() - view.width()) / 2, (area.height() - view.height()) / 2, page);
}
