#include "app/SingleInstance.h"

#include "platform/PrivateFolder.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <QtEndian>
#include <unistd.h>

namespace {

constexpr char kMagic[4] = {'K', 'O', 'M', 'O'};
constexpr qsizetype kHeader = 8;
constexpr char kAck = 0x06;
// A client that connects and then says nothing is dropped after this long.
constexpr int kServeMs = 5000;

QString DefaultRuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Without a session folder (su, sudo -u, cron) a checked one of ours, or none: then the
    // program runs without the channel rather than through a folder another user could own.
    return folder.isEmpty() ? TPrivateFolder::FallbackRuntimeFolder() : folder;
}

void AppendU32(QByteArray& bytes, quint32 value) {
    char raw[4];
    qToBigEndian(value, raw);
    bytes.append(raw, 4);
}

quint32 U32At(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

} // namespace

TSingleInstance::TSingleInstance(QObject* parent) : TSingleInstance(DefaultRuntimeFolder(), parent) {}

TSingleInstance::TSingleInstance(const QString& runtimeFolder, QObject* parent)
    : QObject(parent), fServerName(runtimeFolder.isEmpty() ? QString()
                                                           : QDir::cleanPath(QDir(runtimeFolder).absolutePath()) +
                                                                 QLatin1Char('/') + QLatin1String(kMutexName)) {}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::IsListening() const {
    return fServer && fServer->isListening();
}

bool TSingleInstance::Claim() {
    if (IsListening() || fServerName.isEmpty()) return true;
    QDir().mkpath(QFileInfo(fServerName).absolutePath());
    fServer = std::make_unique<QLocalServer>();
    // No socket options: with them Qt binds elsewhere and renames over the path, which would take
    // the name from a running instance instead of failing. The runtime folder is the user's own.
    connect(fServer.get(), &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    if (fServer->listen(fServerName)) return true;
    if (fServer->serverError() != QAbstractSocket::AddressInUseError) return true;
    if (PrimaryAnswers()) {
        fServer.reset();
        return false;
    }
    // Left behind by an instance that crashed: nobody answers on it.
    QLocalServer::removeServer(fServerName);
    fServer->listen(fServerName);
    return true;
}

bool TSingleInstance::PrimaryAnswers() const {
    QLocalSocket probe;
    probe.connectToServer(fServerName);
    const bool answered = probe.waitForConnected(500);
    probe.abort();
    return answered;
}

void TSingleInstance::Accept() {
    while (QLocalSocket* socket = fServer->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] { Serve(socket, buffer.get()); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kServeMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
    }
}

void TSingleInstance::Serve(QLocalSocket* socket, QByteArray* buffer) {
    buffer->append(socket->read(kHeader + kMaxMessage - buffer->size()));
    const auto drop = [socket] {
        socket->abort();
        socket->deleteLater();
    };
    if (buffer->size() >= 4 && !buffer->startsWith(QByteArray(kMagic, 4))) return drop();
    if (buffer->size() < kHeader) return;
    const quint32 length = U32At(*buffer, 4);
    if (length > quint32(kMaxMessage)) return drop();
    if (buffer->size() < kHeader + qsizetype(length)) return;
    QStringList files;
    if (!DecodeMessage(buffer->left(kHeader + length), &files)) return drop();
    buffer->clear();
    socket->write(&kAck, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit ActivationRequested(files);
}

bool TSingleInstance::SendToPrimary(const QStringList& files, int waitMs) {
    QStringList absolute;
    for (const QString& file : files)
        absolute.append(QFileInfo(file).absoluteFilePath());
    const QByteArray message = EncodeMessage(absolute);

    // Waits in an event loop of its own, so a primary in this very thread (the tests) still answers.
    QLocalSocket socket;
    QEventLoop loop;
    bool done = false;
    bool acknowledged = false;
    const auto finish = [&] {
        done = true;
        loop.quit();
    };
    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(message); });
    // The answer may arrive together with the close, in either order.
    const auto answer = [&] {
        if (socket.bytesAvailable() > 0) acknowledged = socket.read(1) == QByteArray(&kAck, 1);
        finish();
    };
    connect(&socket, &QLocalSocket::readyRead, &loop, answer);
    connect(&socket, &QLocalSocket::errorOccurred, &loop, answer);
    connect(&socket, &QLocalSocket::disconnected, &loop, answer);
    QTimer::singleShot(waitMs, &loop, finish);
    socket.connectToServer(fServerName);
    if (!done) loop.exec();
    socket.abort();
    return acknowledged;
}

QByteArray TSingleInstance::EncodeMessage(const QStringList& files) {
    QByteArray payload;
    quint32 count = 0;
    QByteArray entries;
    for (const QString& file : files) {
        const QByteArray utf8 = file.toUtf8();
        if (4 + entries.size() + 4 + utf8.size() > kMaxMessage) break;
        AppendU32(entries, quint32(utf8.size()));
        entries.append(utf8);
        ++count;
    }
    AppendU32(payload, count);
    payload.append(entries);
    QByteArray message(kMagic, 4);
    AppendU32(message, quint32(payload.size()));
    message.append(payload);
    return message;
}

bool TSingleInstance::DecodeMessage(const QByteArray& bytes, QStringList* files) {
    if (bytes.size() < kHeader + 4 || !bytes.startsWith(QByteArray(kMagic, 4))) return false;
    const quint32 length = U32At(bytes, 4);
    if (length > quint32(kMaxMessage) || bytes.size() != kHeader + qsizetype(length)) return false;
    qsizetype at = kHeader;
    const quint32 count = U32At(bytes, at);
    at += 4;
    // Every entry needs at least its length field.
    if (count > quint32((bytes.size() - at) / 4)) return false;
    QStringList decoded;
    for (quint32 i = 0; i < count; ++i) {
        if (bytes.size() - at < 4) return false;
        const quint32 size = U32At(bytes, at);
        at += 4;
        if (size > quint32(bytes.size() - at)) return false;
        const QString file = QString::fromUtf8(bytes.constData() + at, qsizetype(size));
        at += size;
        if (file.isEmpty() || !QFileInfo(file).isAbsolute() || file.contains(QChar(0))) return false;
        decoded.append(file);
    }
    if (at != bytes.size()) return false;
    *files = decoded;
    return true;
}

void TSingleInstance::BringToFront(QWidget* window) {
    if (!window) return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
