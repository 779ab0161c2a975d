#include "print/RyPrinter.h"

#include <QPageSize>
#include <QPrinter>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

// Printers as a test sets them up.
class TFakePrinterSystem : public TRyPrinterSystem {
public:
    QList<TRyPrinterEntry> List;
    QString Current;
    std::map<QString, QString> PortOf;
    QList<QPageSize> Sizes{QPageSize(QPageSize::A4), QPageSize(QPageSize::B5), QPageSize(QPageSize::Letter)};
    QPageSize Paper{QPageSize::B5};
    int Caps = TRyPrinter::dcPaperSize | TRyPrinter::dcCopies;
    int SizeReads = 0;

    QList<TRyPrinterEntry> Printers() const override { return List; }
    QString CurrentName() const override { return Current; }
    void SetCurrentName(const QString& name) override { Current = name; }
    QString Port(const QString& name) const override {
        auto it = PortOf.find(name);
        return it == PortOf.end() ? QString() : it->second;
    }
    QStringList Ports() const override {
        QStringList out;
        for (const auto& [name, port] : PortOf)
            out << port;
        return out;
    }
    QList<QPageSize> PaperSizes(const QString&) const override {
        ++const_cast<TFakePrinterSystem*>(this)->SizeReads;
        return Sizes;
    }
    QPageSize CurrentPaper() const override { return Paper; }
    int Capabilities(const QString&) const override { return Caps; }
    int ResolutionCount(const QString&) const override { return 2; }
    int MaxCopies(const QString&) const override { return 99; }
};

struct TSetup {
    TFakePrinterSystem* System;
    std::unique_ptr<TRyPrinter> Printer;
};

TSetup ThreePrinters() {
    auto system = std::make_unique<TFakePrinterSystem>();
    system->List = {{"laser", false}, {"fax", true}, {"cards", false}};
    system->Current = "cards";
    system->PortOf = {{"laser", "ipp://laser"}, {"fax", "fax:/1"}, {"cards", "usb://cards"}};
    TFakePrinterSystem* raw = system.get();
    return {raw, std::make_unique<TRyPrinter>(std::move(system))};
}

std::string Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const ERyPrinter& e) {
        return e.what();
    }
    return "(nothing raised)";
}

} // namespace

TEST(RyPrinterTest, HiddenPrintersAreLeftOutOfNamesAndIndex) {
    TSetup s = ThreePrinters();
    EXPECT_EQ(s.Printer->GetIndex(), 1);
    EXPECT_EQ(s.Printer->GetPrinterNames(), QStringList({"laser", "cards"}));
    EXPECT_EQ(s.Printer->GetPort(), "usb://cards");
    s.System->Current = "fax";
    EXPECT_EQ(Raised([&] { s.Printer->GetIndex(); }), "TRyPrinter.GetIndex: Printers.PrinterIndex is Illegal");
    s.System->Current.clear();
    EXPECT_EQ(s.Printer->GetIndex(), -1);
    EXPECT_FALSE(s.Printer->SetCurrent("fax"));
    EXPECT_TRUE(s.Printer->SetCurrent("laser"));
    EXPECT_EQ(s.Printer->GetIndex(), 0);
}

TEST(RyPrinterTest, EveryQueryRaisesWhenOnlyHiddenPrintersExist) {
    TSetup s = ThreePrinters();
    for (auto& e : s.System->List)
        e.Hidden = true;
    const std::function<void()> calls[] = {
        [&] { s.Printer->GetIndex(); },
        [&] { s.Printer->GetPrinterNames(); },
        [&] { s.Printer->GetPort(); },
        [&] { s.Printer->GetPorts(); },
        [&] { s.Printer->GetPaperSizeNames(); },
        [&] { s.Printer->GetPaperSizeIndex(); },
        [&] { s.Printer->GetPaperSizeNumber(); },
        [&] { s.Printer->GetCapabilities(); },
        [&] { s.Printer->Refresh(); },
    };
    for (const auto& call : calls)
        EXPECT_EQ(Raised(call), "TRyPrinter.CheckNoPrinter: No Printer");
}

TEST(RyPrinterTest, PaperQueriesAndTheirFailures) {
    TSetup s = ThreePrinters();
    const QStringList names = s.Printer->GetPaperSizeNames();
    ASSERT_EQ(names.size(), 4); // the three sizes and the user-defined one
    EXPECT_EQ(names[1], QPageSize(QPageSize::B5).name());
    EXPECT_EQ(s.Printer->GetPaperSizeIndex(), 1);
    EXPECT_EQ(s.Printer->GetPaperSizeNumber(), int(QPageSize::B5) + 1);
    EXPECT_EQ(s.Printer->MaxCopies(), 99);
    EXPECT_EQ(s.Printer->InfoFlags(), TRyPrinter::ifPapers | TRyPrinter::ifResolutions | TRyPrinter::ifCopies);

    s.System->Paper = QPageSize(QPageSize::A3);
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeIndex(); }), "TRyPrinter.GetPaperSizeIndex: Cannot Get Paper Index");

    // Driver data are read again only for another printer, or after Reset.
    s.System->Sizes.clear();
    EXPECT_NO_THROW(s.Printer->GetPaperSizeNames());
    s.Printer->Reset();
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeNames(); }),
              "TRyPrinter.GetPaperSizeNames: No Papersize Info Available");
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeIndex(); }),
              "TRyPrinter.GetPaperSizeIndex: No Papersize Info Available");

    s.System->Caps = TRyPrinter::dcCopies;
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeNumber(); }),
              "TRyPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeNames(); }),
              "TRyPrinter.GetPaperSizeNames: PaperSize is not Supported");
    EXPECT_EQ(Raised([&] { s.Printer->GetPaperSizeIndex(); }),
              "TRyPrinter.GetPaperSizeIndex: PaperSize is not Supported");
    EXPECT_THROW(s.Printer->GetPaperSizeIndex(), ERyPrinterNotSupported);
}

TEST(RyPrinterTest, ChangesToPrintersAndPortsAreNoticed) {
    TSetup s = ThreePrinters();
    int changes = 0;
    s.Printer->OnChange = [&] { ++changes; };
    s.Printer->CheckChanged();
    EXPECT_EQ(changes, 0);

    s.System->List.append({"labels", false});
    s.Printer->CheckChanged();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(s.Printer->GetPrinterNames(), QStringList({"laser", "cards", "labels"}));

    s.System->PortOf["laser"] = "ipp://laser2";
    s.Printer->CheckChanged();
    EXPECT_EQ(changes, 2);

    // The current printer removed: the first visible one takes its place.
    s.System->List.removeAt(2);
    s.Printer->CheckChanged();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(s.System->Current, "laser");
    EXPECT_EQ(s.Printer->GetIndex(), 0);
}

TEST(RyPrinterTest, OnePrinterObjectFollowsTheCurrentPrinterAndKeepsWhatWasSetOnIt) {
    TSetup s = ThreePrinters();
    QPrinter* printer = &s.Printer->Printer();
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::B5);
    // What the page or the system's dialog set stays through a re-read of the same printer.
    printer->setPageSize(QPageSize(QPageSize::A5));
    printer->setCopyCount(3);
    s.Printer->Reset();
    s.Printer->Refresh();
    EXPECT_EQ(&s.Printer->Printer(), printer);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer->copyCount(), 3);
    // Another printer: the same object, set to that printer's paper.
    s.System->Paper = QPageSize(QPageSize::Letter);
    ASSERT_TRUE(s.Printer->SetCurrent("laser"));
    EXPECT_EQ(&s.Printer->Printer(), printer);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::Letter);
    // The current printer gone: still the same object.
    s.System->List = {{"cards", false}};
    s.Printer->CheckChanged();
    EXPECT_EQ(s.System->Current, "cards");
    EXPECT_EQ(&s.Printer->Printer(), printer);
}
