#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"

#include "commun/locale_francaise.hpp"
#include <cmath>
#include <gtest/gtest.h>
#include <string>

using namespace quorvel;

// Nearest with 40 significant bits, ties to even; below 2^-128 zero; 2^127 and
// beyond (the last value rounds up to it) overflow.
TEST(Reel6, ArrondiSurQuaranteBitsEtDebordement) {
    const long double ulp = std::ldexp(1.0L, -39), plus_grand = std::ldexp(2.0L - ulp, 126);
    const std::pair<long double, long double> cas[] = {
        {1 + ulp, 1 + ulp},           {1 + ulp / 2, 1}, {1 + 3 * ulp / 4, 1 + ulp},
        {-1 - 3 * ulp / 4, -1 - ulp}, {0.0L, 0.0L},     {std::ldexp(1.0L, -130), 0.0L},
        {plus_grand, plus_grand}};
    for (const auto& [v, attendu] : cas)
        EXPECT_EQ(arrondi_reel6(v), attendu) << double(v);
    // 1/3 keeps 40 bits: the error is below half a unit of the 40th bit.
    const long double tiers = arrondi_reel6(1.0L / 3.0L);
    EXPECT_NE(tiers, 1.0L / 3.0L);
    EXPECT_LE(std::fabs(tiers - 1.0L / 3.0L), std::ldexp(1.0L, -42));
    for (const long double v : {std::ldexp(1.0L, 127), -std::ldexp(1.0L, 200),
                                std::ldexp(2.0L - std::ldexp(1.0L, -45), 126)}) {
        try {
            arrondi_reel6(v);
            ADD_FAILURE() << double(v);
        } catch (const ErreurCalcul& e) {
            EXPECT_EQ(e.message(), "Débordement flottant");
        }
    }
    EXPECT_THROW(texte_en_reel("1E39"), ErreurCalcul);
    EXPECT_THROW(texte_en_reel("1e99999"), ErreurCalcul);
    EXPECT_EQ(texte_en_reel("1e-99999"), 0.0L);
}

// Both ways, "." whatever the user's locale: a French desktop writes "2,5".
TEST(Reel6, NombresLusEtEcritsSansLaLocale) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    // Read numbers are 6-byte reals: 0.1 is not the extended 0.1.
    const long double dixieme = arrondi_reel6(0.1L), quinze = arrondi_reel6(0.15L);
    const std::pair<const char*, long double> lus[] = {
        {"07", 7},  {"  -12.5", -12.5L}, {"12.", 12}, {"-12.", -12},      {"-", 0},
        {"", 0},    {"1e3", 1000},       {"3/", 3},   {"2.5", 2.5L},      {"+.5", 0.5L},
        {"2,5", 2}, {"-.", 0},           {"+-5", 0},  {"1.5E-1", quinze}, {"0.1", dixieme}};
    for (const auto& [texte, valeur] : lus)
        EXPECT_EQ(texte_en_reel(texte), valeur) << texte;
    struct Ecrit {
        int largeur, decimales;
        long double valeur;
        std::string texte;
    };
    // Never cut; half away from zero at the last decimal of the decimal the real
    // holds, twelve significant digits of it; a value rounding to zero has no sign.
    const Ecrit ecrits[] = {{20, 0, 5, std::string(19, ' ') + "5"},
                            {20, 1, 2.5L, std::string(19, ' ') + "2.5"},
                            {2, 0, 12345, "12345"},
                            {0, 6, 1.0L / 128, "0.007813"},
                            {0, 0, 2.5L, "3"},
                            {0, 0, -0.5L, "-1"},
                            {0, 2, 9.995L, "10.00"},
                            {0, 2, -0.001L, "0.00"},
                            {0, 0, 1e30L, "1000000000000000000000000000000"},
                            {0, 0, 1234567890123.0L, "1234567890120"},
                            {0, 3, 1e-20L, "0.000"}};
    for (const Ecrit& c : ecrits)
        EXPECT_EQ(reel_en_texte(c.largeur, c.decimales, c.valeur), c.texte) << double(c.valeur);
}

TEST(Utilitaires, SeulesLesDatesEtHeuresQuiPeuventSonnerSontValides) {
    for (const char* d : {"01/01/1982", "31/12/2098", "29/02/2000", "15/05/2098", "24/12/2026"})
        EXPECT_TRUE(date_valide(d)) << d;
    for (const char* d : {"31/12/1981", "01/01/2099", "00/05/1998", "12/13/1998", "31/02/1998",
                          "1a/05/2026", "1/05/2026", "15/05/1981", "29/02/1999", "01-01-1998",
                          "01/01/1998 ", "", "+1/01/1998", " 1/01/1998"})
        EXPECT_FALSE(date_valide(d)) << d;
    for (const char* h : {"00:00", "23:59", "07:30", "12:00"})
        EXPECT_TRUE(heure_valide(h)) << h;
    for (const char* h : {"24:30", "24:00", "25:00", "12:60", "1a:00", "12:", "1230", "7:30",
                          "07:30:00", "", "-1:00", "07.30"})
        EXPECT_FALSE(heure_valide(h)) << h;
}

TEST(Utilitaires, CodesDeStyle) {
    // Bold 2, italic 3, both 4; any other mix is the regular style 1, and back.
    const std::pair<StylePolice, int> cas[] = {{{}, 1},
                                               {{true, false, false, false}, 2},
                                               {{false, true, false, false}, 3},
                                               {{true, true, false, false}, 4},
                                               {{true, false, true, false}, 1},
                                               {{true, true, false, true}, 1}};
    for (const auto& [style, code] : cas) {
        EXPECT_EQ(code_style(style), code);
        if (!style.souligne && !style.barre)
            EXPECT_EQ(style_police(static_cast<std::int16_t>(code)), style) << code;
    }
    EXPECT_EQ(style_police(9), StylePolice{});
}
