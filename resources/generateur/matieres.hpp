#pragma once
// The materials of the desk, computed pixel by pixel: polished marbles and
// wood grain, plus the painting helpers every picture shares (soft shadows,
// glossy balls, raised bars, metal).
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace quorvel::generateur {

// Gradient noise in [-1, 1], deterministic (fixed permutation).
double bruit(double x, double y);
// Fractal sum of octaves of bruit, roughly in [-1, 1].
double fbm(double x, double y, int octaves);

// Red marble of the desk at absolute desk coordinates (x, y): every picture
// that shows the desk samples the same field, so crops line up exactly.
QRgb marbre_rouge(double x, double y);
// Pale marble (clock face, calculator case).
QRgb marbre_creme(double x, double y);
// Wood grain; along_x: fibres run horizontally. teinte: 0 dark walnut .. 1 light maple.
QRgb bois(double x, double y, bool along_x, double teinte);

// Fills an image with a material sampled at (x + dx, y + dy), x and y in the
// picture's own units: a picture drawn at twice the size (device pixel ratio
// 2) samples between the 1x pixels too, and its even pixels fall on theirs.
template <typename F> void remplit(QImage& image, F&& matiere, double dx = 0, double dy = 0) {
    const double e = image.devicePixelRatio();
    for (int y = 0; y < image.height(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ligne[x] = matiere(x / e + dx, y / e + dy);
    }
}

// Fills the shape with a material (anti-aliased edge).
template <typename F> void remplit_forme(QImage& cible, const QPainterPath& forme, F&& matiere) {
    const double e = cible.devicePixelRatio();
    QImage couche(cible.size(), QImage::Format_ARGB32_Premultiplied);
    couche.setDevicePixelRatio(e);
    couche.fill(Qt::transparent);
    // The material is costly: sampled only where the clip lets it through.
    const QRectF bornes = forme.controlPointRect();
    const QRect zone = QRectF(bornes.topLeft() * e, bornes.bottomRight() * e)
                           .toAlignedRect()
                           .adjusted(-1, -1, 1, 1) &
                       couche.rect();
    for (int y = zone.top(); y <= zone.bottom(); ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(couche.scanLine(y));
        for (int x = zone.left(); x <= zone.right(); ++x)
            ligne[x] = matiere(x / e, y / e);
    }
    QPainter p(&cible);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(forme);
    p.drawImage(0, 0, couche);
}

// Soft drop shadow of a shape, blurred by rayon units (pixels at 1x).
void ombre(QImage& cible, const QPainterPath& forme, QPointF decalage, int rayon, double opacite);
// Darkens or lightens toward the edges of a rectangle area (polish and depth).
void eclairage(QImage& cible, const QRectF& zone, double force);

// A glossy ball (sphere) lit from the top left.
void bille(QPainter& p, QPointF centre, double rayon, QColor couleur);
// A glossy pill (rounded bar) lit from the top.
void pilule(QPainter& p, const QRectF& r, QColor couleur);
// A raised, painted bar button with a bevel.
void barre(QImage& cible, const QRectF& r, QColor couleur);
// Polished metal stroke along a path (rings, spirals, rims).
void metal(QPainter& p, const QPainterPath& chemin, double epaisseur, QColor teinte);

QColor melange(QColor a, QColor b, double t);

} // namespace quorvel::generateur
