#pragma once
// The planner's files as one iCalendar file (RFC 5545, UTF-8, local "floating"
// times, which is how the planner keeps them): each agenda line an event of
// one hour, each day note and the note pad a journal entry, each alarm an
// event at its time, daily, weekly or on its date.
#include "ical/commun_ical.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace quorvel::ical {

struct BilanExport {
    int lignes = 0;
    int cloches = 0; // lines among them with a bell
    int notes = 0;
    bool bloc_notes = false;
    int alarmes = 0;
    // What was left out and why, one French line each (UTF-8).
    std::vector<std::string> laisses;
};

// Identifiers of the items, the same at every export of the same folder.
std::string uid_agenda(Jour j, int heure);
std::string uid_note(Jour j);
inline constexpr const char* uid_bloc_notes = "bloc-notes@quorvel";
std::string uid_alarme(int numero); // numero from 1, in the file's order
bool est_uid_alarme(const char* uid);

// The calendar text of the data folder ("dossier" ends with '/'). Reads only.
// A repeating alarm starts on `aujourdhui`, or on the first of its weekday after.
std::string calendrier_ical(const std::string& dossier, Jour aujourdhui, BilanExport& bilan);

// quorvel --exporte-ical: writes `fichier` whole (the old one stays until the
// new one is complete) and tells what it holds. 0 when written.
int exporte_ical(const std::string& dossier, const std::string& fichier, std::ostream& sortie,
                 std::ostream& erreurs, const Horloge& horloge);

} // namespace quorvel::ical
