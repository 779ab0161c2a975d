#include "StartCheckDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* BigChoice(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    button->setFont(font);
    button->setMinimumSize(220, 96);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

TStartCheckDialog::TStartCheckDialog(const QString& templateCaption, const QString& savedCaption, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("こもれびごよみ印刷"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("はじめに、開くものを選んでください。"), this));

    auto* choices = new QHBoxLayout;
    QPushButton* templ = BigChoice(templateCaption, this);
    QPushButton* saved = BigChoice(savedCaption, this);
    choices->addWidget(templ);
    choices->addWidget(saved);
    layout->addLayout(choices, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* quit = buttons->addButton(QStringLiteral("終了"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    // Enter opens a template, the usual start; Escape or 終了 ends the program.
    templ->setDefault(true);
    templ->setFocus();
    setTabOrder(templ, saved);
    setTabOrder(saved, quit);
    connect(templ, &QPushButton::clicked, this, [this] {
        fChoice = 1;
        accept();
    });
    connect(saved, &QPushButton::clicked, this, [this] {
        fChoice = 2;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
