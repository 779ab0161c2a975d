#include "SaveTwainImageDialog.h"

#include <QDialogButtonBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TSaveTwainImageDialog::TSaveTwainImageDialog(const QString& picturePath, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("読み込んだ画像"));
    auto* layout = new QVBoxLayout(this);

    QImageReader reader(picturePath);
    const QSize size = reader.size();
    // Scale while reading: a full-page scan must not be decoded at full size just for a preview.
    if (size.isValid()) reader.setScaledSize(size.scaled(320, 240, Qt::KeepAspectRatio));
    const QImage preview = reader.read();
    if (!preview.isNull()) {
        auto* picture = new QLabel(this);
        picture->setPixmap(QPixmap::fromImage(preview));
        picture->setAlignment(Qt::AlignCenter);
        picture->setFrameShape(QFrame::StyledPanel);
        layout->addWidget(picture, 1);
    }
    layout->addWidget(new QLabel(QStringLiteral("読み込んだ画像をどのように使いますか。"), this));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* image = buttons->addButton(QStringLiteral("画像として貼り付ける(&I)"), QDialogButtonBox::AcceptRole);
    QPushButton* back = buttons->addButton(QStringLiteral("背景にする(&B)"), QDialogButtonBox::AcceptRole);
    QPushButton* discard = buttons->addButton(QStringLiteral("使わない(&N)"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    // Enter adds an image object: it can be undone, a replaced background cannot.
    image->setDefault(true);
    image->setFocus();
    setTabOrder(image, back);
    setTabOrder(back, discard);
    connect(image, &QPushButton::clicked, this, [this] {
        fChoice = 2;
        accept();
    });
    connect(back, &QPushButton::clicked, this, [this] {
        fChoice = 1;
        accept();
    });
    connect(discard, &QPushButton::clicked, this, &QDialog::reject);
}
