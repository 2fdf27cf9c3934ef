#pragma once
// What the calendar tests share: a calendar text read back by libical with
// its items by identifier, and a date's day files read without touching them.
#include "ical/commun_ical.hpp"
#include "jour/fichiers_jour.hpp"

#include <array>
#include <map>
#include <string>

namespace quorvel::test {

struct CalendrierLu {
    explicit CalendrierLu(const std::string& texte);
    ical::Composant racine;
    std::map<std::string, icalcomponent*> elements; // by UID
    icalcomponent* element(const std::string& uid) const;
};

// "20261208T080000", "20261208" for a date, "" when missing.
std::string debut(icalcomponent* c);
std::string fin(icalcomponent* c);
std::string regle(icalcomponent* c); // "FREQ=DAILY", "" when none
inline std::string texte(const char* t) {
    return t ? t : "";
}
inline bool a_un_rappel(icalcomponent* c) {
    return icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
}

struct JourLu {
    std::array<std::string, nombre_creneaux> lignes; // UTF-8
    std::array<bool, nombre_creneaux> cloches{};
    std::string note; // UTF-8, line breaks '\n'
    bool agenda = false;
};
JourLu lit_jour(const std::string& dossier, int jour, int mois, int annee);

} // namespace quorvel::test
