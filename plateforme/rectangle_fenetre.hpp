#pragma once
// A window's outer rectangle, frame included, as plain numbers: what the model
// keeps of the main window so that the dialogs can be placed on it.
#include <cstdint>

namespace quorvel {

struct RectangleFenetre {
    std::int32_t gauche = 0, haut = 0, largeur = 0, hauteur = 0;
};

} // namespace quorvel
