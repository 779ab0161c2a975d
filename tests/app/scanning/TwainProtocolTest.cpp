#include "app/scanning/ScanSettings.h"
#include "app/scanning/Twain.h"
#include "platform/IniFile.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A source manager that answers from a script and records every triplet it is asked.
class TScriptedManager : public TTwainSourceManager {
public:
    struct TCall {
        bool ToSource;
        TW_UINT16 DataType, Message;
    };
    std::vector<TCall>& Calls;
    std::map<TW_UINT16, TW_UINT16> Results; // by message; success otherwise
    TW_UINT16 Condition = TWCC_SUCCESS;
    QByteArray Transfer;
    int* Live; // transfers not yet freed

    TScriptedManager(std::vector<TCall>& calls, int* live) : Calls(calls), Live(live) {}

    TW_UINT16 Entry(TW_IDENTITY*, TW_IDENTITY* dest, TW_UINT32, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) override {
        Calls.push_back({dest != nullptr, dat, msg});
        if (dat == DAT_STATUS) {
            static_cast<TW_STATUS*>(data)->ConditionCode = Condition;
            return TWRC_SUCCESS;
        }
        if (dat == DAT_EVENT) {
            static_cast<TW_EVENT*>(data)->TWMessage = MSG_XFERREADY;
            return TWRC_DSEVENT;
        }
        const auto scripted = Results.find(msg);
        const TW_UINT16 result = scripted == Results.end() ? TWRC_SUCCESS : scripted->second;
        if (dat == DAT_IMAGENATIVEXFER && result == TWRC_XFERDONE) {
            *static_cast<TW_HANDLE*>(data) = TwainAllocate(Transfer);
            ++*Live;
        }
        return result;
    }
};

// A 1-bit packed bitmap, 8 x 2, with the first pixel black.
QByteArray LineArtDib() {
    QByteArray dib(40 + 8 + 8, '\0');
    qToLittleEndian<quint32>(40, dib.data());
    qToLittleEndian<qint32>(8, dib.data() + 4);
    qToLittleEndian<qint32>(2, dib.data() + 8);
    qToLittleEndian<quint16>(1, dib.data() + 12);
    qToLittleEndian<quint16>(1, dib.data() + 14);
    dib[40] = dib[41] = dib[42] = char(255); // white, then black
    dib[52] = char(0x80);                    // top row (stored last), first pixel set
    return dib;
}

struct TProtocol {
    std::vector<TScriptedManager::TCall> Calls;
    int Live = 0;
    TScriptedManager* Manager = nullptr;
    TTwain Twain{[this](QString*) {
        auto m = std::make_unique<TScriptedManager>(Calls, &Live);
        Manager = m.get();
        return m;
    }};
    // The messages asked, in order.
    std::vector<TW_UINT16> Messages() const {
        std::vector<TW_UINT16> out;
        for (const auto& c : Calls)
            out.push_back(c.Message);
        return out;
    }
};

} // namespace

TEST(TwainProtocolTest, AcquireClimbsTheStatesTransfersAndDisables) {
    TProtocol p;
    p.Twain.SelectSource(nullptr);
    p.Manager->Transfer = LineArtDib();
    p.Manager->Results[MSG_GET] = TWRC_XFERDONE;
    QImage picture;
    ASSERT_TRUE(p.Twain.Acquire(picture, true, nullptr));
    EXPECT_EQ(p.Messages(), (std::vector<TW_UINT16>{MSG_OPENDSM, MSG_USERSELECT, MSG_OPENDS, MSG_ENABLEDS,
                                                    MSG_PROCESSEVENT, MSG_GET, MSG_ENDXFER, MSG_DISABLEDS}));
    ASSERT_EQ(picture.size(), QSize(8, 2));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_TRUE(p.Twain.SourceOpen());
    EXPECT_FALSE(p.Twain.SourceEnabled());

    // Selecting again closes the open source first.
    p.Calls.clear();
    p.Twain.SelectSource(nullptr);
    EXPECT_EQ(p.Messages(), (std::vector<TW_UINT16>{MSG_CLOSEDS, MSG_USERSELECT}));
}

TEST(TwainProtocolTest, FailuresRaiseTheirTextsAndAlwaysEndTheTransfer) {
    struct Case {
        TW_UINT16 transfer;
        QByteArray dib;
        QString text;
    } cases[] = {
        {TWRC_FAILURE, {}, QStringLiteral("転送中にエラー発生")},
        {TWRC_CANCEL, {}, QStringLiteral("キャンセルされました")},
        {TWRC_XFERDONE, LineArtDib().left(50), QStringLiteral("スキャナから受け取った画像の大きさが合いません")},
    };
    for (const Case& c : cases) {
        TProtocol p;
        p.Twain.SelectSource(nullptr);
        p.Manager->Results[MSG_GET] = c.transfer;
        p.Manager->Transfer = c.dib;
        QImage picture;
        try {
            p.Twain.Acquire(picture, true, nullptr);
            ADD_FAILURE() << "no error raised";
        } catch (const ETwainError& e) {
            EXPECT_EQ(e.Text, c.text);
        }
        EXPECT_TRUE(picture.isNull());
        EXPECT_EQ(p.Messages().back(), MSG_DISABLEDS);
        EXPECT_EQ(p.Messages()[p.Messages().size() - 2], MSG_ENDXFER);
        EXPECT_FALSE(p.Twain.SourceEnabled());
    }

    // A failing operation raises "TWAIN: " and the condition's text.
    TProtocol p;
    p.Twain.SelectSource(nullptr);
    p.Manager->Results[MSG_OPENDS] = TWRC_FAILURE;
    p.Manager->Condition = TWCC_CHECKDEVICEONLINE;
    QImage picture;
    try {
        p.Twain.Acquire(picture, true, nullptr);
        ADD_FAILURE() << "no error raised";
    } catch (const ETwainError& e) {
        EXPECT_EQ(e.Text, QStringLiteral("TWAIN: The device went offline prior to or during this operation"));
    }
    EXPECT_FALSE(p.Twain.SourceOpen());

    // A cancelled choice is no error.
    TProtocol q;
    q.Twain.SelectSource(nullptr);
    q.Manager->Results[MSG_USERSELECT] = TWRC_CANCEL;
    EXPECT_FALSE(q.Twain.SelectSource(nullptr));
    EXPECT_FALSE(q.Twain.SourceOpen());
}

TEST(TwainProtocolTest, ConditionTexts) {
    EXPECT_EQ(TTwain::ConditionText(0), QStringLiteral("It worked!"));
    EXPECT_EQ(TTwain::ConditionText(15), QStringLiteral("Capability has dependancy on other capability"));
    EXPECT_EQ(TTwain::ConditionText(22),
              QStringLiteral("Error writing the file (meant for things like disk full conditions)"));
    EXPECT_EQ(TTwain::ConditionText(7), QStringLiteral("Unknown condition code 7"));
}

TEST(TwainProtocolTest, ScannerSettingsKeepTheRestOfTheFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    TIniFile display(file);
    display.WriteInteger(QStringLiteral("Main"), QStringLiteral("GridColor"), 42);
    ASSERT_TRUE(display.UpdateFile());

    TScanSettings none;
    none.Read(dir.filePath(QStringLiteral("missing.ini")));
    EXPECT_TRUE(none.Device.isEmpty());

    TScanSettings s;
    s.Device = QStringLiteral("net:192.168.1.20:epson2:libusb:001:004");
    s.Mode = QStringLiteral("Gray");
    s.Resolution = 300;
    s.Area = QRectF(10.5, 20, 100, 148.2);
    ASSERT_TRUE(s.Write(file));
    TScanSettings back;
    back.Read(file);
    EXPECT_EQ(back.Device, s.Device);
    EXPECT_EQ(back.Mode, s.Mode);
    EXPECT_EQ(back.Resolution, 300);
    EXPECT_EQ(back.Area, s.Area);
    EXPECT_EQ(TIniFile(file).ReadInteger(QStringLiteral("Main"), QStringLiteral("GridColor"), 0), 42);

    // A nonsensical area is the whole area.
    TIniFile edit(file);
    edit.WriteInteger(QStringLiteral("Scanner"), QStringLiteral("AreaWidth"), -5);
    ASSERT_TRUE(edit.UpdateFile());
    back.Read(file);
    EXPECT_TRUE(back.Area.isEmpty());
}
