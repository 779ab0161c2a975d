#include "platform/HbFace.h"

#include <QByteArray>
#include <QHash>
#include <fontconfig/fontconfig.h>
#include <hb.h>

namespace {

// HarfBuzz reads each table once from Qt's copy of the font file and keeps that copy.
hb_blob_t* ReferenceTable(hb_face_t*, hb_tag_t tag, void* userData) {
    const auto* raw = static_cast<const QRawFont*>(userData);
    const char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), 0};
    auto* bytes = new QByteArray(raw->fontTable(name));
    if (bytes->isEmpty()) {
        delete bytes;
        return hb_blob_get_empty();
    }
    return hb_blob_create(bytes->constData(), static_cast<unsigned>(bytes->size()), HB_MEMORY_MODE_READONLY, bytes,
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

bool SameTable(hb_face_t* face, const QRawFont& raw, const char* tag) {
    hb_blob_t* blob = hb_face_reference_table(face, hb_tag_from_string(tag, 4));
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    const QByteArray mine = raw.fontTable(tag);
    const bool same = length > 0 && mine == QByteArray::fromRawData(data, qsizetype(length));
    hb_blob_destroy(blob);
    return same;
}

int Slant(QFont::Style style) {
    switch (style) {
    case QFont::StyleItalic: return FC_SLANT_ITALIC;
    case QFont::StyleOblique: return FC_SLANT_OBLIQUE;
    default: return FC_SLANT_ROMAN;
    }
}

// A face and, when it reads copied tables, the font they are copied from.
struct TShared {
    QRawFont Raw;
    hb_face_t* Face = nullptr;
};

QHash<QString, TShared*>& SharedFaces() {
    static auto* faces = new QHash<QString, TShared*>();
    return *faces;
}

} // namespace

hb_face_t* THbFace::FromFile(const QRawFont& raw) {
    if (!raw.isValid()) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    const QByteArray family = raw.familyName().toUtf8();
    const QByteArray style = raw.styleName().toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
    if (!style.isEmpty()) FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(raw.weight()));
    FcPatternAddInteger(pattern, FC_SLANT, Slant(raw.style()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    hb_face_t* face = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        if (hb_blob_t* blob = hb_blob_create_from_file_or_fail(reinterpret_cast<const char*>(file))) {
            face = hb_face_create(blob, unsigned(index));
            hb_blob_destroy(blob);
        }
    }
    FcPatternDestroy(match);
    // fontconfig may name another font than the one Qt resolved (a substitute, another version).
    if (face && !(SameTable(face, raw, "head") && SameTable(face, raw, "maxp") && SameTable(face, raw, "name"))) {
        hb_face_destroy(face);
        face = nullptr;
    }
    return face;
}

hb_face_t* THbFace::FromTables(const QRawFont& raw) {
    return hb_face_create_for_tables(ReferenceTable, const_cast<QRawFont*>(&raw), nullptr);
}

hb_face_t* THbFace::Shared(const QRawFont& raw) {
    const QString key = raw.familyName() + QLatin1Char('|') + raw.styleName() + QLatin1Char('|') +
                        QString::number(raw.weight()) + QLatin1Char('|') + QString::number(int(raw.style()));
    TShared*& shared = SharedFaces()[key];
    if (!shared) {
        shared = new TShared;
        shared->Face = FromFile(raw);
        if (!shared->Face) {
            shared->Raw = raw;
            shared->Face = FromTables(shared->Raw);
        }
    }
    return shared->Face;
}

int THbFace::SharedCount() {
    return int(SharedFaces().size());
}
