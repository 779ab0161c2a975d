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
