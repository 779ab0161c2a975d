#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QWidget;

// One running program per user: the first instance listens on a local socket in the user's
// runtime folder; a later one hands it the files to open and ends. The socket is named by full
// path, so another user's instance never answers.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kMutexName = "komo_carendar";
    // Longest message accepted; anything longer is dropped unread.
    static constexpr qsizetype kMaxMessage = 64 * 1024;

    // The runtime folder from the desktop session (XDG_RUNTIME_DIR).
    explicit TSingleInstance(QObject* parent = nullptr);
    // A given runtime folder (tests).
    explicit TSingleInstance(const QString& runtimeFolder, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Full path of the socket.
    const QString& ServerName() const { return fServerName; }

    // True when this is the first instance; it then listens for the others. A socket left by a
    // crashed instance is taken over. Also true when no socket can be made at all: a broken
    // runtime folder must not keep the program from starting.
    bool Claim();
    // True once Claim made this instance the one that answers.
    bool IsListening() const;

    // Asks the first instance to come to the front and open the files (made absolute here).
    // Returns whether it acknowledged the request within the wait.
    bool SendToPrimary(const QStringList& files, int waitMs = 3000);

    // The bytes on the wire: "KOMO", a 32-bit big-endian payload length, then a 32-bit count and
    // each file as a 32-bit length and UTF-8 bytes. Files that would pass kMaxMessage are left out.
    static QByteArray EncodeMessage(const QStringList& files);
    // Decodes one complete message; false for anything malformed.
    static bool DecodeMessage(const QByteArray& bytes, QStringList* files);

    // What the first instance does on ActivationRequested: shows its window again if it was
    // minimised or hidden and brings it to the front.
    static void BringToFront(QWidget* window);

signals:
    // On the first instance: another one was started, with these files to open (may be empty).
    void ActivationRequested(const QStringList& files);

private:
    bool PrimaryAnswers() const;
    void Accept();
    void Serve(QLocalSocket* socket, QByteArray* buffer);

    QString fServerName;
    std::unique_ptr<QLocalServer> fServer;
};
