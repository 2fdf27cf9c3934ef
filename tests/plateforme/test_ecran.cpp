// The one rule every placement ends with: a window's outer rectangle is moved
// inside the usable area of its screen.
#include "plateforme/ecran.hpp"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Ecran, UneFenetreQuiDeborderaitEstRameneeSurLEcran) {
    struct Cas {
        const char* quoi;
        QRect fenetre, zone;
        QPoint attendu;
    };
    const QRect ecran(0, 0, 1024, 768), barre_en_haut(0, 28, 1024, 740),
        second(1024, 0, 1280, 1024);
    const Cas cas[] = {
        {"dedans", {305, 146, 413, 476}, ecran, {305, 146}},
        {"aux bords exacts", {724, 568, 300, 200}, ecran, {724, 568}},
        {"aide sous le menu", {493, 376, 522, 625}, ecran, {493, 143}},
        {"à droite", {900, 100, 300, 200}, ecran, {724, 100}},
        {"en haut à gauche", {-50, -10, 300, 200}, ecran, {0, 0}},
        {"plus haute que l'écran", {100, 300, 300, 900}, ecran, {100, 0}},
        {"plus large que l'écran", {-20, 100, 1100, 200}, ecran, {0, 100}},
        {"sous une barre de tâches", {100, 0, 300, 200}, barre_en_haut, {100, 28}},
        {"second écran, en bas à droite", {2200, 900, 300, 200}, second, {2004, 824}},
        {"second écran, à cheval", {1000, 10, 300, 200}, second, {1024, 10}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(dans_zone(c.fenetre, c.zone), QRect(c.attendu, c.fenetre.size())) << c.quoi;
}

} // namespace
} // namespace quorvel
