#pragma once

// Reads barcodes back from a rendered picture with ZBar, an independent reader. Only where the
// build found ZBar (KOMOREBI_HAVE_ZBAR).
#ifdef KOMOREBI_HAVE_ZBAR

#include <QImage>
#include <string>
#include <vector>
#include <zbar.h>

struct TReadBarcode {
    std::string Type;
    std::string Data;
};

inline std::vector<TReadBarcode> ReadBarcodes(const QImage& image) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<unsigned char> pixels;
    pixels.reserve(size_t(gray.width()) * size_t(gray.height()));
    for (int y = 0; y < gray.height(); ++y)
        pixels.insert(pixels.end(), gray.constScanLine(y), gray.constScanLine(y) + gray.width());
    zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
    zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::zbar_image_t* zimage = zbar::zbar_image_create();
    zbar::zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar::zbar_image_set_size(zimage, unsigned(gray.width()), unsigned(gray.height()));
    zbar::zbar_image_set_data(zimage, pixels.data(), pixels.size(), nullptr);
    zbar::zbar_scan_image(scanner, zimage);
    std::vector<TReadBarcode> out;
    for (const zbar::zbar_symbol_t* s = zbar::zbar_image_first_symbol(zimage); s; s = zbar::zbar_symbol_next(s))
        out.push_back({zbar::zbar_get_symbol_name(zbar::zbar_symbol_get_type(s)), zbar::zbar_symbol_get_data(s)});
    zbar::zbar_image_destroy(zimage);
    zbar::zbar_image_scanner_destroy(scanner);
    return out;
}

#endif
