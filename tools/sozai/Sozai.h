#pragma once

// The painters of the program folder's "sozai" pictures. Each paints one whole picture of the
// size it is handed; the catalogue in make_sozai.cpp names them and fixes sizes and seeds.

#include <QPainter>
#include <QRandomGenerator>

namespace sozai {

using TPainter = void (*)(QPainter&, QSizeF, QRandomGenerator&);

// Backgrounds, opaque.
void January(QPainter& p, QSizeF s, QRandomGenerator& rng);
void February(QPainter& p, QSizeF s, QRandomGenerator& rng);
void March(QPainter& p, QSizeF s, QRandomGenerator& rng);
void April(QPainter& p, QSizeF s, QRandomGenerator& rng);
void May(QPainter& p, QSizeF s, QRandomGenerator& rng);
void June(QPainter& p, QSizeF s, QRandomGenerator& rng);
void July(QPainter& p, QSizeF s, QRandomGenerator& rng);
void August(QPainter& p, QSizeF s, QRandomGenerator& rng);
void September(QPainter& p, QSizeF s, QRandomGenerator& rng);
void October(QPainter& p, QSizeF s, QRandomGenerator& rng);
void November(QPainter& p, QSizeF s, QRandomGenerator& rng);
void December(QPainter& p, QSizeF s, QRandomGenerator& rng);

// Frames: transparent in the middle.
void GoldFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);
void SakuraFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);
void LaceFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);
void IvyFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);
void WavesFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);
void PhotoFrame(QPainter& p, QSizeF s, QRandomGenerator& rng);

// Small decorations on a transparent ground.
void MapleDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void GinkgoDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void SprigDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void SakuraDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void UmeDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void StarsDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void RibbonDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void CornerDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void SnowDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);
void BannerDeco(QPainter& p, QSizeF s, QRandomGenerator& rng);

} // namespace sozai
