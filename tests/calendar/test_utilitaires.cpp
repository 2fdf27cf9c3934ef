#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/son.hpp"

#include <cmath>
#include <gtest/gtest.h>

using namespace quorvel;

TEST(Utilitaires, NombreZeros) {
    EXPECT_EQ(nombre_zeros(5, 2), "05");
    EXPECT_EQ(nombre_zeros(12, 2), "12");
    EXPECT_EQ(nombre_zeros(1998, 4), "1998");
    EXPECT_EQ(nombre_zeros(7, 4), "0007");
    EXPECT_EQ(nombre_zeros(123, 2), "123");
    EXPECT_EQ(nombre_zeros(1, 12), "00000001");
    EXPECT_EQ(nombre_zeros(0, 2), "00");
    EXPECT_EQ(nombre_zeros(3, 1), "3");
}

TEST(Reel6, ArrondiAuPlusPresAvecQuaranteBitsSignificatifs) {
    const long double un = 1.0L;
    EXPECT_EQ(arrondi_reel6(un + std::ldexp(1.0L, -39)), un + std::ldexp(1.0L, -39)); // exact
    EXPECT_EQ(arrondi_reel6(un + std::ldexp(1.0L, -40)), un);                        // tie to even
    EXPECT_EQ(arrondi_reel6(un + 3 * std::ldexp(1.0L, -41)), un + std::ldexp(1.0L, -39));
    EXPECT_EQ(arrondi_reel6(-(un + 3 * std::ldexp(1.0L, -41))), -(un + std::ldexp(1.0L, -39)));
    // 1/3 keeps 40 bits: the error is below half a unit of the 40th bit.
    const long double tiers = arrondi_reel6(1.0L / 3.0L);
    EXPECT_NE(tiers, 1.0L / 3.0L);
    EXPECT_LE(std::fabs(tiers - 1.0L / 3.0L), std::ldexp(1.0L, -42));
    EXPECT_EQ(std::ldexp(tiers, 41), std::nearbyint(std::ldexp(tiers, 41)));
    EXPECT_EQ(arrondi_reel6(0.0L), 0.0L);
    EXPECT_EQ(arrondi_reel6(std::ldexp(1.0L, -130)), 0.0L);
}

TEST(Reel6, DebordementA2Puissance127) {
    const long double max = std::ldexp(2.0L - std::ldexp(1.0L, -39), 126);
    EXPECT_EQ(arrondi_reel6(max), max);
    EXPECT_THROW(arrondi_reel6(std::ldexp(1.0L, 127)), ErreurCalcul);
    // Just under 2^127 but rounding up to it.
    EXPECT_THROW(arrondi_reel6(std::ldexp(2.0L - std::ldexp(1.0L, -45), 126)), ErreurCalcul);
    try {
        arrondi_reel6(-std::ldexp(1.0L, 200));
        FAIL();
    } catch (const ErreurCalcul& e) {
        EXPECT_EQ(e.message(), "Débordement flottant");
    }
    EXPECT_THROW(texte_en_reel("1E39"), ErreurCalcul);
}

TEST(Reel6, TexteEnReelEtReelEnTexte) {
    EXPECT_EQ(texte_en_reel("07"), 7.0L);
    EXPECT_EQ(texte_en_reel("  -12.5"), -12.5L);
    EXPECT_EQ(texte_en_reel("12."), 12.0L);
    EXPECT_EQ(texte_en_reel("-"), 0.0L);
    EXPECT_EQ(texte_en_reel(""), 0.0L);
    EXPECT_EQ(texte_en_reel("1e3"), 1000.0L);
    EXPECT_EQ(texte_en_reel("3/"), 3.0L);
    EXPECT_EQ(reel_en_texte(20, 0, 5.0L), std::string(19, ' ') + "5");
    EXPECT_EQ(reel_en_texte(20, 1, 2.5L), std::string(19, ' ') + "2.5");
    EXPECT_EQ(reel_en_texte(20, 6, 2.0L / 3.0L), std::string(19, ' ') + "0.666667");
    EXPECT_EQ(reel_en_texte(2, 0, 12345.0L), "12345"); // never cut
    EXPECT_EQ(reel_en_texte(1, 10, 0.125L), "0.1250000000");
}


TEST(Utilitaires, SeulesLesDatesEtHeuresQuiPeuventSonnerSontValides) {
    for (const char* d : {"01/01/1982", "31/12/2098", "29/02/2000", "15/05/2098", "24/12/2026"})
        EXPECT_TRUE(date_valide(d)) << d;
    for (const char* d : {"31/12/1981", "01/01/2099", "00/05/1998", "12/13/1998", "31/02/1998",
                          "1a/05/2026", "1/05/2026", "15/05/1981", "29/02/1999", "01-01-1998",
                          "01/01/1998 ", "", "+1/01/1998", " 1/01/1998"})
        EXPECT_FALSE(date_valide(d)) << d;
    for (const char* h : {"00:00", "23:59", "07:30", "12:00"}) EXPECT_TRUE(heure_valide(h)) << h;
    for (const char* h : {"24:30", "24:00", "25:00", "12:60", "1a:00", "12:", "1230", "7:30",
                          "07:30:00", "", "-1:00", "07.30"})
        EXPECT_FALSE(heure_valide(h)) << h;
}

TEST(Utilitaires, CodesDeStyle) {
    EXPECT_EQ(code_style({}), 1);
    EXPECT_EQ(code_style({true, false, false, false}), 2);
    EXPECT_EQ(code_style({false, true, false, false}), 3);
    EXPECT_EQ(code_style({true, true, false, false}), 4);
    EXPECT_EQ(code_style({true, false, true, false}), 1);
    EXPECT_EQ(code_style({true, true, false, true}), 1);
    for (std::int16_t c = 1; c <= 4; ++c) EXPECT_EQ(code_style(style_police(c)), c);
    EXPECT_EQ(style_police(4), (StylePolice{true, true, false, false}));
    EXPECT_EQ(style_police(9), StylePolice{});
}

TEST(Utilitaires, JoueSonPasseLeCheminEntier) {
    LecteurSonEnregistreur son;
    const std::string long_chemin(300, 'a');
    joue_son(son, long_chemin, 1);
    ASSERT_EQ(son.appels.size(), 1u);
    EXPECT_EQ(son.appels[0], long_chemin);
}
