#include "catalogue.hpp"

namespace quorvel::ressources {

const std::vector<Image>& catalogue() {
    using P = Profondeur;
    static const std::vector<Image> liste = [] {
        std::vector<Image> l = {
            {"images", "fond1", 411, 455, P::palette_commune},
            {"images", "fond_calendrier1", 387, 278, P::palette_commune},
            {"images", "fond_note1", 387, 278, P::palette_commune},
            {"images", "splash", 324, 200, P::palette_commune},
            {"images", "a_propos", 322, 213, P::palette_commune},
            {"images", "horloge1", 154, 154, P::palette_commune},
            {"images", "horloge2", 154, 154, P::vraies_couleurs},
            {"images", "calculette1", 218, 122, P::palette_commune},
            {"images", "calculette2", 218, 122, P::vraies_couleurs},
            {"images", "menu1", 132, 232, P::palette_commune},
            {"images", "menu2", 132, 232, P::vraies_couleurs},
            {"images", "message1", 231, 161, P::palette_commune},
            {"images", "message2", 231, 161, P::vraies_couleurs},
            {"images", "cloche", 11, 11, P::couleurs_16},
            {"images", "coche1", 25, 25, P::couleurs_16},
            {"images", "coche2", 40, 38, P::couleurs_256},
            {"images", "plus1", 32, 32, P::couleurs_16},
            {"images", "pm1", 32, 32, P::couleurs_16},
            {"images", "moins1", 32, 32, P::couleurs_16},
            {"images", "plus2", 40, 38, P::couleurs_256},
            {"images", "pm2", 40, 38, P::couleurs_256},
            {"images", "moins2", 40, 38, P::couleurs_256},
            {"images", "fleche_g1", 63, 39, P::couleurs_16},
            {"images", "fleche_d1", 63, 39, P::couleurs_16},
            {"images", "fleche_g2", 50, 35, P::couleurs_256},
            {"images", "fleche_d2", 50, 36, P::couleurs_256},
            {"images", "haut_parleur", 16, 15, P::couleurs_16},
            {"images", "icone", 32, 32, P::couleurs_16},
            {"images", "icone_grande", 256, 256, P::vraies_couleurs, false},
            {"curseurs", "main_gauche", 32, 32, P::couleurs_16, false},
            {"curseurs", "main_droite", 32, 32, P::couleurs_16, false},
            {"curseurs", "main_haut", 32, 32, P::couleurs_16, false},
        };
        for (int k = 1; k <= 13; ++k)
            l.push_back({"images", "l" + std::to_string(k), 100, 100, P::palette_commune});
        return l;
    }();
    return liste;
}

const std::vector<PointChaud>& points_chauds() {
    static const std::vector<PointChaud> liste = {
        {"main_gauche", 0, 11}, {"main_droite", 31, 11}, {"main_haut", 12, 2}};
    return liste;
}

} // namespace quorvel::ressources
