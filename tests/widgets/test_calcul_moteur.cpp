// The calculator's key engine: key sequences, the digit guard, the entry
// length, each failure with the state it leaves, and random expressions
// against an evaluation written here.
#include "plateforme/erreurs.hpp"
#include "widgets/calcul_moteur.hpp"

#include <gtest/gtest.h>

#include "commun/locale_francaise.hpp"
#include <charconv>
#include <cmath>
#include <random>
#include <string>

using namespace quorvel;

namespace {

std::string sans_blancs(const std::string& t) {
    const auto debut = t.find_first_not_of(' ');
    return debut == std::string::npos ? std::string() : t.substr(debut);
}

// Reads a displayed number the way the calculator writes it, locale or not.
double lu(const std::string& t) {
    double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

std::string affiche_apres(const std::string& touches) {
    MoteurCalcul m;
    m.traite_touches(touches);
    return sans_blancs(m.affichage());
}

} // namespace

TEST(MoteurCalcul, SequencesDeTouches) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    struct Cas {
        const char* touches;
        const char* affichage;
    };
    const Cas cas[] = {
        {"", "0"},           {".", "0"},       {"0.5", "0.5"},       {"05", "05"},
        {"12+3*4=", "60"},   {"10/4=", "2.5"}, {"1/3=", "0.333333"}, {"2/3=", "0.666667"},
        {"1/8=", "0.125"},   {"5-8=", "-3"},   {"-2.5+0=", "-2.5"},  {"1.5.", "1.5"},
        {"1.5+2.5=", "4"},   {"2+3=7", "7"},   {"2+*3=", "5"},       {"2+-3=", "-1"},
        {"3*-2=", "-6"},     {"5=", "0"},      {"2+3==", "0"},       {"2+3=+", "0"},
        {"2+3=+4", "4"},     {"2+3=+4=", "0"}, {"2+3", "3"},         {"2+", "0"},
        {"-", "-"},          {"-.", "-"},      {"12.", "12."},       {"1.25*4=", "5"},
        {"0.1+0.2=", "0.3"}, {"123c", "0"},    {"9*9c", "0"},        {"1+2c3=", "0"},
        {"1+2c3+4=", "7"},   {"-0*5=", "0"},   {"x7?", "7"},         {"1/128=", "0.007813"}};
    for (const Cas& c : cas)
        EXPECT_EQ(affiche_apres(c.touches), c.affichage) << c.touches;
    // Results rounded half away from zero at the sixth decimal of the decimal
    // value; the digit guard: ten digits only while the number stays under 1e10 - 1.
    const Cas arrondis[] = {{"1+1.99999999999=", "3"},     {"-1/128=", "-0.007813"},
                            {"0.1234565+0=", "0.123457"},  {"0.0000005+0=", "0.000001"},
                            {"9999999999", "999999999"},   {"10000000000", "1000000000"},
                            {"1234567899", "1234567899"},  {"999999998.5", "999999998.5"},
                            {"99999999.55", "99999999.55"}};
    for (const Cas& c : arrondis)
        EXPECT_EQ(affiche_apres(c.touches), c.affichage) << c.touches;
}

TEST(MoteurCalcul, FormatDuResultat) {
    struct Cas {
        long double total;
        std::string texte;
    };
    const Cas cas[] = {{-2.5L, std::string(18, ' ') + "-2.5"},
                       {1e-7L, std::string(19, ' ') + "0.000000"}, // seventh decimal: six shown
                       {-0.0L, std::string(19, ' ') + "0"},
                       // Twelve significant digits, as the 6-byte real holds them.
                       {1234567890123.0L, std::string(7, ' ') + "1234567890120"}};
    for (const Cas& c : cas)
        EXPECT_EQ(texte_resultat(c.total), c.texte) << double(c.total);

    // Too long for the entry in fixed notation: the magnitude must survive.
    const std::string grand = texte_resultat(1e31L);
    EXPECT_LE(grand.size(), 30u);
    EXPECT_EQ(sans_blancs(grand), "1E+31");
    EXPECT_EQ(sans_blancs(texte_resultat(-1.5e33L)), "-1.5E+33");
    EXPECT_THROW(texte_resultat(1e39L), ErreurCalcul);
}

TEST(MoteurCalcul, SaisieDeTrenteCaracteres) {
    // Decimals and negative numbers are bounded only by the entry's length.
    MoteurCalcul m;
    m.traite_touches("0." + std::string(40, '3'));
    EXPECT_EQ(m.saisie(), "0." + std::string(28, '3'));
    MoteurCalcul n;
    n.traite_touches("-" + std::string(40, '7'));
    EXPECT_EQ(n.saisie(), "-" + std::string(29, '7'));
    n.traite_touche('.');
    EXPECT_EQ(n.saisie().size(), 30u);
}

// Each failure leaves the total, the pending operator and the entry as they
// were, so that typing goes on; "C" starts afresh.
TEST(MoteurCalcul, EchecsEtEtatLaisse) {
    using A = Arithmetique;
    const struct {
        const char* touches;
        A genre;
        long double total;
        const char* saisie;
    } cas[] = {{"5/0=", A::division_par_zero, 5, "0"},
               {"5/0+", A::division_par_zero, 5, "0"},
               {"5/0.0=", A::division_par_zero, 5, "0.0"},
               {"0/0=", A::operation_incorrecte, 0, "0"},
               {"0/-=", A::operation_incorrecte, 0, "-"}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.touches);
        MoteurCalcul m;
        const std::string touches = c.touches;
        m.traite_touches(touches.substr(0, touches.size() - 1));
        try {
            m.traite_touche(touches.back());
            ADD_FAILURE() << "pas d'échec";
        } catch (const ErreurCalcul& e) {
            EXPECT_EQ(e.genre(), c.genre);
        }
        EXPECT_EQ(m.total(), c.total);
        EXPECT_EQ(m.operation(), '/');
        EXPECT_EQ(m.saisie(), c.saisie);
        EXPECT_EQ(m.affichage(), c.saisie);
        EXPECT_FALSE(m.nombre_saisi());
        EXPECT_FALSE(m.resultat_affiche());
        m.traite_touches("c2+2=");
        EXPECT_EQ(sans_blancs(m.affichage()), "4");
    }
    // A result beyond the 6-byte real: total keeps the product, the entry the last number.
    const std::string moins_grand = "-" + std::string(29, '9');
    MoteurCalcul m;
    m.traite_touches(moins_grand + "*" + moins_grand);
    EXPECT_THROW(m.traite_touche('='), ErreurCalcul);
    EXPECT_NEAR(static_cast<double>(m.total()), 1e58, 1e46);
    EXPECT_EQ(m.operation(), '*');
    EXPECT_EQ(m.saisie(), moins_grand);
    EXPECT_FALSE(m.virgule_saisie());
}

TEST(MoteurCalcul, DebordementDeLAccumulateur) {
    // Each product multiplies by about 1e29; the extended range ends near 1e4932.
    MoteurCalcul m;
    const std::string facteur = "-" + std::string(29, '9');
    m.traite_touches(facteur);
    int produits = 0;
    try {
        for (; produits < 1000; ++produits)
            m.traite_touches("*" + facteur);
        FAIL() << "pas de débordement";
    } catch (const ErreurCalcul& e) {
        EXPECT_EQ(e.genre(), Arithmetique::debordement);
    }
    EXPECT_GT(produits, 100);
    EXPECT_TRUE(std::isfinite(m.total()));
    EXPECT_EQ(m.operation(), '*');
    EXPECT_EQ(m.saisie(), facteur);
}

namespace {

// The oracle's own 6-byte rounding: 40 significant bits, ties to even.
long double reel6(long double v) {
    if (v == 0)
        return 0;
    const int e = std::ilogb(v);
    return std::scalbn(std::nearbyint(std::scalbn(v, 39 - e)), e - 39);
}

} // namespace

// Random expressions typed number by number, checked against a plain
// left-to-right evaluation of the typed numbers as the calculator reads them.
TEST(MoteurCalcul, ExpressionsAleatoires) {
    std::mt19937 alea(20240611);
    const char operateurs[] = {'+', '-', '*', '/'};
    for (int essai = 0; essai < 2000; ++essai) {
        // 1 to `plus` digits.
        const auto chiffres = [&](unsigned plus) {
            std::string t;
            for (unsigned n = 1 + alea() % plus; n > 0; --n)
                t += static_cast<char>('0' + alea() % 10);
            return t;
        };
        const auto nombre = [&](std::string& touches) {
            std::string t = alea() % 4 == 0 ? "-" : "";
            t += chiffres(5);
            if (alea() % 3 == 0)
                t += "." + chiffres(3);
            touches += t;
            return reel6(lu(t));
        };
        std::string touches;
        long double attendu = nombre(touches);
        bool par_zero = false;
        const int termes = 1 + static_cast<int>(alea() % 4);
        for (int i = 0; i < termes && !par_zero; ++i) {
            const char op = operateurs[alea() % 4];
            touches += op;
            const long double x = nombre(touches);
            if (op == '/' && x == 0)
                par_zero = true;
            else
                attendu = op == '+'   ? attendu + x
                          : op == '-' ? attendu - x
                          : op == '*' ? attendu * x
                                      : attendu / x;
        }
        MoteurCalcul m;
        if (par_zero) {
            m.traite_touches(touches);
            EXPECT_THROW(m.traite_touche('='), ErreurCalcul) << touches;
            continue;
        }
        touches += '=';
        m.traite_touches(touches);
        const std::string vu = sans_blancs(m.affichage());
        // Half a unit of the sixth decimal, or of the twelfth significant digit.
        const double a = static_cast<double>(attendu);
        EXPECT_NEAR(lu(vu), a, 5.01e-7 + 6e-12 * std::fabs(a)) << touches << " -> " << vu;
        const auto point = vu.find('.');
        if (point != std::string::npos)
            EXPECT_LE(vu.size() - point - 1, 6u) << vu;
    }
}
