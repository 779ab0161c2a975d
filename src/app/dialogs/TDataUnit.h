#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// One template offered by the template chooser: its file and, once loaded, its thumbnail.
struct TTDataUnit {
    QString FTemplatePath;
    // name.jpg beside the template; empty when there is no such file.
    QString FThumbnailPath;
    // The thumbnail for the preview, at most the preview's size; empty when there is none.
    QImage FThumbnail;
    // The thumbnail fitted to the button's picture slot.
    QImage FButtonImage;
    // True until a thumbnail has been loaded.
    bool FNoThumbnail = true;

    // The template test: the first two 32-bit values are the template magic and a version
    // from 1 to 6. Reads only those 8 bytes, and only from a plain file.
    static bool IsTemplateFile(const QString& path);
    // name.tda → name.jpg in the same folder.
    static QString ThumbnailFileFor(const QString& templatePath);
    // The file name without folder and extension, as the chooser shows it.
    static QString DisplayName(const QString& templatePath);

    struct TThumbnails {
        QImage Preview;
        QImage Button;
    };
    // Decodes a thumbnail file for both places, at the screen's pixel ratio; both images are
    // null when the file is missing, too large or not a JPEG. Safe on any thread.
    static TThumbnails LoadThumbnail(const QString& jpegPath, QSize previewFit, QSize buttonFit, qreal pixelRatio);
};
