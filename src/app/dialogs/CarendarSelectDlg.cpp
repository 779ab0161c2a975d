#include "app/dialogs/CarendarSelectDlg.h"

#include "app/dialogs/Image_Ex.h"

#include <QButtonGroup>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kFolders[TCarendarSelectDlg::kKinds] = {"A4", "A5", "Hagaki", "L", "Meishi"};

QString NoThumbnailText() {
    return QStringLiteral("サムネイルなし");
}

} // namespace

QString TCarendarSelectDlg::KindFolder(int kind) {
    return QStringLiteral("Template/") + QLatin1String(kFolders[kind]);
}

QString TCarendarSelectDlg::KindCaption(int kind) {
    static const QString captions[kKinds] = {QStringLiteral("A4"), QStringLiteral("A5"), QStringLiteral("はがき"),
                                             QStringLiteral("L判"), QStringLiteral("名刺")};
    return captions[kind];
}

TCarendarSelectDlg::TCarendarSelectDlg(const QString& appPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), fAppPath(appPath) {
    setWindowTitle(QStringLiteral("カレンダーウィザード"));

    fTabControl1 = new QTabBar(this);
    fTabControl1->setObjectName(QStringLiteral("TabControl1"));
    fTabControl1->setExpanding(false);
    fTabControl1->setDrawBase(false);
    fTabControl1->setElideMode(Qt::ElideNone);
    fTabControl1->setUsesScrollButtons(false);
    for (int kind = 0; kind < kKinds; ++kind)
        fTabControl1->addTab(KindCaption(kind));

    fStack = new QStackedWidget(this);
    for (int kind = 0; kind < kKinds; ++kind) {
        auto* box = new QScrollArea(fStack);
        box->setObjectName(QStringLiteral("ScrollBox%1").arg(kind + 1));
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setWidgetResizable(false);
        box->setFrameShape(QFrame::StyledPanel);
        box->setBackgroundRole(QPalette::Base);
        fScrollBoxes[size_t(kind)] = box;
        fStack->addWidget(box);
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        fGroups[size_t(kind)] = group;
        connect(group, &QButtonGroup::idClicked, this, [this, kind](int index) { SelectTemplate(kind, index); });
    }
    const int boxWidth =
        2 * kButtonSide + fScrollBoxes[0]->verticalScrollBar()->sizeHint().width() + 2 * fScrollBoxes[0]->frameWidth();
    fStack->setFixedWidth(boxWidth);
    fStack->setMinimumHeight(3 * kButtonSide + 2 * fScrollBoxes[0]->frameWidth());

    auto* previewCaption = new QLabel(QStringLiteral("プレビュー画像"), this);
    auto* previewPanel = new QFrame(this);
    previewPanel->setObjectName(QStringLiteral("Panel1"));
    previewPanel->setFrameShape(QFrame::StyledPanel);
    previewPanel->setFixedSize(kPreviewSide + 2 * previewPanel->frameWidth(),
                               kPreviewSide + 2 * previewPanel->frameWidth());
    previewPanel->setAutoFillBackground(true);
    previewPanel->setBackgroundRole(QPalette::Base);
    auto* noPicture = new QLabel(QStringLiteral("画像なし"), previewPanel);
    noPicture->setAlignment(Qt::AlignCenter);
    noPicture->setForegroundRole(QPalette::PlaceholderText);
    noPicture->setGeometry(previewPanel->contentsRect());
    fImage1 = new TImage_Ex(previewPanel);
    fImage1->setObjectName(QStringLiteral("Image1"));
    fImage1->SetCenter(true);
    fImage1->SetProportional(true);
    fImage1->SetStretch(true);
    fImage1->setGeometry(previewPanel->contentsRect());
    previewCaption->setBuddy(fStack);

    fLabelSX1 = new QLabel(this);
    fLabelSX1->setObjectName(QStringLiteral("LabelSX1"));
    fLabelSX1->setAlignment(Qt::AlignCenter);
    QFont nameFont = fLabelSX1->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
    fLabelSX1->setFont(nameFont);
    fLabelSX1->setTextFormat(Qt::PlainText);

    auto* dateGroup = new QGroupBox(QStringLiteral("カレンダー年月"), this);
    fSpinEditYear = new QSpinBox(dateGroup);
    fSpinEditYear->setObjectName(QStringLiteral("SpinEdit_Year"));
    fSpinEditYear->setRange(1900, 2500);
    // The calendar the user makes is nearly always for the coming months, not a fixed year.
    fSpinEditYear->setValue(DefaultYear());
    fSpinEditMonth = new QSpinBox(dateGroup);
    fSpinEditMonth->setObjectName(QStringLiteral("SpinEdit_Month"));
    fSpinEditMonth->setRange(1, 12);
    fSpinEditMonth->setValue(kDefaultMonth);
    auto* yearLabel = new QLabel(QStringLiteral("年"), dateGroup);
    auto* monthLabel = new QLabel(QStringLiteral("月"), dateGroup);
    yearLabel->setBuddy(fSpinEditYear);
    monthLabel->setBuddy(fSpinEditMonth);
    auto* dateRow = new QHBoxLayout(dateGroup);
    dateRow->addWidget(fSpinEditYear);
    dateRow->addWidget(yearLabel);
    dateRow->addSpacing(12);
    dateRow->addWidget(fSpinEditMonth);
    dateRow->addWidget(monthLabel);
    dateRow->addStretch();
    fYear = fSpinEditYear->value();
    fMonth = fSpinEditMonth->value();
    connect(fSpinEditYear, &QSpinBox::valueChanged, this, [this](int value) { fYear = value; });
    connect(fSpinEditMonth, &QSpinBox::valueChanged, this, [this](int value) { fMonth = value; });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(fTabControl1);
    left->addWidget(fStack, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(previewCaption);
    right->addWidget(previewPanel);
    right->addWidget(fLabelSX1);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addSpacing(8);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(dateGroup);
    bottom->addSpacing(8);
    bottom->addLayout(buttons, 1);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 12, 12, 12);
    main->addLayout(top, 1);
    main->addSpacing(4);
    main->addLayout(bottom);
    setSizeGripEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(fTabControl1, &QTabBar::currentChanged, this, &TCarendarSelectDlg::TabChanged);
}

int TCarendarSelectDlg::DefaultYear() {
    return QDate::currentDate().year();
}

TCarendarSelectDlg::~TCarendarSelectDlg() {
    StopThumbnails();
}

void TCarendarSelectDlg::StopThumbnails() {
    if (!fWorker) return;
    fStop = true;
    fWorker->wait();
    delete fWorker;
    fWorker = nullptr;
    fStop = false;
    // Pictures still on their way belong to lists that are about to be replaced.
    ++fGeneration;
    fPending = 0;
}

int TCarendarSelectDlg::CurrentKind() const {
    return fTabControl1->currentIndex();
}

QAbstractButton* TCarendarSelectDlg::TemplateButton(int kind, int index) const {
    return fGroups[size_t(kind)]->button(index);
}

bool TCarendarSelectDlg::ReadTemplateFolder(const QString& folder, std::vector<TTDataUnit>& list) {
    const QDir dir(folder);
    if (!dir.exists()) return false;
    // Name order, so that the grid looks the same on every machine.
    const QStringList names =
        dir.entryList(QStringList{QStringLiteral("*.*")}, QDir::Files | QDir::Readable, QDir::Name | QDir::LocaleAware);
    for (const QString& name : names) {
        if (!name.endsWith(QLatin1String("tda"))) continue;
        const QString path = dir.filePath(name);
        // An unreadable, short or foreign file is skipped; the others of the folder still count.
        if (!TTDataUnit::IsTemplateFile(path)) continue;
        TTDataUnit unit;
        unit.FTemplatePath = path;
        const QString thumbnail = TTDataUnit::ThumbnailFileFor(path);
        if (QFileInfo(thumbnail).isFile()) unit.FThumbnailPath = thumbnail;
        list.push_back(std::move(unit));
    }
    return true;
}

bool TCarendarSelectDlg::FillTemplateBox(int kind) {
    std::vector<TTDataUnit>& list = fTemplateLists[size_t(kind)];
    list.clear();
    if (!ReadTemplateFolder(fAppPath + KindFolder(kind), list) || list.empty()) return false;
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("TemplateButtons%1").arg(kind + 1));
    // The chosen template must stand out at a glance; the focus shows apart from it.
    content->setStyleSheet(
        QStringLiteral("QToolButton { background: white; border: 1px solid #dde3db; color: #7a857b; }"
                       "QToolButton:hover { background: #f2f8ef; }"
                       "QToolButton:focus { border: 1px dashed #4c925c; }"
                       "QToolButton:checked { background: #d9edd5; border: 3px solid #4c925c; }"));
    const int rows = int(list.size() + 1) / 2;
    content->setFixedSize(2 * kButtonSide, rows * kButtonSide);
    std::vector<TImage_Ex*>& pictures = fButtonPictures[size_t(kind)];
    pictures.clear();
    for (int k = 0; k < int(list.size()); ++k) {
        auto* button = new QToolButton(content);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setGeometry((k % 2) * kButtonSide, kButtonSide * (k / 2), kButtonSide, kButtonSide);
        button->setToolTip(TTDataUnit::DisplayName(list[size_t(k)].FTemplatePath));
        button->setAccessibleName(button->toolTip());
        button->setFocusPolicy(Qt::StrongFocus);
        fGroups[size_t(kind)]->addButton(button, k);
        auto* picture = new TImage_Ex(button);
        picture->setGeometry(kPictureInset, kPictureInset, kButtonSide - 2 * kPictureInset,
                             kButtonSide - 2 * kPictureInset);
        picture->SetCenter(true);
        picture->SetProportional(true);
        picture->SetStretch(true);
        picture->setEnabled(false);
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        pictures.push_back(picture);
        if (list[size_t(k)].FThumbnailPath.isEmpty()) button->setText(NoThumbnailText());
    }
    fScrollBoxes[size_t(kind)]->setWidget(content);
    return true;
}

bool TCarendarSelectDlg::PrepareLists() {
    StopThumbnails();
    int first = -1;
    for (int kind = 0; kind < kKinds; ++kind) {
        fKindAvailable[size_t(kind)] = FillTemplateBox(kind);
        fTabControl1->setTabEnabled(kind, fKindAvailable[size_t(kind)]);
        if (fKindAvailable[size_t(kind)] && first < 0) first = kind;
    }
    if (first < 0) {
        const QString text = QStringLiteral("起動エラー\r\nインストールしなおして下さい");
        if (ShowMessage)
            ShowMessage(text);
        else
            QMessageBox::critical(parentWidget(), windowTitle(), text);
        return false;
    }
    {
        const QSignalBlocker block(fTabControl1);
        fTabControl1->setCurrentIndex(first);
    }
    ShowKind(first);
    // Tab goes from the paper kinds to the grid shown, then on to the year and month.
    QWidget* previous = fTabControl1;
    for (int kind = 0; kind < kKinds; ++kind)
        for (QAbstractButton* button : fGroups[size_t(kind)]->buttons()) {
            setTabOrder(previous, button);
            previous = button;
        }
    setTabOrder(previous, fSpinEditYear);
    StartThumbnails(first);
    return true;
}

void TCarendarSelectDlg::TabChanged(int index) {
    if (index < 0 || index >= kKinds) return;
    if (!fKindAvailable[size_t(index)]) {
        // A kind without templates cannot be chosen: the tab springs back.
        const QSignalBlocker block(fTabControl1);
        fTabControl1->setCurrentIndex(FLastTab);
        return;
    }
    ShowKind(index);
}

void TCarendarSelectDlg::ShowKind(int kind) {
    FLastTab = kind;
    fStack->setCurrentIndex(kind);
    if (QAbstractButton* first = TemplateButton(kind, 0)) first->setChecked(true);
    fScrollBoxes[size_t(kind)]->verticalScrollBar()->setValue(0);
    SelectTemplate(kind, 0);
}

void TCarendarSelectDlg::SelectTemplate(int kind, int index) {
    const std::vector<TTDataUnit>& list = fTemplateLists[size_t(kind)];
    if (index < 0 || index >= int(list.size())) return;
    fSelected = index;
    const TTDataUnit& unit = list[size_t(index)];
    ShowPreview(&unit);
    fFilePath = unit.FTemplatePath;
    fLabelSX1->setText(TTDataUnit::DisplayName(unit.FTemplatePath));
    if (QAbstractButton* button = TemplateButton(kind, index))
        fScrollBoxes[size_t(kind)]->ensureWidgetVisible(button, 0, 0);
}

void TCarendarSelectDlg::ShowPreview(const TTDataUnit* unit) {
    fImage1->SetPicture(unit ? unit->FThumbnail : QImage());
}

void TCarendarSelectDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The chosen template's button takes the keyboard, so arrows move through the grid at once.
    if (QAbstractButton* button = TemplateButton(CurrentKind(), fSelected)) button->setFocus();
}

void TCarendarSelectDlg::StartThumbnails(int firstKind) {
    struct TJob {
        int Kind;
        int Index;
        QString Path;
    };
    std::vector<TJob> jobs;
    // The tab shown first gets its pictures first.
    for (int step = 0; step < kKinds; ++step) {
        const int kind = (firstKind + step) % kKinds;
        const std::vector<TTDataUnit>& list = fTemplateLists[size_t(kind)];
        for (int k = 0; k < int(list.size()); ++k)
            if (!list[size_t(k)].FThumbnailPath.isEmpty()) jobs.push_back({kind, k, list[size_t(k)].FThumbnailPath});
    }
    fPending = int(jobs.size());
    if (jobs.empty()) {
        emit ThumbnailsLoaded();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    fWorker = QThread::create([this, jobs = std::move(jobs), ratio, generation = fGeneration] {
        const QSize previewFit(kPreviewSide, kPreviewSide);
        const QSize buttonFit(kButtonSide - 2 * kPictureInset, kButtonSide - 2 * kPictureInset);
        for (const TJob& job : jobs) {
            if (fStop) return;
            const TTDataUnit::TThumbnails pictures = TTDataUnit::LoadThumbnail(job.Path, previewFit, buttonFit, ratio);
            // Delivered on the dialog's own thread; a dialog destroyed first drops the call.
            QMetaObject::invokeMethod(
                this,
                [this, generation, kind = job.Kind, index = job.Index, pictures] {
                    if (generation == fGeneration) ThumbnailArrived(kind, index, pictures.Preview, pictures.Button);
                },
                Qt::QueuedConnection);
        }
    });
    fWorker->start(QThread::LowPriority);
}

void TCarendarSelectDlg::ThumbnailArrived(int kind, int index, const QImage& preview, const QImage& button) {
    std::vector<TTDataUnit>& list = fTemplateLists[size_t(kind)];
    if (index < int(list.size())) {
        TTDataUnit& unit = list[size_t(index)];
        unit.FThumbnail = preview;
        unit.FButtonImage = button;
        unit.FNoThumbnail = preview.isNull();
        SetButtonPicture(kind, index);
        if (kind == CurrentKind() && index == fSelected) ShowPreview(&unit);
    }
    if (fPending > 0 && --fPending == 0) emit ThumbnailsLoaded();
}

void TCarendarSelectDlg::SetButtonPicture(int kind, int index) {
    const TTDataUnit& unit = fTemplateLists[size_t(kind)][size_t(index)];
    if (size_t(index) < fButtonPictures[size_t(kind)].size())
        fButtonPictures[size_t(kind)][size_t(index)]->SetPicture(unit.FButtonImage);
    if (QAbstractButton* button = TemplateButton(kind, index))
        button->setText(unit.FNoThumbnail ? NoThumbnailText() : QString());
}

void TCarendarSelectDlg::paintEvent(QPaintEvent*) {
    // A quiet background: morning light from the top left fading into pale green.
    QPainter p(this);
    QLinearGradient g(QPointF(0, 0), QPointF(width() * 0.4, height()));
    g.setColorAt(0, QColor(252, 251, 243));
    g.setColorAt(1, QColor(232, 242, 230));
    p.fillRect(rect(), g);
}
