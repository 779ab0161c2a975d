#pragma once

#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// The real program on the X display the test was started on, driven with xdotool: a private copy of
// the application folder (so its settings never touch the build's or the user's), and for every
// program started its own runtime, config and data folders.
class TDesktopSession {
public:
    TDesktopSession();
    ~TDesktopSession();

    // Empty when the display and the tools are there; otherwise why the test cannot run.
    static QString MissingTools();

    bool IsReady() const { return fReady; }
    const QString& Error() const { return fError; }
    // A folder for the test's files.
    QString Folder() const { return fTemp.path() + QStringLiteral("/files/"); }
    QString AppFolder() const { return fTemp.path() + QStringLiteral("/app/"); }

    // One running komorebi with its main window.
    struct TProgram {
        std::unique_ptr<QProcess> Process;
        QString Window;
        QRect Geometry;
        QString Name;
    };
    // Starts the program on a file and waits for its main window; a null process on failure.
    TProgram Start(const QString& name, const QString& file);
    // A second start as the program of that name's user, as a double click in the file manager:
    // it hands the file over and ends. Its exit code, or -1.
    int HandOver(const QString& name, const QString& file);
    // Ctrl+Q, no to saving, and the wait for the end; a program that does not end is killed and false returned.
    bool Quit(TProgram& program);

    // Points at the window (with no window manager the keyboard follows the pointer) and focuses it.
    void Focus(const TProgram& program);
    // Waits for a window of the program other than its main window (a message box) and answers it.
    bool AnswerDialog(const TProgram& program, const QString& keys);
    // The program's visible windows other than its main window.
    QStringList Dialogs(const TProgram& program);
    QString WindowName(const QString& window);
    bool Keys(const QString& keys);
    bool MouseMove(QPoint screen);
    bool MouseDown();
    bool MouseUp();
    // The whole screen.
    QImage Screen();

    // Runs xdotool; its standard output trimmed.
    QString XDoTool(const QStringList& args, int waitMs = 10000, bool* ok = nullptr);
    // Repeats the test of the screen until it holds or the wait is over.
    bool WaitForScreen(const std::function<bool(const QImage&)>& holds, int waitMs = 10000);
    static bool WaitUntil(const std::function<bool()>& holds, int waitMs = 10000);
    // Waits for a file's modification time to differ from the given one.
    static bool WaitForWrite(const QString& file, const QDateTime& before, int waitMs = 10000);
    static void Pause(int ms);

private:
    bool CopyAppFolder(const QString& from, const QString& to);
    QProcessEnvironment Environment(const QString& name);

    QTemporaryDir fTemp;
    bool fReady = false;
    QString fError;
};

// The bounds of the pixels of exactly this colour; empty when there are none.
QRect FindColour(const QImage& screen, QRgb colour);
