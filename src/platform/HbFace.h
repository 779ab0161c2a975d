#pragma once

#include <QRawFont>

struct hb_face_t;

// HarfBuzz faces for the fonts Qt draws with. The face reads the font file fontconfig names for the
// font, mapped and not copied; when that file is not the very font Qt holds, it reads Qt's copies of
// the tables instead.
class THbFace {
public:
    // One face per font file and style, whatever the size; never freed, as fonts outlive every user.
    static hb_face_t* Shared(const QRawFont& raw);
    // Faces made by Shared so far.
    static int SharedCount();

    // A new face over the mapped font file, or null when no file matches the font. The caller destroys it.
    static hb_face_t* FromFile(const QRawFont& raw);
    // A new face over copies of the font's tables. The raw font must outlive the face.
    static hb_face_t* FromTables(const QRawFont& raw);
};
