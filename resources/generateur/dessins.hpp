#pragma once
// Every picture of the desk, drawn in true colour at its exact size. Colour
// reduction for video mode 1 happens afterwards (palette.hpp).
#include <QImage>
#include <string>

namespace quorvel::generateur {

// The picture called `nom` in the catalogue, in true colour (with alpha for
// buttons, bells and cursors), drawn with `echelle` device pixels per unit
// (1, or 2 for high-density screens: twice the pixels, device pixel ratio 2).
QImage dessine(const std::string& nom, int echelle);

} // namespace quorvel::generateur
