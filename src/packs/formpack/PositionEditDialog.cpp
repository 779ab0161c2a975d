#include "PositionEditDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TPositionEditDialog::TPositionEditDialog(int objectCount, QWidget* parent)
    : QDialog(parent), fGroup(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("位置の調整"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("選択中の %1 個のオブジェクトをそろえます。").arg(objectCount), this));

    struct TChoice {
        TAlignKind Kind;
        const char16_t* Caption;
        int Row, Column;
    };
    const TChoice edges[] = {
        {TAlignKind::Left, u"左端をそろえる(&L)", 0, 0},
        {TAlignKind::Top, u"上端をそろえる(&T)", 0, 1},
        {TAlignKind::Right, u"右端をそろえる(&R)", 1, 0},
        {TAlignKind::Bottom, u"下端をそろえる(&B)", 1, 1},
        {TAlignKind::HorzCenter, u"左右の中央をそろえる(&C)", 2, 0},
        {TAlignKind::VertCenter, u"上下の中央をそろえる(&M)", 2, 1},
    };
    const TChoice sizes[] = {
        {TAlignKind::SameWidth, u"幅を最初のオブジェクトに合わせる(&W)", 0, 0},
        {TAlignKind::SameHeight, u"高さを最初のオブジェクトに合わせる(&H)", 1, 0},
        {TAlignKind::SpaceHorz, u"左右に等間隔で並べる(&X)", 0, 1},
        {TAlignKind::SpaceVert, u"上下に等間隔で並べる(&Y)", 1, 1},
    };
    QRadioButton* firstButton = nullptr;
    auto addGroup = [&](const QString& title, const auto& choices) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        for (const TChoice& c : choices) {
            auto* button = new QRadioButton(QString::fromUtf16(c.Caption), box);
            fGroup->addButton(button, int(c.Kind));
            grid->addWidget(button, c.Row, c.Column);
            if (firstButton == nullptr) firstButton = button;
        }
        layout->addWidget(box);
    };
    addGroup(QStringLiteral("位置"), edges);
    addGroup(QStringLiteral("大きさと間隔"), sizes);
    firstButton->setChecked(true);
    firstButton->setFocus();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TAlignKind TPositionEditDialog::Kind() const {
    return TAlignKind(fGroup->checkedId());
}
