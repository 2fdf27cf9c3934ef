#pragma once
// Every picture of the desk, drawn in true colour at its exact size. Colour
// reduction for video mode 1 happens afterwards (palette.hpp).
#include <QImage>
#include <string>

namespace quorvel::generateur {

// The picture called `nom` in the catalogue, in true colour (with alpha for
// buttons, bells and cursors). `riche` is the video mode 2 variant where a
// name stands for both.
QImage dessine(const std::string& nom);

} // namespace quorvel::generateur
