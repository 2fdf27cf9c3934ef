#pragma once
// The one unit that knows the calendar. Texts are Windows-1252 bytes.
#include "plateforme/horloge.hpp"

#include <chrono>
#include <cstdint>
#include <string>

namespace quorvel {

// A date of the model.
using Jour = std::chrono::year_month_day;

// The day, month and year as the files' names and the page's labels take them.
inline int jour_de(Jour d) {
    return static_cast<int>(unsigned{d.day()});
}
inline int mois_de(Jour d) {
    return static_cast<int>(unsigned{d.month()});
}
inline int annee_de(Jour d) {
    return static_cast<int>(d.year());
}
inline Jour jour_du(int jour, int mois, int annee) {
    return std::chrono::year{annee} / static_cast<unsigned>(mois) / static_cast<unsigned>(jour);
}
// The date of an instant of the clock.
inline Jour date_de(const Instant& t) {
    return jour_du(t.jour, t.mois, t.annee);
}
inline Jour plus_jours(Jour d, int n) {
    return Jour{std::chrono::sys_days{d} + std::chrono::days{n}};
}

// Leap year: divisible by 4 (equals the Gregorian rule from 1901 to 2099).
bool bissextile(int annee);
// Length of month 1..12 in the given year (0 for another month).
int longueur_mois(int mois, int annee);
// Weekday of a date, 1 = Sunday ... 7 = Saturday.
int jour_semaine(int jour, int mois, int annee);

std::string nom_jour(int n); // "Lundi ", ... empty outside 1..7
std::string nom_mois(int n); // "Février ", "Aout ", ... empty outside 1..12

// Week number counted from Sunday 4 January 1981, Sunday-start weeks; from 1983
// on, the ISO 8601 number of the following day. Defined for every date.
int numero_semaine(int jour, int mois, int annee);

// Date texts "JJ/MM/AAAA", and the one conversion between them and dates.
std::string texte_date_de(int jour, int mois, int annee);
std::string texte_date_de(Jour d);
Jour jour_du_texte(const std::string& texte);
std::string date_plus_jours(const std::string& texte, int n);
std::string date_moins_jours(const std::string& texte, int n);
std::string champ_date(const std::string& texte, int k);

// Today's date as last read from the system clock.
struct DateDuJour {
    std::uint16_t annee = 0, mois = 0, jour = 0, jour_semaine = 0;
    Jour date() const { return jour_du(jour, mois, annee); }
};

// Reads the clock; every texte_date refreshes today's date.
class ServiceDates {
public:
    explicit ServiceDates(const Horloge& horloge) : horloge_(horloge) {}
    // Reads today's date from the clock again.
    Jour relit_aujourdhui();
    std::string texte_date(int genre);
    // February's length is that of the year of today's date.
    int jours_du_mois(int mois) const;
    const DateDuJour& aujourdhui() const { return aujourdhui_; }
    const Horloge& horloge() const { return horloge_; }

private:
    const Horloge& horloge_;
    DateDuJour aujourdhui_;
};

} // namespace quorvel
