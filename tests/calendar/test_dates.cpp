// Date services against std::chrono's calendar as an independent oracle.
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"

#include <chrono>
#include <gtest/gtest.h>

using namespace quorvel;
namespace ch = std::chrono;

namespace {
std::string texte(const ch::year_month_day& d) {
    char b[16];
    std::snprintf(b, sizeof b, "%02u/%02u/%04d", static_cast<unsigned>(d.day()),
                  static_cast<unsigned>(d.month()), static_cast<int>(d.year()));
    return b;
}

// ISO 8601 week number, computed independently of the program's rule.
int semaine_iso(ch::sys_days d) {
    const ch::weekday wd{d};
    const int iso_wd = static_cast<int>(wd.iso_encoding()); // 1 = Monday
    const ch::sys_days jeudi = d + ch::days{4 - iso_wd};
    const ch::year_month_day ymd{jeudi};
    const ch::sys_days debut{ymd.year() / ch::January / 1};
    return static_cast<int>((jeudi - debut).count() / 7) + 1;
}
} // namespace

TEST(Dates, JourDeLaSemaineEtArithmetiqueSurChaqueJourDe1981A2098) {
    ch::sys_days d{ch::year{1981} / ch::January / 1};
    const ch::sys_days fin{ch::year{2098} / ch::December / 31};
    for (; d < fin; d += ch::days{1}) {
        const ch::year_month_day ymd{d}, suivant{d + ch::days{1}};
        const int j = static_cast<int>(static_cast<unsigned>(ymd.day()));
        const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int a = static_cast<int>(ymd.year());
        ASSERT_EQ(jour_semaine(j, m, a), static_cast<int>(ch::weekday{d}.c_encoding()) + 1)
            << texte(ymd);
        ASSERT_EQ(date_plus_jours(texte(ymd), 1), texte(suivant));
        ASSERT_EQ(date_moins_jours(texte(suivant), 1), texte(ymd));
        ASSERT_EQ(longueur_mois(m, a), static_cast<int>(static_cast<unsigned>(
                                           (ymd.year() / ymd.month() / ch::last).day())));
    }
}

TEST(Dates, ArithmetiqueSurPlusieursJours) {
    EXPECT_EQ(date_plus_jours("31/12/1998", 1), "01/01/1999");
    EXPECT_EQ(date_plus_jours("28/02/2000", 1), "29/02/2000");
    EXPECT_EQ(date_moins_jours("01/03/1999", 1), "28/02/1999");
    EXPECT_EQ(date_moins_jours("01/01/1999", 5), "27/12/1998");
    EXPECT_EQ(date_moins_jours("10/07/1998", 180), "11/01/1998");
    EXPECT_EQ(date_plus_jours("11/01/1998", 180), "10/07/1998");
}

TEST(Dates, NumerosDeSemaineConnus) {
    struct Cas {
        int j, m, a, semaine;
    };
    const Cas cas[] = {{4, 1, 1981, 1},    {1, 1, 1982, 52},   {2, 1, 1982, 52},  {28, 12, 1997, 1},
                       {1, 1, 1998, 1},    {3, 1, 1998, 1},    {4, 1, 1998, 2},   {5, 1, 1998, 2},
                       {7, 9, 1998, 37},   {31, 12, 1998, 53}, {3, 1, 1999, 1},   {29, 2, 2000, 9},
                       {31, 12, 2009, 53}, {3, 1, 2010, 1},    {6, 12, 2026, 50}, {7, 12, 2026, 50},
                       {31, 12, 2026, 53}, {3, 1, 2027, 1}};
    for (const Cas& c : cas)
        EXPECT_EQ(numero_semaine(c.j, c.m, c.a), c.semaine) << c.j << "/" << c.m << "/" << c.a;
}

TEST(Dates, SemaineEgaleIsoDuLendemainDe1983A2098) {
    for (ch::sys_days d{ch::year{1983} / ch::January / 1};
         d <= ch::sys_days{ch::year{2098} / ch::December / 31}; d += ch::days{1}) {
        const ch::year_month_day ymd{d};
        ASSERT_EQ(numero_semaine(static_cast<int>(static_cast<unsigned>(ymd.day())),
                                 static_cast<int>(static_cast<unsigned>(ymd.month())),
                                 static_cast<int>(ymd.year())),
                  semaine_iso(d + ch::days{1}))
            << texte(ymd);
    }
}

TEST(Dates, SemaineDefinieAvant1981EtApres2098) {
    // Week numbers stay in 1..53 and move by one a week (or start again at 1).
    int precedent = 0;
    for (ch::sys_days d{ch::year{1950} / ch::January / 1};
         d <= ch::sys_days{ch::year{2150} / ch::December / 31}; d += ch::days{1}) {
        const ch::year_month_day ymd{d};
        const int n = numero_semaine(static_cast<int>(static_cast<unsigned>(ymd.day())),
                                     static_cast<int>(static_cast<unsigned>(ymd.month())),
                                     static_cast<int>(ymd.year()));
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 53);
        if (precedent != 0) {
            if (ch::weekday{d} == ch::Sunday)
                ASSERT_TRUE(n == precedent + 1 || n == 1) << texte(ymd);
            else
                ASSERT_EQ(n, precedent) << texte(ymd);
        }
        precedent = n;
    }
    // Far years do not loop or crash.
    EXPECT_GE(numero_semaine(1, 1, 1), 1);
    EXPECT_LE(numero_semaine(31, 12, 20000), 53);
}

TEST(Dates, NomsEtBissextiles) {
    EXPECT_EQ(nom_mois(8), "Aout ");
    EXPECT_EQ(nom_mois(2), "F\xE9vrier ");
    EXPECT_EQ(nom_mois(12), "D\xE9"
                            "cembre ");
    EXPECT_EQ(nom_mois(0), "");
    EXPECT_EQ(nom_mois(13), "");
    EXPECT_EQ(nom_jour(1), "Dimanche ");
    EXPECT_EQ(nom_jour(7), "Samedi ");
    EXPECT_EQ(nom_jour(8), "");
    EXPECT_TRUE(bissextile(2000));
    EXPECT_TRUE(bissextile(1996));
    EXPECT_FALSE(bissextile(1998));
    EXPECT_EQ(jour_semaine(1, 1, 1998), 5);
    EXPECT_EQ(jour_semaine(5, 5, 1996), 1);
}

TEST(Dates, TexteDateSelonLeGenreEtAujourdhui) {
    HorlogeReglable h(1998, 9, 7, 10, 30);
    ServiceDates s(h);
    EXPECT_EQ(s.texte_date(1), "Lundi 7 Septembre 1998");
    EXPECT_EQ(s.aujourdhui().jour_semaine, 2);
    EXPECT_EQ(s.aujourdhui().annee, 1998);
    EXPECT_EQ(s.texte_date(3), "07/09/1998");
    EXPECT_EQ(s.texte_date(-1), "07");
    EXPECT_EQ(s.texte_date(-2), "09");
    EXPECT_EQ(s.texte_date(-3), "1998");
    EXPECT_EQ(s.texte_date(-4), "2");
    EXPECT_EQ(s.texte_date(7), "");
    h.regle(1998, 3, 5);
    EXPECT_EQ(s.texte_date(2), "5 Mars 1998");
    // February follows the year of today's date, not a page's year.
    EXPECT_EQ(s.jours_du_mois(2), 28);
    h.regle(2000, 1, 1);
    s.texte_date(3);
    EXPECT_EQ(s.jours_du_mois(2), 29);
    EXPECT_EQ(champ_date("24/12/2026", 1), "24");
    EXPECT_EQ(champ_date("24/12/2026", 2), "12");
    EXPECT_EQ(champ_date("24/12/2026", 3), "2026");
    EXPECT_EQ(champ_date("24", 3), "");
}

TEST(Horloge, LaDoublureAvanceAuTraversDesMoisEtDesAnnees) {
    HorlogeReglable h(1998, 12, 31, 23, 59, 30);
    h.avance(45);
    EXPECT_EQ(h.maintenant(), (Instant{1999, 1, 1, 6, 0, 0, 15}));
    h.regle(2000, 2, 28, 23, 0, 0);
    h.avance(3600);
    EXPECT_EQ(h.maintenant().jour, 29);
    EXPECT_EQ(h.maintenant().jour_semaine, 3);
}
