#include "platform/SystemPrinter.h"

#include <QSizeF>
#include <gtest/gtest.h>

TEST(SystemPrinterTest, EveryOfferedSizeCanBeChosenAgainByItsNumber) {
    // Printers list standard sizes and sizes of their own (card sheets often are the latter).
    const QList<QPageSize> sizes{
        QPageSize(QPageSize::A4),
        QPageSize(QSizeF(120, 160), QPageSize::Millimeter, QStringLiteral("CardSheet"), QPageSize::ExactMatch),
        QPageSize(QSizeF(91, 55), QPageSize::Millimeter, QStringLiteral("Meishi"), QPageSize::ExactMatch),
        QPageSize(QPageSize::A5),
    };
    ASSERT_EQ(sizes[1].id(), QPageSize::Custom);
    ASSERT_EQ(sizes[2].id(), QPageSize::Custom);
    const std::vector<TPrinterPaper> papers = TSystemPrinter::NumberPapers(sizes);
    ASSERT_EQ(papers.size(), sizes.size() + 1);
    EXPECT_EQ(papers.back().Number, TPrinterMetricsProvider::kUserPaper);
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const TPrinterPaper& p = papers[size_t(i)];
        EXPECT_NE(p.Number, TPrinterMetricsProvider::kUserPaper);
        const QPageSize back = TSystemPrinter::SizeForNumber(sizes, p.Number);
        ASSERT_TRUE(back.isValid()) << i;
        EXPECT_TRUE(back.isEquivalentTo(sizes[i])) << i;
    }
    EXPECT_EQ(papers[1].Width, 1200);
    EXPECT_EQ(papers[1].Height, 1600);
    EXPECT_NE(papers[1].Number, papers[2].Number);
    // Numbers that name nothing select nothing.
    for (int number : {0, -3, int(QPageSize::Custom) + 1, TSystemPrinter::kOwnPaperBase + 9})
        EXPECT_FALSE(TSystemPrinter::SizeForNumber(sizes, number).isValid()) << number;
}
