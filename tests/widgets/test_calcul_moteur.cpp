// The calculator's key engine: key sequences, the digit guard, the entry
// length, each failure with the state it leaves, and random expressions
// against an evaluation written here.
#include "commun/essai.hpp"
#include "widgets/calcul_moteur.hpp"

#include <charconv>
#include <string>

using namespace quorvel;

static std::string sans_blancs(const std::string& t) {
    return t.substr(std::min(t.find_first_not_of(' '), t.size()));
}

// Reads a displayed number the way the calculator writes it, locale or not.
static double lu(const std::string& t) {
    double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

// The oracle's own 6-byte rounding: 40 significant bits, ties to even.
static long double reel6(long double v) {
    const int e = v == 0 ? 0 : std::ilogb(v);
    return v == 0 ? 0 : std::scalbn(std::nearbyint(std::scalbn(v, 39 - e)), e - 39);
}

// Results rounded half away from zero at the sixth decimal of the decimal
// value; the digit guard: ten digits only while the number stays under 1e10 - 1.
TEST(MoteurCalcul, SequencesDeTouches) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    const auto verifie = [](const std::string& touches, const std::string& affichage) {
        MoteurCalcul m;
        m.traite_touches(touches);
        EXPECT_EQ(sans_blancs(m.affichage()), affichage) << touches;
    };
    // clang-format off
    const std::pair<const char*, const char*> cas[] = {
        {"", "0"}, {".", "0"}, {"0.5", "0.5"}, {"05", "05"}, {"12+3*4=", "60"}, {"10/4=", "2.5"},
        {"1/3=", "0.333333"}, {"2/3=", "0.666667"}, {"1/8=", "0.125"}, {"5-8=", "-3"},
        {"-2.5+0=", "-2.5"}, {"1.5.", "1.5"}, {"1.5+2.5=", "4"}, {"2+3=7", "7"}, {"2+*3=", "5"},
        {"2+-3=", "-1"}, {"3*-2=", "-6"}, {"5=", "0"}, {"2+3==", "0"}, {"2+3=+", "0"},
        {"2+3=+4", "4"}, {"2+3=+4=", "0"}, {"2+3", "3"}, {"2+", "0"}, {"-", "-"}, {"-.", "-"},
        {"12.", "12."}, {"1.25*4=", "5"}, {"0.1+0.2=", "0.3"}, {"123c", "0"}, {"9*9c", "0"},
        {"1+2c3=", "0"}, {"1+2c3+4=", "7"}, {"-0*5=", "0"}, {"x7?", "7"}, {"1/128=", "0.007813"},
        {"1+1.99999999999=", "3"}, {"-1/128=", "-0.007813"}, {"0.1234565+0=", "0.123457"},
        {"0.0000005+0=", "0.000001"}, {"9999999999", "999999999"}, {"10000000000", "1000000000"},
        {"1234567899", "1234567899"}, {"999999998.5", "999999998.5"},
        {"99999999.55", "99999999.55"}};
    // clang-format on
    for (const auto& [touches, affichage] : cas)
        verifie(touches, affichage);
    // Decimals and negative numbers are bounded only by the entry's length.
    const std::string tiers = "0." + std::string(40, '3'), moins = "-" + std::string(40, '7') + ".";
    verifie(tiers, tiers.substr(0, 30));
    verifie(moins, moins.substr(0, 30));
}

// Too long for the entry in fixed notation, the magnitude survives.
TEST(MoteurCalcul, FormatDuResultat) {
    const std::pair<long double, std::string> cas[] = {
        {-2.5L, "                  -2.5"},
        {1e-7L, "                   0.000000"}, // seventh decimal: six shown
        {-0.0L, "                   0"},
        // Twelve significant digits, as the 6-byte real holds them.
        {1234567890123.0L, "       1234567890120"},
        {1e31L, "1E+31"},
        {-1.5e33L, "-1.5E+33"}};
    for (const auto& [total, texte] : cas) {
        const std::string vu = texte_resultat(total);
        EXPECT_EQ(texte[0] == ' ' ? vu : sans_blancs(vu), texte) << double(total);
        EXPECT_LE(vu.size(), 30u);
    }
    EXPECT_THROW(texte_resultat(1e39L), ErreurCalcul);
}

// Each failure leaves the total, the pending operator and the entry as they
// were, so that typing goes on; "C" starts afresh. A result beyond the 6-byte
// real: total keeps the product, the entry the last number. The accumulator's
// own overflow, about 1e29 a product with the extended range ending near 1e4932.
TEST(MoteurCalcul, EchecsEtEtatLaisse) {
    using A = Arithmetique;
    const std::string neufs = "-" + std::string(29, '9');
    std::string produits = neufs;
    for (int k = 0; k < 1000; ++k)
        produits += "*" + neufs;
    const struct {
        std::string touches;
        A genre;
        long double total;
        std::string saisie;
        char operation;
    } cas[] = {{"5/0=", A::division_par_zero, 5, "0", '/'},
               {"5/0+", A::division_par_zero, 5, "0", '/'},
               {"5/0.0=", A::division_par_zero, 5, "0.0", '/'},
               {"0/0=", A::operation_incorrecte, 0, "0", '/'},
               {"0/-=", A::operation_incorrecte, 0, "-", '/'},
               {neufs + "*" + neufs + "=", A::debordement, 0, neufs, '*'},
               {produits, A::debordement, 0, neufs, '*'}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.touches.substr(0, 40));
        MoteurCalcul m;
        std::size_t tapees = 0;
        try {
            for (; tapees < c.touches.size(); ++tapees)
                m.traite_touche(c.touches[tapees]);
            ADD_FAILURE() << "pas d'échec";
        } catch (const ErreurCalcul& e) {
            EXPECT_EQ(e.genre(), c.genre);
        }
        EXPECT_EQ(m.operation(), c.operation);
        EXPECT_EQ(m.saisie(), c.saisie);
        if (c.touches == produits) {
            EXPECT_GE(tapees, neufs.size() + 101 * (neufs.size() + 1));
            EXPECT_TRUE(std::isfinite(m.total()));
            continue;
        }
        EXPECT_EQ(tapees, c.touches.size() - 1);
        if (c.genre == A::debordement) {
            EXPECT_NEAR(static_cast<double>(m.total()), 1e58, 1e46);
            EXPECT_FALSE(m.virgule_saisie());
            continue;
        }
        EXPECT_EQ(m.total(), c.total);
        EXPECT_EQ(m.affichage(), c.saisie);
        EXPECT_FALSE(m.nombre_saisi());
        EXPECT_FALSE(m.resultat_affiche());
        m.traite_touches("c2+2=");
        EXPECT_EQ(sans_blancs(m.affichage()), "4");
    }
}

// Random expressions typed number by number, checked against a plain
// left-to-right evaluation of the typed numbers as the calculator reads them.
TEST(MoteurCalcul, ExpressionsAleatoires) {
    std::mt19937 alea(20240611);
    // 1 to `plus` digits.
    const auto chiffres = [&](unsigned plus) {
        std::string t;
        for (unsigned n = 1 + alea() % plus; n > 0; --n)
            t += static_cast<char>('0' + alea() % 10);
        return t;
    };
    for (int essai = 0; essai < 2000; ++essai) {
        std::string touches;
        const auto nombre = [&] {
            std::string t = alea() % 4 == 0 ? "-" : "";
            t += chiffres(5);
            if (alea() % 3 == 0)
                t += "." + chiffres(3);
            touches += t;
            return reel6(lu(t));
        };
        long double attendu = nombre();
        bool par_zero = false;
        for (int i = 0, termes = 1 + int(alea() % 4); i < termes && !par_zero; ++i) {
            const char op = "+-*/"[alea() % 4];
            touches += op;
            const long double x = nombre();
            par_zero = op == '/' && x == 0;
            attendu = op == '+'   ? attendu + x
                      : op == '-' ? attendu - x
                      : op == '*' ? attendu * x
                      : par_zero  ? attendu
                                  : attendu / x;
        }
        MoteurCalcul m;
        m.traite_touches(touches);
        if (par_zero) {
            EXPECT_THROW(m.traite_touche('='), ErreurCalcul) << touches;
            continue;
        }
        m.traite_touche('=');
        const std::string vu = sans_blancs(m.affichage());
        // Half a unit of the sixth decimal, or of the twelfth significant digit.
        const double a = static_cast<double>(attendu);
        EXPECT_NEAR(lu(vu), a, 5.01e-7 + 6e-12 * std::fabs(a)) << touches << " -> " << vu;
        EXPECT_LE(vu.size() - std::min(vu.find('.'), vu.size() - 1) - 1, 6u) << vu;
    }
}
