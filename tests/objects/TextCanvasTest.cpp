#include "objects/TextCanvas.h"
#include "objects/VerticalText.h"
#include "platform/FontMap.h"
#include "platform/HbFace.h"

#include <QImage>
#include <QPainter>
#include <array>
#include <gtest/gtest.h>
#include <hb.h>

namespace {

struct TTextCase {
    const char* face;
    int points;
    bool vertical;
    bool upright;
    int extra;
    std::u32string text;
    double zoom = 1; // the editor's view scales the painter
};

QImage Blank() {
    QImage image(360, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// What the canvas drew before glyph runs: each character on its own at its advance plus the extra.
void DrawOneByOne(QPainter& p, TTextCanvas& canvas, int x, int y, std::u32string_view text) {
    p.setPen(canvas.Color());
    p.setFont(canvas.Font());
    for (char32_t c : text) {
        if (canvas.Vertical()) {
            TVerticalText::For(canvas.Font())->DrawChar(p, x, y, c, canvas.Upright());
            y += canvas.CharWidth(c);
            continue;
        }
        if (c >= 0x20) p.drawText(QPointF(x, y + canvas.Ascent()), QString::fromUcs4(&c, 1));
        x += canvas.CharWidth(c);
    }
}

} // namespace

TEST(TextCanvasTest, TextOutDrawsTheSamePixelsAsCharacterByCharacterDrawing) {
    TFontMap::Install();
    const TTextCase cases[] = {
        {"ＭＳ 明朝", 12, false, false, 0, U"二〇二六年「春」の予定ABC 123"},
        {"ＭＳ Ｐゴシック", 18, false, false, 4, U"ちょっと－ゃゅょーっ…～(株)"},
        {"ＭＳ ゴシック", 9, false, false, -1, U"4901234567894\tＡｂｃ"},
        {"IPAMincho", 14, false, false, 2, U"𠮷野家 𝐀𝐁 ⇶♔ʬ é"}, // astral and characters of fallback faces
        {"DejaVu Sans", 11, false, false, 0, U"Mixed 混在 ΩΨ"},
        {"ＭＳ Ｐ明朝", 10, false, false, 1, U"拡大 Zoom 2027", 1.75},
        {"ＭＳ 明朝", 16, true, false, 0, U"縦書き「春」。ー3月ABC"},
        {"ＭＳ ゴシック", 12, true, false, 3, U"ゃゅょ（株）12"},
        {"ＭＳ 明朝", 16, true, true, 1, U"ーＡあ"},
        {"ＭＳ ゴシック", 10, true, false, 0, U"縮小「ABC」", 0.6},
    };
    for (const TTextCase& c : cases) {
        QFont face(QString::fromUtf8(c.face));
        QImage cached = Blank();
        QImage reference = Blank();
        {
            QPainter p(&cached);
            p.scale(c.zoom, c.zoom);
            TTextCanvas canvas(&p, 96);
            canvas.SetFont(face, c.points, c.vertical, c.upright);
            canvas.SetCharExtra(c.extra);
            canvas.SetColor(Qt::darkBlue);
            // The second string comes from the cache of runs.
            canvas.TextOut(c.vertical ? 340 : 10, 10, c.text);
            canvas.TextOut(c.vertical ? 200 : 10, c.vertical ? 20 : 200, c.text);
        }
        {
            QPainter p(&reference);
            p.scale(c.zoom, c.zoom);
            TTextCanvas canvas(nullptr, 96);
            canvas.SetFont(face, c.points, c.vertical, c.upright);
            canvas.SetCharExtra(c.extra);
            canvas.SetColor(Qt::darkBlue);
            DrawOneByOne(p, canvas, c.vertical ? 340 : 10, 10, c.text);
            DrawOneByOne(p, canvas, c.vertical ? 200 : 10, c.vertical ? 20 : 200, c.text);
        }
        // Character by character through the canvas, drawn together when flushed.
        QImage gathered = Blank();
        {
            QPainter p(&gathered);
            p.scale(c.zoom, c.zoom);
            TTextCanvas canvas(&p, 96);
            canvas.SetFont(face, c.points, c.vertical, c.upright);
            canvas.SetCharExtra(c.extra);
            canvas.SetColor(Qt::darkBlue);
            for (QPoint at : {QPoint(c.vertical ? 340 : 10, 10), QPoint(c.vertical ? 200 : 10, c.vertical ? 20 : 200)})
                for (char32_t ch : c.text) {
                    canvas.CharOut(at.x(), at.y(), ch);
                    (c.vertical ? at.ry() : at.rx()) += canvas.CharWidth(ch);
                }
            canvas.Flush();
        }
        EXPECT_NE(cached, Blank()) << c.face;
        EXPECT_EQ(cached, reference) << c.face << " " << QString::fromStdU32String(c.text).toStdString();
        EXPECT_EQ(gathered, reference) << c.face << " gathered " << QString::fromStdU32String(c.text).toStdString();
    }
}

TEST(TextCanvasTest, FontFileFaceShapesColumnsAsTheCopiedTablesDo) {
    // Glyphs, advances down the column and offsets of a column with vertical forms.
    const auto shape = [](hb_face_t* face) {
        hb_font_t* font = hb_font_create(face);
        hb_font_set_scale(font, 40 * 64, 40 * 64);
        hb_buffer_t* buf = hb_buffer_create();
        hb_buffer_add_utf8(buf, "「縦書き」、。ーゃ（株）〜…", -1, 0, -1);
        hb_buffer_set_direction(buf, HB_DIRECTION_TTB);
        hb_buffer_guess_segment_properties(buf);
        hb_shape(font, buf, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
        std::vector<std::array<int, 4>> shaped;
        for (unsigned i = 0; i < count; ++i)
            shaped.push_back({int(info[i].codepoint), pos[i].y_advance, pos[i].x_offset, pos[i].y_offset});
        hb_buffer_destroy(buf);
        hb_font_destroy(font);
        return shaped;
    };
    for (const char* family : {"IPAMincho", "IPAPGothic"}) {
        QFont f(QString::fromLatin1(family));
        f.setPixelSize(40);
        const QRawFont raw = QRawFont::fromFont(f);
        hb_face_t* file = THbFace::FromFile(raw);
        ASSERT_NE(file, nullptr) << family;
        hb_face_t* tables = THbFace::FromTables(raw);
        const auto fromFile = shape(file);
        EXPECT_EQ(fromFile.size(), 14u);
        EXPECT_EQ(fromFile, shape(tables)) << family;
        hb_face_destroy(file);
        hb_face_destroy(tables);
    }
    // Without a font there is no file: the caller keeps the copied tables.
    EXPECT_EQ(THbFace::FromFile(QRawFont()), nullptr);
}
