// Date services against std::chrono's calendar as an independent oracle, and
// the small utilities: the 6-byte real, numbers read and written without the
// locale, date and time checks, style codes.
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "commun/essai.hpp"

using namespace quorvel;
namespace ch = std::chrono;

static std::string texte(ch::sys_days d) {
    const ch::year_month_day ymd{d};
    char b[16];
    std::snprintf(b, sizeof b, "%02u/%02u/%04d", unsigned(ymd.day()), unsigned(ymd.month()),
                  int(ymd.year()));
    return b;
}

// ISO 8601 week number, computed independently of the program's rule.
static int semaine_iso(ch::sys_days d) {
    const ch::sys_days jeudi = d + ch::days{4 - static_cast<int>(ch::weekday{d}.iso_encoding())};
    const ch::sys_days debut{ch::year_month_day{jeudi}.year() / ch::January / 1};
    return static_cast<int>((jeudi - debut).count() / 7) + 1;
}

// Every day from 1950 to 2150. From 1981 to 2098: weekday, month length, a step
// of 0 to 399 days forward and back, and from 1983 the ISO week of the following
// day. Before 1983 weeks are counted from Sunday 4 January 1981; everywhere they
// stay in 1..53 and move by one a week (or start again at 1).
TEST(Dates, ChaqueJourDe1950A2150ContreStdChrono) {
    const ch::sys_days debut{ch::year{1981} / ch::January / 1},
        fin{ch::year{2098} / ch::December / 31};
    int precedent = 0;
    for (ch::sys_days d{ch::year{1950} / ch::January / 1};
         d <= ch::sys_days{ch::year{2150} / ch::December / 31}; d += ch::days{1}) {
        const ch::year_month_day ymd{d};
        const int j = int(unsigned(ymd.day())), m = int(unsigned(ymd.month())), a = int(ymd.year());
        const int n = numero_semaine(j, m, a);
        ASSERT_TRUE(n >= 1 && n <= 53) << texte(d);
        if (precedent != 0) {
            ASSERT_TRUE(ch::weekday{d} == ch::Sunday ? n == precedent + 1 || n == 1
                                                     : n == precedent)
                << texte(d);
        }
        precedent = n;
        if (d < debut || d > fin)
            continue;
        ASSERT_EQ(jour_semaine(j, m, a), static_cast<int>(ch::weekday{d}.c_encoding()) + 1)
            << texte(d);
        ASSERT_EQ(longueur_mois(m, a), int(unsigned((ymd.year() / ymd.month() / ch::last).day())));
        const int pas = static_cast<int>((d - debut).count() % 400);
        if (d + ch::days{pas} <= fin) {
            ASSERT_EQ(date_plus_jours(texte(d), pas), texte(d + ch::days{pas})) << texte(d);
            ASSERT_EQ(date_moins_jours(texte(d + ch::days{pas}), pas), texte(d)) << texte(d);
        }
        if (a >= 1983) {
            ASSERT_EQ(n, semaine_iso(d + ch::days{1})) << texte(d);
        }
    }
    const int semaines[][4] = {{4, 1, 1981, 1}, {1, 1, 1982, 52}, {2, 1, 1982, 52}};
    for (const auto& s : semaines)
        EXPECT_EQ(numero_semaine(s[0], s[1], s[2]), s[3]) << s[0] << "/" << s[1] << "/" << s[2];
    EXPECT_GE(numero_semaine(1, 1, 1), 1);
    EXPECT_LE(numero_semaine(31, 12, 20000), 53);
}

// February follows the year of today's date, not a page's year.
TEST(Dates, TexteDateSelonLeGenreEtAujourdhui) {
    HorlogeReglable h(1998, 9, 7, 10, 30);
    ServiceDates s(h);
    // clang-format off
    const std::pair<int, const char*> genres[] = {
        {1, "Lundi 7 Septembre 1998"}, {3, "07/09/1998"}, {-1, "07"}, {-2, "09"}, {-3, "1998"},
        {-4, "2"}, {7, ""}};
    // clang-format on
    for (const auto& [genre, attendu] : genres)
        EXPECT_EQ(s.texte_date(genre), attendu) << genre;
    EXPECT_EQ(s.aujourdhui().jour_semaine, 2);
    h.regle(1998, 2, 5);
    EXPECT_EQ(s.texte_date(2), "5 F\xE9vrier 1998");
    EXPECT_EQ(s.jours_du_mois(2), 28);
    h.regle(2000, 1, 1);
    s.texte_date(3);
    EXPECT_EQ(s.jours_du_mois(2), 29);
    const std::pair<std::string, std::string> textes[] = {
        {nom_mois(13), ""},
        {nom_jour(8), ""},
        {champ_date("24/12/2026", 1) + champ_date("24/12/2026", 2) + champ_date("24/12/2026", 3),
         "24122026"},
        {champ_date("24", 3), ""},
        {texte_date_de(s.relit_aujourdhui()), "01/01/2000"}};
    for (const auto& [vu, attendu] : textes)
        EXPECT_EQ(vu, attendu);
}

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
                                std::ldexp(2.0L - std::ldexp(1.0L, -45), 126)})
        try {
            arrondi_reel6(v);
            ADD_FAILURE() << double(v);
        } catch (const ErreurCalcul& e) {
            EXPECT_EQ(e.message(), "Débordement flottant");
        }
    EXPECT_THROW(texte_en_reel("1E39"), ErreurCalcul);
    EXPECT_THROW(texte_en_reel("1e99999"), ErreurCalcul);
    EXPECT_EQ(texte_en_reel("1e-99999"), 0.0L);
}

// Both ways, "." whatever the user's locale: a French desktop writes "2,5".
// Read numbers are 6-byte reals: 0.1 is not the extended 0.1. Written ones are
// never cut; half away from zero at the last decimal of the decimal the real
// holds, twelve significant digits of it; a value rounding to zero has no sign.
TEST(Reel6, NombresLusEtEcritsSansLaLocale) {
    const test::LocaleFrancaise fr;
    if (!fr.active)
        GTEST_SKIP() << "pas de locale fr_FR.UTF-8";
    const long double dixieme = arrondi_reel6(0.1L), quinze = arrondi_reel6(0.15L);
    const std::pair<const char*, long double> lus[] = {
        {"07", 7},  {"  -12.5", -12.5L}, {"12.", 12}, {"-12.", -12},      {"-", 0},
        {"", 0},    {"1e3", 1000},       {"3/", 3},   {"2.5", 2.5L},      {"+.5", 0.5L},
        {"2,5", 2}, {"-.", 0},           {"+-5", 0},  {"1.5E-1", quinze}, {"0.1", dixieme}};
    for (const auto& [texte, valeur] : lus)
        EXPECT_EQ(texte_en_reel(texte), valeur) << texte;
    // clang-format off
    const std::tuple<int, int, long double, std::string> ecrits[] = {
        {20, 0, 5, "                   5"}, {20, 1, 2.5L, "                   2.5"},
        {2, 0, 12345, "12345"}, {0, 6, 0.0078125L, "0.007813"}, {0, 0, 2.5L, "3"},
        {0, 0, -0.5L, "-1"}, {0, 2, 9.995L, "10.00"}, {0, 2, -0.001L, "0.00"},
        {0, 0, 1e30L, "1000000000000000000000000000000"}, {0, 0, 1234567890123.0L, "1234567890120"},
        {0, 3, 1e-20L, "0.000"}};
    // clang-format on
    for (const auto& [largeur, decimales, valeur, attendu] : ecrits)
        EXPECT_EQ(reel_en_texte(largeur, decimales, valeur), attendu) << double(valeur);
}

TEST(Utilitaires, SeulesLesDatesEtHeuresQuiPeuventSonnerSontValides) {
    const std::pair<const char*, bool> dates[] = {
        {"01/01/1982", true},  {"31/12/2098", true},  {"29/02/2000", true},  {"15/05/2098", true},
        {"24/12/2026", true},  {"31/12/1981", false}, {"01/01/2099", false}, {"00/05/1998", false},
        {"12/13/1998", false}, {"31/02/1998", false}, {"1a/05/2026", false}, {"1/05/2026", false},
        {"15/05/1981", false}, {"29/02/1999", false}, {"01-01-1998", false}, {"01/01/1998 ", false},
        {"", false},           {"+1/01/1998", false}, {" 1/01/1998", false}};
    for (const auto& [d, valide] : dates)
        EXPECT_EQ(date_valide(d), valide) << d;
    const std::pair<const char*, bool> heures[] = {
        {"00:00", true},     {"23:59", true},  {"07:30", true},  {"12:00", true},
        {"24:30", false},    {"24:00", false}, {"25:00", false}, {"12:60", false},
        {"1a:00", false},    {"12:", false},   {"1230", false},  {"7:30", false},
        {"07:30:00", false}, {"", false},      {"-1:00", false}, {"07.30", false}};
    for (const auto& [h, valide] : heures)
        EXPECT_EQ(heure_valide(h), valide) << h;
}

// Bold 2, italic 3, both 4; any other mix is the regular style 1, and back.
TEST(Utilitaires, CodesDeStyle) {
    // gras, italique, souligne, barre, code.
    const int cas[][5] = {{0, 0, 0, 0, 1}, {1, 0, 0, 0, 2}, {0, 1, 0, 0, 3},
                          {1, 1, 0, 0, 4}, {1, 0, 1, 0, 1}, {1, 1, 0, 1, 1}};
    for (const auto& c : cas) {
        const StylePolice style{c[0] != 0, c[1] != 0, c[2] != 0, c[3] != 0};
        EXPECT_EQ(code_style(style), c[4]);
        if (!style.souligne && !style.barre) {
            EXPECT_EQ(style_police(static_cast<std::int16_t>(c[4])), style) << c[4];
        }
    }
    EXPECT_EQ(style_police(9), StylePolice{});
}
