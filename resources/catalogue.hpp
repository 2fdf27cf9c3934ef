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

// High-density copies live in a folder of their own, "images@2x": kept apart
// from the 1x pictures in the program, so that a 1x screen never reads them.
inline std::string dossier_echelle(const std::string& dossier, int echelle) {
    return echelle == 1 ? dossier : dossier + "@" + std::to_string(echelle) + "x";
}

struct Image {
    std::string dossier; // "images" or "curseurs"
    std::string nom;     // without extension
    int largeur;
    int hauteur;
    Profondeur profondeur;
    // Also drawn at twice the size, for screens of two device pixels per
    // pixel: every picture the windows show (not the cursors, nor the large
    // icon, which only the desktop shows).
    bool double_densite = true;
    // Resource path of the raw copy the program paints from, e.g. ":/images/coche1.img",
    // ":/images@2x/coche1.img".
    std::string chemin_ressource(int echelle = 1) const {
        return ":/" + dossier_echelle(dossier, echelle) + "/" + nom + ".img";
    }
    // The artwork, relative to the generator's output folder, e.g. "images/coche1.png".
    std::string fichier_png(int echelle = 1) const {
        return dossier_echelle(dossier, echelle) + "/" + nom + ".png";
    }
};

const std::vector<Image>& catalogue();

// Hot spots of the hand cursors: the fingertip.
struct PointChaud {
    std::string nom;
    int x, y;
};
const std::vector<PointChaud>& points_chauds();

} // namespace quorvel::ressources
