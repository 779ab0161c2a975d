#include "app/dialogs/PrintProgressDlg.h"
#include "document/PriDocument.h"
#include "print/PrintPipeline.h"
#include "support/BoxObject.h"
#include "support/FixedPrinter.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(PrintProgressDlgTest, CancelStopsTheBuildAndLeavesNothingRecording) {
    TPriDocument doc{QString()};
    // 2 x 5 business cards: ten seats, ten steps.
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 140, 110, 0, 0, 100, 0, 2, 5, 910, 550});
    auto box = std::make_unique<TBoxObject>();
    box->SetStoreRect({0, 0, 100, 100});
    doc.AppendObject(std::move(box));

    QWidget window;
    TPrintProgressDlg progress(&window);
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("転送中"));
    EXPECT_EQ(progress.Label()->text(), QStringLiteral("ページを作成中"));
    // Escape does not close it: only the build ends it.
    progress.show();
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());

    TPrintPipeline pipeline(doc, TFixedPrinter::A4At600(), &progress);
    EXPECT_TRUE(pipeline.BuildPrintPages());
    EXPECT_EQ(progress.Bar()->value(), 10);
    EXPECT_EQ(progress.Bar()->maximum(), 10);

    // A click arriving while the build runs is seen at the next seat.
    QTimer::singleShot(0, progress.CancelButton(), [&] { QTest::mouseClick(progress.CancelButton(), Qt::LeftButton); });
    EXPECT_FALSE(pipeline.BuildPrintPages());
    EXPECT_TRUE(pipeline.Cancelled());
    EXPECT_TRUE(progress.CancelFlg());
    EXPECT_EQ(progress.Label()->text(), QStringLiteral("取り消し中..."));
    EXPECT_FALSE(pipeline.Pages().Printing());
}
