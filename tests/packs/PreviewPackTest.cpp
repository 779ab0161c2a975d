// The preview dialog of the paper pack, reached through the real loader.
#include "ModalDriver.h"

#include "platform/PackLibrary.h"
#include "print/PrintPreview.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kAppDir = QStringLiteral(KOMOREBI_APP_DIR "/");

} // namespace

TEST(PreviewPackTest, TurnsPagesAndAnswersPrint) {
    TPrintPreview pages(QSize(800, 1100), 100, 100);
    pages.BeginDoc();
    for (int i = 0; i < 3; ++i) {
        if (i) pages.NewPage();
        pages.GetCanvas().fillRect(QRect(100, 100, 200, 200), Qt::blue);
    }
    pages.EndDoc();
    TPackLibrary packs(kAppDir);
    for (bool print : {false, true}) {
        SCOPED_TRACE(print);
        QStringList seen;
        OnNextModal([&](QWidget* dialog) {
            const QList<QLabel*> label = dialog->findChildren<QLabel*>();
            for (QLabel* l : label)
                if (l->text().contains(QStringLiteral("ページ"))) seen << l->text();
            PressKey(dialog, Qt::Key_PageDown);
            PressKey(dialog, Qt::Key_PageDown);
            PressKey(dialog, Qt::Key_PageDown);
            for (QLabel* l : label)
                if (l->text().contains(QStringLiteral("ページ"))) seen << l->text();
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text().startsWith(print ? QStringLiteral("印刷") : QStringLiteral("閉じる"))) b->click();
        });
        QStringList files;
        const TDlgAnswer answer = packs.PrintPreviewDlg(&pages, 10, 10, 10, 10, 794, 1123, files, 0, 0, true, 0x0000FF);
        EXPECT_TRUE(answer.Called);
        EXPECT_EQ(bool(answer), print);
        EXPECT_EQ(seen, (QStringList{QStringLiteral("1 / 3 ページ"), QStringLiteral("3 / 3 ページ")}));
    }
}

// The job's warnings show under the sheet; a job without any shows no line for them.
TEST(PreviewPackTest, ShowsTheJobsWarnings) {
    TPrintPreview pages(QSize(800, 1100), 100, 100);
    pages.BeginDoc();
    pages.EndDoc();
    TPackLibrary packs(kAppDir);
    QStringList many;
    for (int i = 1; i <= 5; ++i)
        many << QStringLiteral("レコード「K%1」の郵便番号「12-345」は7桁ではありません").arg(i);
    for (const QStringList& warnings : {QStringList(), many}) {
        pages.SetWarnings(warnings);
        QString shown;
        bool visible = true;
        OnNextModal([&](QWidget* dialog) {
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("PreviewWarnings"));
            ASSERT_NE(label, nullptr);
            visible = label->isVisibleTo(dialog);
            shown = label->text();
            PressKey(dialog, Qt::Key_Escape);
        });
        QStringList files;
        packs.PrintPreviewDlg(&pages, 10, 10, 10, 10, 794, 1123, files, 0, 0, true, 0x0000FF);
        EXPECT_EQ(visible, !warnings.isEmpty());
        if (warnings.isEmpty()) continue;
        EXPECT_TRUE(shown.contains(QStringLiteral("レコード「K1」"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("ほか 2 件"))) << shown.toStdString();
    }
}
