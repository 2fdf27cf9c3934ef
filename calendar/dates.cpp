#include "dates.hpp"

#include "utilitaires.hpp"

#include <array>

namespace quorvel {

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
constexpr long long jours_depuis_civil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long ere = (y >= 0 ? y : y - 399) / 400;
    const long long annee_ere = y - ere * 400;
    const long long jour_annee = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long jour_ere = annee_ere * 365 + annee_ere / 4 - annee_ere / 100 + jour_annee;
    return ere * 146097 + jour_ere - 719468;
}

// 0 = Sunday.
constexpr int indice_semaine(long long jours) {
    return static_cast<int>(((jours + 4) % 7 + 7) % 7);
}

// Weekday of 1 January, 0 = Sunday.
constexpr int premier_janvier(int annee) {
    return indice_semaine(jours_depuis_civil(annee, 1, 1));
}

// The years counted with 53 weeks: those with 53 ISO 8601 weeks, that is a
// year starting on a Thursday, or a leap year starting on a Wednesday
// (1981, 1987, 1992, 1998, 2004, 2009, 2015, 2020, 2026, 2032, ...). With this
// bound the Sunday-to-Saturday weeks keep the ISO number of their Monday.
constexpr bool semaines_longues(int annee) {
    const bool gregorien = annee % 4 == 0 && (annee % 100 != 0 || annee % 400 == 0);
    return premier_janvier(annee) == 4 || (gregorien && premier_janvier(annee) == 3);
}

constexpr int semaines_annee(int annee) {
    return semaines_longues(annee) ? 53 : 52;
}

// Week numbering by whole years. The count runs from Sunday 4 January 1981:
// each Sunday adds one, and a count above the number of weeks of the Sunday's
// year starts again at 1. Within a year every Sunday shares that bound, so the
// count at the k-th Sunday of year y is ((premier(y) - 1 + k) mod W(y)) + 1,
// and only the count at each year's first Sunday needs to be carried over.
// Years before 1981 extend the same rule backwards (52 weeks each).
constexpr int annee_min = 1;
constexpr int annee_max = 9999;

constexpr long long premier_dimanche(int annee) {
    const long long j = jours_depuis_civil(annee, 1, 1);
    return j + (7 - indice_semaine(j)) % 7;
}

constexpr int dimanches_de(int annee) {
    return static_cast<int>((premier_dimanche(annee + 1) - premier_dimanche(annee)) / 7);
}

// Worked out by the compiler: nothing to compute when the program starts.
constexpr std::array<int, annee_max - annee_min + 1> compteurs_premier_dimanche = [] {
    std::array<int, annee_max - annee_min + 1> t{};
    t[1981 - annee_min] = 1; // Sunday 4 January 1981 is week 1
    for (int y = 1981; y < annee_max; ++y) {
        const int w = semaines_annee(y);
        const int dernier = (t[y - annee_min] - 1 + dimanches_de(y) - 1) % w + 1;
        const int suivant = dernier + 1;
        t[y + 1 - annee_min] = suivant > semaines_annee(y + 1) ? 1 : suivant;
    }
    for (int y = 1981; y > annee_min; --y) {
        const int p = y - 1;
        const int w = semaines_annee(p);
        const int c = t[y - annee_min];
        const int dernier = c > 1 ? c - 1 : w;
        const int n = dimanches_de(p);
        t[p - annee_min] = (((dernier - 1 - (n - 1)) % w) + w) % w + 1;
    }
    return t;
}();

const std::array<const char*, 7> noms_jours = {"Dimanche ", "Lundi ",    "Mardi ", "Mercredi ",
                                               "Jeudi ",    "Vendredi ", "Samedi "};
const std::array<const char*, 12> noms_mois = {"Janvier ",
                                               "F\xE9vrier ",
                                               "Mars ",
                                               "Avril ",
                                               "Mai ",
                                               "Juin ",
                                               "Juillet ",
                                               "Aout ",
                                               "Septembre ",
                                               "Octobre ",
                                               "Novembre ",
                                               "D\xE9"
                                               "cembre "};

} // namespace

bool bissextile(int annee) {
    return annee % 4 == 0;
}

int longueur_mois(int mois, int annee) {
    static constexpr std::array<int, 12> longueurs = {31, 28, 31, 30, 31, 30,
                                                      31, 31, 30, 31, 30, 31};
    if (mois < 1 || mois > 12)
        return 0;
    return mois == 2 && bissextile(annee) ? 29 : longueurs[mois - 1];
}

int jour_semaine(int jour, int mois, int annee) {
    return indice_semaine(jours_depuis_civil(annee, mois, jour)) + 1;
}

std::string nom_jour(int n) {
    return n >= 1 && n <= 7 ? noms_jours[n - 1] : "";
}
std::string nom_mois(int n) {
    return n >= 1 && n <= 12 ? noms_mois[n - 1] : "";
}

int numero_semaine(int jour, int mois, int annee) {
    long long s = jours_depuis_civil(annee, mois, jour);
    s -= indice_semaine(s); // the Sunday on or before the date
    // Year of that Sunday, and its rank among the year's Sundays.
    int y = annee;
    if (s < premier_dimanche(y))
        --y;
    if (y < annee_min)
        y = annee_min;
    if (y > annee_max)
        y = annee_max;
    const long long k = (s - premier_dimanche(y)) / 7;
    const int w = semaines_annee(y);
    const int premier = compteurs_premier_dimanche[y - annee_min];
    return static_cast<int>(((premier - 1 + k) % w + w) % w) + 1;
}

std::string texte_date_de(int jour, int mois, int annee) {
    return nombre_zeros(jour, 2) + "/" + nombre_zeros(mois, 2) + "/" + nombre_zeros(annee, 4);
}

std::string texte_date_de(Jour d) {
    return texte_date_de(jour_de(d), mois_de(d), annee_de(d));
}

// Fields read as numbers and truncated, as a date text is everywhere.
Jour jour_du_texte(const std::string& texte) {
    const auto champ = [&](int k) { return static_cast<int>(texte_en_reel(champ_date(texte, k))); };
    return jour_du(champ(1), champ(2), champ(3));
}

std::string date_plus_jours(const std::string& texte, int n) {
    return texte_date_de(plus_jours(jour_du_texte(texte), n));
}

std::string date_moins_jours(const std::string& texte, int n) {
    return texte_date_de(plus_jours(jour_du_texte(texte), -n));
}

std::string champ_date(const std::string& texte, int k) {
    const auto part = [&](std::size_t debut, std::size_t n) {
        return debut < texte.size() ? texte.substr(debut, n) : std::string();
    };
    switch (k) {
    case 1:
        return part(0, 2);
    case 2:
        return part(3, 2);
    case 3:
        return part(6, 4);
    default:
        return {};
    }
}

Jour ServiceDates::relit_aujourdhui() {
    const Instant t = horloge_.maintenant();
    aujourdhui_ = {static_cast<std::uint16_t>(t.annee), static_cast<std::uint16_t>(t.mois),
                   static_cast<std::uint16_t>(t.jour), static_cast<std::uint16_t>(t.jour_semaine)};
    return aujourdhui_.date();
}

std::string ServiceDates::texte_date(int genre) {
    const Jour d = relit_aujourdhui();
    const std::string jour = std::to_string(jour_de(d));
    const std::string annee = std::to_string(annee_de(d));
    const std::string date = texte_date_de(d);
    switch (genre) {
    case 1:
        return nom_jour(aujourdhui_.jour_semaine) + jour + " " + nom_mois(mois_de(d)) + annee;
    case 2:
        return jour + " " + nom_mois(mois_de(d)) + annee;
    case 3:
        return date;
    case -1:
        return champ_date(date, 1);
    case -2:
        return champ_date(date, 2);
    case -3:
        return champ_date(date, 3);
    case -4:
        return std::to_string(aujourdhui_.jour_semaine);
    default:
        return {};
    }
}

int ServiceDates::jours_du_mois(int mois) const {
    return longueur_mois(mois, annee_de(aujourdhui_.date()));
}

} // namespace quorvel
