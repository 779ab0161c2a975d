#include "CalendarSetDialog.h"

#include "ColorButton.h"
#include "DialogParts.h"
#include "FaceComboBox.h"
#include "NumberSpinBox.h"
#include "PreviewPane.h"
#include "objects/PriLabel.h"
#include "platform/Cp932.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// The colour fields of one day class: number colour and the backgrounds of both sets.
struct TClassColors {
    const char16_t* Name;
    TColor TPriCarendar::*Text;
    TColor TPriCarendar::*Back1;
    TColor TPriCarendar::*Back2;
};

constexpr std::array<TClassColors, 4> kClasses{{
    {u"平日", &TPriCarendar::DayColor, &TPriCarendar::DaybackColor1, &TPriCarendar::DaybackColor2},
    {u"土曜日", &TPriCarendar::SatColor, &TPriCarendar::SatbackColor1, &TPriCarendar::SatbackColor2},
    {u"日曜日", &TPriCarendar::SunColor, &TPriCarendar::SunbackColor1, &TPriCarendar::SunbackColor2},
    {u"祝日", &TPriCarendar::HoliColor, &TPriCarendar::HolibackColor1, &TPriCarendar::HolibackColor2},
}};

// Gives the preview the calendar's own holidays: the list is handed over through a file, the
// only way a calendar takes one.
bool CopyHolidays(const TPriCarendar& from, TPriCarendar& to) {
    const THolidayList* list = from.HolidayList();
    if (!from.HolidayCheck() || !list) return false;
    QByteArray bytes;
    for (int month = 1; month <= 12; ++month)
        for (const std::string& line : list->MonthLines(month))
            bytes.append(line.data(), qsizetype(line.size())).append("\r\n");
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) return false;
    to.LoadHoliday(file.fileName());
    return to.HolidayCheck();
}

} // namespace

TCalendarSetDialog::TCalendarSetDialog(const TPriCarendar& calendar, const QString& holidayFile, QWidget* parent)
    : QDialog(parent), fOriginalSide(calendar.SidePos), fOriginalLong(calendar.LongPos) {
    setWindowTitle(QStringLiteral("カレンダーの設定"));
    fWork.AssignObject(&calendar);
    fWork.BackImage = nullptr;
    fWork.SetForcusCheck(false);
    fWork.SetBaseSize(calendar.BaseSize());
    fWork.SetAlmanacTable(calendar.AlmanacTable());
    if (!CopyHolidays(calendar, fWork) && !holidayFile.isEmpty()) fWork.LoadHoliday(holidayFile);
    fWork.MakeDayTable();

    auto* dateForm = new QFormLayout;
    BuildDateGroup(dateForm);
    auto* lookForm = new QFormLayout;
    BuildLookGroup(lookForm);
    auto* dateGroup = new QGroupBox(QStringLiteral("日付と並び"), this);
    dateGroup->setLayout(dateForm);
    auto* lookGroup = new QGroupBox(QStringLiteral("数字"), this);
    lookGroup->setLayout(lookForm);
    auto* colorGroup = new QGroupBox(QStringLiteral("色"), this);
    colorGroup->setLayout(BuildColorGrid());

    auto* almanacGroup = new QGroupBox(QStringLiteral("暦注"), this);
    almanacGroup->setLayout(BuildAlmanacGrid());

    auto* first = new QVBoxLayout;
    first->addWidget(dateGroup);
    first->addWidget(lookGroup);
    first->addStretch();
    auto* second = new QVBoxLayout;
    second->addWidget(colorGroup);
    second->addWidget(almanacGroup);
    second->addStretch();
    auto* left = new QHBoxLayout;
    left->addLayout(first);
    left->addLayout(second);

    fPreview = new TPreviewPane([this](QSize area, qreal ratio) { return RenderPreview(area, ratio); }, this);
    fPreview->setMinimumSize(380, 300);
    fButtons = TDialogParts::ArrangeWithPreview(this, left, fPreview);

    // Names for the keyboard tests and accessibility tools.
    TDialogParts::Name({{fYear, "year"},
                        {fMonth, "month"},
                        {fType, "type"},
                        {fStart, "start"},
                        {fRows, "rows"},
                        {fSide, "side"},
                        {fLong, "long"},
                        {fFace, "face"},
                        {fSize, "size"},
                        {fGrid, "grid"},
                        {fTransparent, "transparent"},
                        {fPreview, "preview"}});
    for (size_t r = 0; r < fColors.size(); ++r)
        for (size_t c = 0; c < 3; ++c)
            fColors[r][c]->setObjectName(QStringLiteral("color%1%2").arg(r).arg(c));
    Changed();
    fYear->setFocus();
}

TCalendarSetDialog::~TCalendarSetDialog() = default;

void TCalendarSetDialog::BuildDateGroup(QFormLayout* form) {
    fYear = new TNumberSpinBox(1583, 9999, this);
    fYear->setValue(fWork.Year());
    fYear->setGroupSeparatorShown(false);
    fYear->setSuffix(QStringLiteral(" 年"));
    fMonth = new TNumberSpinBox(1, 12, this);
    fMonth->setValue(fWork.Month());
    fMonth->setWrapping(true);
    fMonth->setSuffix(QStringLiteral(" 月"));
    auto* date = new QHBoxLayout;
    date->addWidget(fYear);
    date->addWidget(fMonth);
    date->addStretch();
    auto* dateLabel = new QLabel(QStringLiteral("年月(&Y):"), this);
    dateLabel->setBuddy(fYear);
    form->addRow(dateLabel, date);

    fType = TDialogParts::Choices(this, {u"月間（7列）", u"横一列（31日）", u"縦一列（31日）", u"日付なし"},
                                  int(fWork.CarenType()));
    form->addRow(QStringLiteral("種類(&T):"), fType);
    fStart = TDialogParts::Choices(this, {u"日曜日", u"月曜日"}, int(fWork.StartYoubi()));
    form->addRow(QStringLiteral("週の始まり(&W):"), fStart);
    fRows = TDialogParts::Choices(this, {u"5行", u"6行"}, int(fWork.StepCount));
    form->addRow(QStringLiteral("行数(&R):"), fRows);

    connect(fYear, &QSpinBox::valueChanged, this, &TCalendarSetDialog::Changed);
    connect(fMonth, &QSpinBox::valueChanged, this, &TCalendarSetDialog::Changed);
    for (QComboBox* box : {fType, fStart, fRows})
        connect(box, &QComboBox::currentIndexChanged, this, &TCalendarSetDialog::Changed);
}

void TCalendarSetDialog::BuildLookGroup(QFormLayout* form) {
    // A cell offers the three placements; the spreading values a record may carry draw centred.
    const auto placement = [](int value) { return value > 2 ? 1 : value; };
    fSide = TDialogParts::Choices(this, {u"左", u"中央", u"右"}, placement(int(fWork.SidePos)));
    fLong = TDialogParts::Choices(this, {u"上", u"中央", u"下"}, placement(int(fWork.LongPos)));
    auto* place = new QHBoxLayout;
    place->addWidget(fSide);
    place->addWidget(fLong);
    place->addStretch();
    auto* placeLabel = new QLabel(QStringLiteral("位置(&L):"), this);
    placeLabel->setBuddy(fSide);
    form->addRow(placeLabel, place);
    fSide->setAccessibleName(QStringLiteral("横の位置"));
    fLong->setAccessibleName(QStringLiteral("縦の位置"));

    fFace = new TFaceComboBox(fWork.FontName, this);
    form->addRow(QStringLiteral("書体(&F):"), fFace);
    fSize = new TNumberSpinBox(1, 999, this);
    fSize->setSuffix(QStringLiteral(" pt"));
    fSize->setValue(fWork.SameFSize);
    form->addRow(QStringLiteral("サイズ(&Z):"), fSize);

    connect(fSide, &QComboBox::currentIndexChanged, this, [this] {
        fSideTouched = true;
        Changed();
    });
    connect(fLong, &QComboBox::currentIndexChanged, this, [this] {
        fLongTouched = true;
        Changed();
    });
    connect(fFace, &QComboBox::currentTextChanged, this, &TCalendarSetDialog::Changed);
    connect(fSize, &QSpinBox::valueChanged, this, &TCalendarSetDialog::Changed);
}

QGridLayout* TCalendarSetDialog::BuildColorGrid() {
    auto* grid = new QGridLayout;
    const QStringList heads{QStringLiteral("数字"), QStringLiteral("背景 1"), QStringLiteral("背景 2")};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(heads[c], this), 0, c + 1, Qt::AlignHCenter);
    for (size_t r = 0; r < kClasses.size(); ++r) {
        const TClassColors& k = kClasses[r];
        const QString name = QString::fromUtf16(k.Name);
        grid->addWidget(new QLabel(name, this), int(r) + 1, 0);
        const std::array<TColor TPriCarendar::*, 3> fields{k.Text, k.Back1, k.Back2};
        for (size_t c = 0; c < 3; ++c) {
            auto* button = new TColorButton(
                QString(), name + QStringLiteral("の") + heads[int(c)] + (c == 0 ? QStringLiteral("の色") : QString()),
                this);
            button->SetColor(fWork.*fields[c]);
            connect(button, &TColorButton::ColorChanged, this, &TCalendarSetDialog::Changed);
            fColors[r][c] = button;
            grid->addWidget(button, int(r) + 1, int(c) + 1);
        }
    }
    fGrid = new QCheckBox(QStringLiteral("罫線を引く(&G)"), this);
    fGrid->setChecked(fWork.GridCheck);
    fTransparent = new QCheckBox(QStringLiteral("背景を塗らない(&A)"), this);
    fTransparent->setChecked(fWork.TransParent);
    grid->addWidget(fGrid, 5, 0, 1, 2);
    grid->addWidget(fTransparent, 5, 2, 1, 2);
    connect(fGrid, &QCheckBox::toggled, this, &TCalendarSetDialog::Changed);
    connect(fTransparent, &QCheckBox::toggled, this, &TCalendarSetDialog::Changed);
    return grid;
}

QGridLayout* TCalendarSetDialog::BuildAlmanacGrid() {
    struct TItem {
        uint32_t Bit;
        const char16_t* Name;
    };
    // In the order of the colours they own.
    static constexpr std::array<TItem, TObjectExtras::kAlmanacColors> kItems{{
        {TObjectExtras::aiRokuyou, u"六曜(&K)"},
        {TObjectExtras::aiSolarTerms, u"二十四節気(&N)"},
        {TObjectExtras::aiZassetsu, u"雑節(&J)"},
        {TObjectExtras::aiMoonPhases, u"新月・満月(&M)"},
        {TObjectExtras::aiMoonAge, u"月齢(&E)"},
        {TObjectExtras::aiLunarDate, u"旧暦の日付(&O)"},
        {TObjectExtras::aiFamilyDays, u"記念日(&D)"},
    }};
    auto* grid = new QGridLayout;
    const TObjectExtras& e = fWork.Extras;
    for (size_t i = 0; i < kItems.size(); ++i) {
        auto* check = new QCheckBox(QString::fromUtf16(kItems[i].Name), this);
        check->setChecked(e.AlmanacItems & kItems[i].Bit);
        const QString plain = check->text().left(check->text().indexOf(QLatin1Char('(')));
        auto* color = new TColorButton(QString(), plain + QStringLiteral("の色"), this);
        color->SetColor(e.AlmanacColors[i]);
        color->setAccessibleName(plain + QStringLiteral("の色"));
        color->setObjectName(QStringLiteral("noteColor%1").arg(i));
        check->setObjectName(QStringLiteral("note%1").arg(i));
        fNoteChecks.emplace_back(kItems[i].Bit, check);
        fNoteColors[i] = color;
        const int row = int(i) / 2, column = int(i) % 2 * 2;
        grid->addWidget(check, row, column);
        grid->addWidget(color, row, column + 1);
        connect(check, &QCheckBox::toggled, this, &TCalendarSetDialog::Changed);
        connect(color, &TColorButton::ColorChanged, this, &TCalendarSetDialog::Changed);
    }
    auto* years = new QCheckBox(QStringLiteral("記念日に年数を付ける(&B)"), this);
    years->setObjectName(QStringLiteral("noteYears"));
    years->setChecked(e.AlmanacItems & TObjectExtras::aiFamilyYears);
    fNoteChecks.emplace_back(TObjectExtras::aiFamilyYears, years);
    connect(years, &QCheckBox::toggled, this, &TCalendarSetDialog::Changed);
    grid->addWidget(years, 3, 2, 1, 2);

    fNoteSize = new TNumberSpinBox(TObjectExtras::kMinAlmanacSize, TObjectExtras::kMaxAlmanacSize, this);
    fNoteSize->setObjectName(QStringLiteral("noteSize"));
    fNoteSize->setSuffix(QStringLiteral(" pt"));
    fNoteSize->setValue(e.AlmanacSize);
    auto* sizeLabel = new QLabel(QStringLiteral("文字サイズ(&S):"), this);
    sizeLabel->setBuddy(fNoteSize);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(fNoteSize);
    sizeRow->addStretch();
    grid->addLayout(sizeRow, 4, 0, 1, 4);
    connect(fNoteSize, &QSpinBox::valueChanged, this, &TCalendarSetDialog::Changed);
    return grid;
}

void TCalendarSetDialog::ApplyTo(TPriCarendar& calendar) const {
    calendar.SetCarenType(TCarenType(fType->currentIndex()));
    calendar.SetStartYoubi(TStartYoubi(fStart->currentIndex()));
    calendar.SetYear(fYear->value());
    calendar.SetMonth(fMonth->value());
    calendar.StepCount = TStepCount(fRows->currentIndex());
    // A spreading placement the user left alone stays as the record had it.
    calendar.SidePos = fSideTouched ? TPriCarendar::TSidePos(fSide->currentIndex()) : fOriginalSide;
    calendar.LongPos = fLongTouched ? TPriCarendar::TLongPos(fLong->currentIndex()) : fOriginalLong;
    calendar.FontName = fFace->Face();
    calendar.SameFSize = fSize->value();
    for (size_t r = 0; r < kClasses.size(); ++r) {
        calendar.*kClasses[r].Text = fColors[r][0]->Color();
        calendar.*kClasses[r].Back1 = fColors[r][1]->Color();
        calendar.*kClasses[r].Back2 = fColors[r][2]->Color();
    }
    calendar.GridCheck = fGrid->isChecked();
    calendar.TransParent = fTransparent->isChecked();
    TObjectExtras& e = calendar.Extras;
    // Bits a later program set and this dialog does not show stay as they were.
    for (const auto& [bit, check] : fNoteChecks)
        e.AlmanacItems = check->isChecked() ? e.AlmanacItems | bit : e.AlmanacItems & ~bit;
    for (size_t i = 0; i < fNoteColors.size(); ++i)
        e.AlmanacColors[i] = fNoteColors[i]->Color();
    e.AlmanacSize = fNoteSize->value();
    calendar.MakeDayTable();
}

void TCalendarSetDialog::Changed() {
    ApplyTo(fWork);
    const bool painted = !fTransparent->isChecked();
    for (auto& row : fColors) {
        row[1]->setEnabled(painted);
        row[2]->setEnabled(painted);
    }
    bool family = false;
    for (size_t i = 0; i < fNoteChecks.size(); ++i) {
        const bool on = fNoteChecks[i].second->isChecked();
        if (i < fNoteColors.size()) fNoteColors[i]->setEnabled(on);
        if (fNoteChecks[i].first == TObjectExtras::aiFamilyDays) family = on;
        if (fNoteChecks[i].first == TObjectExtras::aiFamilyYears) fNoteChecks[i].second->setEnabled(family);
    }
    // Rows only shape the month grid.
    fRows->setEnabled(fType->currentIndex() == int(TCarenType::caNormal));
    const QString face = fFace->Face();
    fButtons->button(QDialogButtonBox::Ok)
        ->setEnabled(!face.isEmpty() && TCp932::CanEncode(face) &&
                     TCp932::Encode(face).size() < TPriLabel::kMaxFaceBytes);
    fPreview->Refresh();
}

QImage TCalendarSetDialog::RenderPreview(QSize area, qreal pixelRatio) {
    QImage picture = TDialogParts::Backdrop(this, area, pixelRatio);
    const int s = TPriBase::iScreenInch() > 0 ? TPriBase::iScreenInch() : 96;
    QSize store = fWork.GetStoreSize();
    if (store.width() <= 0 || store.height() <= 0) store = QSize(1000, 700);
    // The calendar's box at 100 % with a margin round it, shown at the zoom that fits the pane.
    const int margin = 10;
    const double bw = store.width() / 254.0 * s, bh = store.height() / 254.0 * s;
    const double z = TDialogParts::FitZoom(area, bw, bh, margin);
    const QSize box(std::max(1, int(std::lround(bw * z))), std::max(1, int(std::lround(bh * z))));
    const QSize view(box.width() + 2 * margin, box.height() + 2 * margin);
    QImage page(view * pixelRatio, QImage::Format_RGB32);
    page.setDevicePixelRatio(pixelRatio);
    page.fill(Qt::white);
    fWork.BackImage = &page;
    // Day numbers scale with the page bitmap's height over the paper's: the zoom of the pane.
    fWork.SetBaseSize(QPoint(int(std::lround(view.width() / z)), int(std::lround(view.height() / z))));
    fWork.SetBounds(margin, margin, box.width(), box.height());
    {
        QPainter p(&page);
        fWork.DrawObject(bmLayout, p);
        if (fWork.CarenType() == TCarenType::caSchedule || !fWork.GridCheck) {
            p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
            p.drawRect(margin - 1, margin - 1, box.width() + 1, box.height() + 1);
        }
    }
    fWork.BackImage = nullptr;
    TDialogParts::Centre(picture, area, page, view);
    return picture;
}
