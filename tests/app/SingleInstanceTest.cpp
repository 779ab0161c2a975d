#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// What a crashed instance leaves: a socket file nobody listens on.
bool LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof(address.sun_path))) return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFileInfo::exists(path);
}

// Sends raw bytes the way a confused or hostile client would, then waits for the server to react.
void SendRaw(const QString& server, const QByteArray& bytes) {
    QLocalSocket socket;
    socket.connectToServer(server);
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write(bytes);
    socket.flush();
    QTest::qWait(50);
    socket.abort();
}

} // namespace

TEST(SingleInstanceTest, SecondInstanceOfOneUserHandsOverItsFiles) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    TSingleInstance first(runtime.path());
    ASSERT_TRUE(first.Claim());
    EXPECT_TRUE(first.IsListening());
    QSignalSpy spy(&first, &TSingleInstance::ActivationRequested);

    TSingleInstance second(runtime.path());
    EXPECT_FALSE(second.Claim());
    EXPECT_FALSE(second.IsListening());
    ASSERT_TRUE(second.SendToPrimary({QStringLiteral("/data/年賀状.tda"), QStringLiteral("rel/a.tda")}));
    ASSERT_EQ(spy.count(), 1);
    const QStringList files = spy.at(0).at(0).toStringList();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0], QStringLiteral("/data/年賀状.tda"));
    EXPECT_EQ(files[1], QFileInfo(QStringLiteral("rel/a.tda")).absoluteFilePath()); // made absolute by the sender

    // A bare activation with no files is delivered too.
    ASSERT_TRUE(second.SendToPrimary({}));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy.at(1).at(0).toStringList().isEmpty());
}

TEST(SingleInstanceTest, OtherRuntimeFoldersNeverAnswer) {
    QTemporaryDir mine, theirs;
    ASSERT_TRUE(mine.isValid() && theirs.isValid());
    TSingleInstance other(theirs.path());
    ASSERT_TRUE(other.Claim());
    QSignalSpy spy(&other, &TSingleInstance::ActivationRequested);
    TSingleInstance me(mine.path());
    EXPECT_FALSE(me.SendToPrimary({}, 300)); // nobody of mine runs yet
    EXPECT_TRUE(me.Claim());
    EXPECT_EQ(spy.count(), 0);
}

TEST(SingleInstanceTest, StaleSocketOfACrashedInstanceIsTakenOver) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    TSingleInstance probe(runtime.path());
    ASSERT_TRUE(LeaveStaleSocket(probe.ServerName()));
    EXPECT_FALSE(probe.SendToPrimary({}, 300));

    TSingleInstance first(runtime.path());
    ASSERT_TRUE(first.Claim());
    EXPECT_TRUE(first.IsListening());
    QSignalSpy spy(&first, &TSingleInstance::ActivationRequested);
    TSingleInstance second(runtime.path());
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(second.SendToPrimary({QStringLiteral("/x.tda")}));
    EXPECT_EQ(spy.count(), 1);
}

TEST(SingleInstanceTest, GarbageOnTheSocketIsDroppedAndServiceGoesOn) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    TSingleInstance first(runtime.path());
    ASSERT_TRUE(first.Claim());
    QSignalSpy spy(&first, &TSingleInstance::ActivationRequested);

    QByteArray huge("KOMO");
    huge.append("\x7f\xff\xff\xff", 4);
    QByteArray tooManyFiles = TSingleInstance::EncodeMessage({});
    tooManyFiles[8] = char(0x40); // count claims a billion entries in four bytes
    const QByteArray inputs[] = {QByteArray("GET / HTTP/1.0\r\n\r\n"), huge, QByteArray(70000, 'K'), tooManyFiles,
                                 QByteArray("KOMO\0\0", 6)};
    for (const QByteArray& bytes : inputs)
        SendRaw(first.ServerName(), bytes);
    EXPECT_EQ(spy.count(), 0);

    TSingleInstance second(runtime.path());
    EXPECT_TRUE(second.SendToPrimary({QStringLiteral("/ok.tda")}));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toStringList(), QStringList{QStringLiteral("/ok.tda")});
}

TEST(SingleInstanceTest, MessagesAreBoundedAndStrictlyDecoded) {
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many.append(QStringLiteral("/folder/%1/").arg(i) + QString(40, QLatin1Char('x')));
    const QByteArray message = TSingleInstance::EncodeMessage(many);
    EXPECT_LE(message.size(), 8 + TSingleInstance::kMaxMessage);
    QStringList decoded;
    ASSERT_TRUE(TSingleInstance::DecodeMessage(message, &decoded));
    ASSERT_FALSE(decoded.isEmpty());
    EXPECT_LT(decoded.size(), many.size());
    EXPECT_EQ(decoded, many.mid(0, decoded.size())); // the first files, whole

    const QByteArray good = TSingleInstance::EncodeMessage({QStringLiteral("/a.tda")});
    ASSERT_TRUE(TSingleInstance::DecodeMessage(good, &decoded));
    QByteArray relative = TSingleInstance::EncodeMessage({QStringLiteral("a.tda/")});
    QByteArray longEntry = good;
    longEntry[15] = char(0x7f); // entry length runs past the end
    const QByteArray bad[] = {good.left(good.size() - 1), good + "x", relative, longEntry, QByteArray(),
                              QByteArray("KOMO")};
    for (const QByteArray& bytes : bad)
        EXPECT_FALSE(TSingleInstance::DecodeMessage(bytes, &decoded)) << bytes.toHex().constData();
}

TEST(SingleInstanceTest, ActivationBringsAMinimisedWindowBack) {
    for (bool minimised : {true, false}) {
        QWidget window;
        window.resize(200, 100);
        if (minimised)
            window.showMinimized();
        else
            window.hide();
        TSingleInstance::BringToFront(&window);
        EXPECT_TRUE(window.isVisible()) << minimised;
        EXPECT_FALSE(window.windowState() & Qt::WindowMinimized) << minimised;
    }
    TSingleInstance::BringToFront(nullptr);
}
