// Procedural artwork for the photo areas and backgrounds of the shipped calendar designs.
#pragma once

#include <QImage>
#include <QSize>

enum class TArt { Komorebi, Sakura, Sea, Mountains, Night, Sunrise };

// A picture of the kind, the same for the same seed.
QImage Artwork(TArt art, QSize size, quint32 seed);
// Pixels for an area of the page (0.1 mm) at about 150 dpi, never beyond 1600 on the long side.
QSize ArtPixels(QSize stored);
