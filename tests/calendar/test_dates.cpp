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

int semaine(const ch::year_month_day& d) {
    return numero_semaine(static_cast<int>(unsigned(d.day())),
                          static_cast<int>(unsigned(d.month())), static_cast<int>(d.year()));
}

// ISO 8601 week number, computed independently of the program's rule.
int semaine_iso(ch::sys_days d) {
    const ch::sys_days jeudi = d + ch::days{4 - static_cast<int>(ch::weekday{d}.iso_encoding())};
    const ch::sys_days debut{ch::year_month_day{jeudi}.year() / ch::January / 1};
    return static_cast<int>((jeudi - debut).count() / 7) + 1;
}
} // namespace

// Every day from 1981 to 2098: weekday, month length, a step of 0 to 399 days
// forward and back, and from 1983 the ISO week of the following day.
TEST(Dates, ChaqueJourDe1981A2098ContreStdChrono) {
    const ch::sys_days debut{ch::year{1981} / ch::January / 1};
    const ch::sys_days fin{ch::year{2098} / ch::December / 31};
    for (ch::sys_days d = debut; d <= fin; d += ch::days{1}) {
        const ch::year_month_day ymd{d};
        const int j = static_cast<int>(unsigned(ymd.day())),
                  m = static_cast<int>(unsigned(ymd.month())), a = static_cast<int>(ymd.year());
        ASSERT_EQ(jour_semaine(j, m, a), static_cast<int>(ch::weekday{d}.c_encoding()) + 1)
            << texte(ymd);
        ASSERT_EQ(longueur_mois(m, a),
                  static_cast<int>(unsigned((ymd.year() / ymd.month() / ch::last).day())));
        const int n = static_cast<int>((d - debut).count() % 400);
        if (d + ch::days{n} <= fin) {
            const std::string plus = texte(ch::year_month_day{d + ch::days{n}});
            ASSERT_EQ(date_plus_jours(texte(ymd), n), plus) << texte(ymd) << " + " << n;
            ASSERT_EQ(date_moins_jours(plus, n), texte(ymd)) << plus << " - " << n;
        }
        if (a >= 1983)
            ASSERT_EQ(semaine(ymd), semaine_iso(d + ch::days{1})) << texte(ymd);
    }
}

// Before 1983 weeks are counted from Sunday 4 January 1981; beyond the years
// shown they stay in 1..53 and move by one a week (or start again at 1).
TEST(Dates, SemainesAvant1983EtHorsDesAnneesMontrees) {
    EXPECT_EQ(numero_semaine(4, 1, 1981), 1);
    EXPECT_EQ(numero_semaine(1, 1, 1982), 52);
    EXPECT_EQ(numero_semaine(2, 1, 1982), 52);
    int precedent = 0;
    for (ch::sys_days d{ch::year{1950} / ch::January / 1};
         d <= ch::sys_days{ch::year{2150} / ch::December / 31}; d += ch::days{1}) {
        const int n = semaine(ch::year_month_day{d});
        ASSERT_TRUE(n >= 1 && n <= 53) << texte(ch::year_month_day{d});
        if (precedent != 0 && ch::weekday{d} == ch::Sunday)
            ASSERT_TRUE(n == precedent + 1 || n == 1) << texte(ch::year_month_day{d});
        else if (precedent != 0)
            ASSERT_EQ(n, precedent) << texte(ch::year_month_day{d});
        precedent = n;
    }
    EXPECT_GE(numero_semaine(1, 1, 1), 1);
    EXPECT_LE(numero_semaine(31, 12, 20000), 53);
}

TEST(Dates, TexteDateSelonLeGenreEtAujourdhui) {
    HorlogeReglable h(1998, 9, 7, 10, 30);
    ServiceDates s(h);
    const std::pair<int, const char*> genres[] = {{1, "Lundi 7 Septembre 1998"},
                                                  {3, "07/09/1998"},
                                                  {-1, "07"},
                                                  {-2, "09"},
                                                  {-3, "1998"},
                                                  {-4, "2"},
                                                  {7, ""}};
    for (const auto& [genre, attendu] : genres)
        EXPECT_EQ(s.texte_date(genre), attendu) << genre;
    EXPECT_EQ(s.aujourdhui().jour_semaine, 2);
    // February follows the year of today's date, not a page's year.
    h.regle(1998, 2, 5);
    EXPECT_EQ(s.texte_date(2), "5 F\xE9vrier 1998");
    EXPECT_EQ(s.jours_du_mois(2), 28);
    h.regle(2000, 1, 1);
    s.texte_date(3);
    EXPECT_EQ(s.jours_du_mois(2), 29);
    EXPECT_EQ(nom_mois(13), "");
    EXPECT_EQ(nom_jour(8), "");
    EXPECT_EQ(champ_date("24/12/2026", 1) + champ_date("24/12/2026", 2) +
                  champ_date("24/12/2026", 3),
              "24122026");
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
