#pragma once

#include <QString>
#include <QStringList>

// What the command line asked for.
struct TExportOptions {
    QString TemplateFile;
    QString OutFile;
    int Year = -1;
    int Month = -1;
    int Dpi = 300;
    // Merge: the record and field folders (empty: the application folder's), record file names
    // replacing the template's, a print mode 0-5 (-1: the template's).
    QString RecordDir;
    QString FieldDir;
    QString MainName;
    QString DetailName;
    int Mode = -1;
    // The first seat of the first sheet, 1-based; 0 keeps the template's.
    int StartRow = 0;
    int StartCol = 0;
    // Sheets to write, 1-based and inclusive; 0 for all.
    int FirstPage = 0;
    int LastPage = 0;
    // Printing instead of a file: the queue (empty: the default one) and copies.
    bool ToPrinter = false;
    QString Printer;
    int Copies = 1;
    // A progress line on stderr.
    bool Progress = false;
    // The sender's file for sender fields; empty leaves them as the template has them.
    QString SenderFile;
    // The family's days that calendars mark; empty leaves the process's list as it is.
    QString FamilyDaysFile;
    // Where warnings go (calendars without holidays, postal codes that fit no boxes); null: a line
    // each on stderr.
    QStringList* Warnings = nullptr;
};

// The command line's export and print: the options parsed and checked, the template prepared
// with its record files, and the job handed to the output job, with a progress line on a terminal.
// Messages are the command line's own, in English.
class TExportCommand {
public:
    // Parses "TEMPLATE.tda --out FILE [--year Y --month M] [--dpi N]" and the merge options, or with
    // toPrinter the print command's (no --out or --dpi; --printer, --copies); false with a message on bad use.
    static bool ParseArguments(const QStringList& args, TExportOptions& options, QString* error,
                               bool toPrinter = false);
    // Builds the sheets and writes them: one PDF, or one PNG per sheet (FILE-001.png ...; a single
    // sheet keeps FILE.png). pages, when given, receives the sheets written, and written the files.
    static bool Run(const QString& appPath, const TExportOptions& options, QString* error, int* pages = nullptr,
                    QStringList* written = nullptr);
    // The same sheets sent to a CUPS queue.
    static bool Print(const QString& appPath, const TExportOptions& options, QString* error, int* pages = nullptr);
    // The file the n-th (1-based) of count PNG sheets goes to.
    static QString PngName(const QString& out, int n, int count);
};
