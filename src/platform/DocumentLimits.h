#pragma once

#include <QtGlobal>
#include <cstdint>

// The limits of a sane document. Every reader of outside bytes (templates, the clipboard, pasted
// or scanned pictures) refuses or scales down what lies outside them, and every renderer sizes its
// bitmaps within them, so a damaged file costs a refusal instead of gigabytes or minutes. They are
// far beyond anything made through the program: whatever it can save, it opens again.
//
// How a reader keeps them: give its TStreamReader a TReadBudget (SetBudget) for the whole load, so
// that every record shares one picture budget and a refusal keeps its reason; decode pictures
// with TImageCodec::DecodeForDocument (records) or DecodeFile / FitPixels (files, scans, pasted
// bitmaps); check a paper with TPriPaper::LimitProblem before taking it; refuse texts and names
// longer than kMaxTextBytes and kMaxNameBytes with TStreamReader::Refuse.
struct TDocumentLimits {
    // Lengths are in 0.1 mm.
    // The largest sheet a printer takes is B0 (1030 x 1456 mm); 2 m leaves room for banners and
    // keeps a PDF page within the 200-inch side PDF readers accept.
    static constexpr int32_t kMaxPaperSide = 20000;
    // Seats per sheet: label sheets have a few hundred at most; every seat draws every object once.
    static constexpr int32_t kMaxSeats = 1000;
    // The text dialog's buffer: a text or field name the program made is never longer.
    static constexpr int kMaxTextBytes = 30720;
    // Face names and the other short names of a record (the font dialog's buffer).
    static constexpr int kMaxNameBytes = 1024;
    // Font sizes in points: a glyph of 5000 pt is 1.76 m tall, taller than any paper.
    static constexpr int kMaxFontPoints = 5000;
    // Decoded pixels of one picture (256 MB as 32-bit pixels): a 64-megapixel photo loads whole,
    // a larger JPEG is decoded at half, a quarter or an eighth of its size.
    static constexpr qint64 kMaxPicturePixels = qint64(64) * 1024 * 1024;
    // Either side of a picture: JPEG's own limit. Thinner strips are no photograph, and scaling
    // one down takes Qt minutes.
    static constexpr int kMaxPictureSide = 65535;
    // Decoded pixels of all pictures and backgrounds of one document (1.5 GB as 32-bit pixels):
    // twelve 24-megapixel photos and both backgrounds fit with room to spare; pictures beyond it
    // are scaled down where the format allows and refused otherwise.
    static constexpr qint64 kMaxDocumentPixels = qint64(384) * 1024 * 1024;
    // Calendars per document: a year-at-a-glance page has twelve, a three-year sheet 36.
    static constexpr int kMaxCalendars = 120;
    // Objects per side: a busy year planner has a few hundred.
    static constexpr int kMaxObjectsPerSide = 5000;
    // Objects of a side times the seats of a sheet: each is drawn once per seat, and a label sheet
    // of 65 seats with 100 objects each stays far below.
    static constexpr qint64 kMaxSeatDraws = 100000;
    // Bitmaps a renderer makes for export or printing (800 MB as 32-bit pixels): an A0 sheet at
    // 300 dpi is 140 megapixels.
    static constexpr qint64 kMaxRasterPixels = qint64(200) * 1000 * 1000;
    // Years the calendars and year fields count: the Gregorian calendar of four-digit years.
    static constexpr int kMinYear = 1;
    static constexpr int kMaxYear = 9999;
};
