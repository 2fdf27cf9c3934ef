#pragma once
// Every picture the program names, with the size and colour depth it is drawn
// at. The generator draws from this list and the tests check against it, so
// the two can never drift apart.
#include <string>
#include <vector>

namespace quorvel::ressources {

enum class Profondeur {
    palette_commune, // 256 colours, the one palette shared by the video mode 1 desk
    couleurs_16,     // at most 16 colours of its own (index 0 may be transparent)
    couleurs_256,    // at most 256 colours of its own
    vraies_couleurs, // 32 bits per pixel (video mode 2, large icon)
};

struct Image {
    std::string dossier; // "images" or "curseurs"
    std::string nom;     // without extension
    int largeur;
    int hauteur;
    Profondeur profondeur;
    // Resource path of the raw copy the program paints from, e.g. ":/images/coche1.img".
    std::string chemin_ressource() const { return ":/" + dossier + "/" + nom + ".img"; }
    // The artwork, relative to the generator's output folder, e.g. "images/coche1.png".
    std::string fichier_png() const { return dossier + "/" + nom + ".png"; }
};

const std::vector<Image>& catalogue();

// Hot spots of the hand cursors: the fingertip.
struct PointChaud {
    std::string nom;
    int x, y;
};
const std::vector<PointChaud>& points_chauds();

} // namespace quorvel::ressources
