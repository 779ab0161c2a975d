#pragma once

#include "print/MetafileEx.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPainter;

// Calls to the page store out of order.
class EPrintPreviewError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The page store of printing: it imitates a print job, recording each page as a picture in the
// printer's device pixels. A store given a source is lazy: it knows the page count and records a
// page only when asked for it, keeping a few recent ones, so a preview of a long job costs the
// pages looked at.
class TPrintPreview {
public:
    // Pages of pagePixels at the printer's resolution.
    TPrintPreview(QSize pagePixels = QSize(), int dpiX = 96, int dpiY = 96);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    // Draws page n (0-based) onto a fresh canvas of the store's device.
    using TRender = std::function<bool(int index, QPainter& canvas)>;
    // Makes the store lazy: count pages, each drawn by render when first asked for. BeginDoc
    // drops the source.
    void SetSource(int count, TRender render);

    // Takes effect at the next BeginDoc.
    void SetDevice(QSize pagePixels, int dpiX, int dpiY);

    // Discards every page and starts recording the first one.
    void BeginDoc();
    // Completes the page being recorded and starts the next; the font, pen, brush, composition
    // mode and text hints carry over.
    void NewPage();
    // Completes the last page.
    void EndDoc();
    // Drops every page, as the next BeginDoc would.
    void Clear();
    QPainter& GetCanvas();
    const TMetafileEx& GetPage(int index) const;
    int PageCount() const { return fRender ? fSourceCount : int(fPages.size()); }
    // The device the pages are recorded for.
    QSize PagePixels() const { return fPagePixels; }
    int DpiX() const { return fDpiX; }
    bool Printing() const { return fPrinting; }
    // Notes about the job the preview shows beside the sheets.
    const QStringList& Warnings() const { return fWarnings; }
    void SetWarnings(const QStringList& warnings) { fWarnings = warnings; }

    // Page files keep the picture format. False when the file cannot be written or read; a page
    // whose file cannot be read is left empty.
    bool SavePage(int index, const QString& fileName) const;
    bool LoadPage(int index, const QString& fileName);

    // The font a fresh canvas starts with: 9 points at the printer's vertical resolution.
    static constexpr int kStartPoints = 9;

private:
    void CheckIndex(int index) const;

    QSize fPagePixels;
    int fDpiX;
    int fDpiY;
    std::vector<std::unique_ptr<TMetafileEx>> fPages;
    std::unique_ptr<QPainter> fCanvas;
    bool fPrinting = false;
    int fSourceCount = 0;
    TRender fRender;
    // The pages of the source drawn last, the newest first.
    mutable std::deque<std::pair<int, std::unique_ptr<TMetafileEx>>> fRecent;
    QStringList fWarnings;
};
