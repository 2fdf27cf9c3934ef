#pragma once
// Colour reduction: one palette for the whole video mode 1 desk (median cut
// over every picture at once), and small palettes of their own for buttons.
#include <QImage>
#include <QList>
#include <vector>

namespace quorvel::generateur {

// A palette of at most `nombre` colours that serves all the images together;
// the colours in `imposees` are always in it (pure black and white, say).
QList<QRgb> palette_commune(const std::vector<QImage>& images, int nombre,
                            const QList<QRgb>& imposees);

// Maps an opaque picture onto a palette, with error diffusion when `tramage`.
QImage quantifie(const QImage& source, const QList<QRgb>& palette, bool tramage);

// Reduces a picture with transparency to `nombre` colours of its own: index 0
// is transparent when any pixel is, the rest come from a median cut.
QImage reduit(const QImage& source, int nombre);

} // namespace quorvel::generateur
