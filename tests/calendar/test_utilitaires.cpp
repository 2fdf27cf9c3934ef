#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"

#include "commun/locale_francaise.hpp"
#include <cmath>
#include <gtest/gtest.h>
#include <string>

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

namespace {

const long double un = 1.0L;
const long double plus_grand = std::ldexp(2.0L - std::ldexp(1.0L, -39), 126);

} // namespace

TEST(Reel6, ArrondiAuPlusPresAvecQuaranteBitsSignificatifs) {
    struct Cas {
        long double v, attendu;
    };
    const Cas cas[] = {{un + std::ldexp(1.0L, -39), un + std::ldexp(1.0L, -39)}, // exact
                       {un + std::ldexp(1.0L, -40), un},                         // tie to even
                       {un + 3 * std::ldexp(1.0L, -41), un + std::ldexp(1.0L, -39)},
                       {-(un + 3 * std::ldexp(1.0L, -41)), -(un + std::ldexp(1.0L, -39))},
                       {0.0L, 0.0L},
                       {std::ldexp(1.0L, -130), 0.0L},
                       {plus_grand, plus_grand}};
    for (const Cas& c : cas)
        EXPECT_EQ(arrondi_reel6(c.v), c.attendu) << double(c.v);
    // 1/3 keeps 40 bits: the error is below half a unit of the 40th bit.
    const long double tiers = arrondi_reel6(1.0L / 3.0L);
    EXPECT_NE(tiers, 1.0L / 3.0L);
    EXPECT_LE(std::fabs(tiers - 1.0L / 3.0L), std::ldexp(1.0L, -42));
}

TEST(Reel6, DebordementA2Puissance127) {
    // The last one is just under 2^127 but rounds up to it.
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

TEST(Reel6, TexteEnReelSansLaLocale) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    struct Cas {
        const char* texte;
        long double valeur;
    };
    const Cas cas[] = {{"07", 7},
                       {"  -12.5", -12.5L},
                       {"12.", 12},
                       {"-12.", -12},
                       {"-", 0},
                       {"", 0},
                       {"1e3", 1000},
                       {"3/", 3},
                       {"2.5", 2.5L},
                       {"+.5", 0.5L},
                       {"2,5", 2},
                       {"-.", 0},
                       {"+-5", 0},
                       {"1.5E-1", arrondi_reel6(0.15L)},
                       // Rounded to the 6-byte real: 0.1 is not the extended 0.1.
                       {"0.1", arrondi_reel6(0.1L)}};
    for (const Cas& c : cas)
        EXPECT_EQ(texte_en_reel(c.texte), c.valeur) << c.texte;
}

TEST(Reel6, ReelEnTexteArrondiSurLeDecimal) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    struct Cas {
        int largeur, decimales;
        long double valeur;
        std::string texte;
    };
    const Cas cas[] = {{20, 0, 5, std::string(19, ' ') + "5"},
                       {20, 1, 2.5L, std::string(19, ' ') + "2.5"},
                       {2, 0, 12345, "12345"}, // never cut
                       // Half away from zero at the last decimal, on the decimal the real holds.
                       {0, 6, 1.0L / 128, "0.007813"},
                       {0, 0, 2.5L, "3"},
                       {0, 0, -0.5L, "-1"},
                       {0, 2, 9.995L, "10.00"},
                       // A value that rounds to zero carries no sign.
                       {0, 2, -0.001L, "0.00"},
                       // Twelve significant digits, not the binary expansion.
                       {0, 0, 1e30L, "1000000000000000000000000000000"},
                       {0, 0, 1234567890123.0L, "1234567890120"},
                       {0, 3, 1e-20L, "0.000"}};
    for (const Cas& c : cas)
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
    EXPECT_EQ(code_style({}), 1);
    EXPECT_EQ(code_style({true, false, false, false}), 2);
    EXPECT_EQ(code_style({false, true, false, false}), 3);
    EXPECT_EQ(code_style({true, true, false, false}), 4);
    EXPECT_EQ(code_style({true, false, true, false}), 1);
    EXPECT_EQ(code_style({true, true, false, true}), 1);
    for (std::int16_t c = 1; c <= 4; ++c)
        EXPECT_EQ(code_style(style_police(c)), c);
    EXPECT_EQ(style_police(4), (StylePolice{true, true, false, false}));
    EXPECT_EQ(style_police(9), StylePolice{});
}
