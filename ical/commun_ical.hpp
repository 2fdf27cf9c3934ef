#pragma once
// What the export and the import share: days as std::chrono dates, the century
// of a day file's two-digit year, libical ownership, the French of the reports.
#include "calendar/dates.hpp"

#include <libical/ical.h>

#include <chrono>
#include <memory>
#include <string>

namespace quorvel::ical {

// A day file names its year by the last two digits only. They are read as the
// year of the hundred around today: from 50 years before this year to 49 after.
constexpr int annees_avant = 50;
constexpr int annees_apres = 49;
int annee_du_fichier(int deux_chiffres, int annee_courante);

// The data folder as a prefix of file names: "." when none is given, ending with '/'.
std::string dossier_donnees(const std::string& dossier);

// "08h00"
std::string texte_heure(int heure, int minute);

// « texte », with the no-break spaces of French typography.
std::string guillemets(const std::string& utf8);
// "1 ligne", "3 lignes"
std::string nombre_de(int n, const std::string& singulier, const std::string& pluriel);
// A text on one line of a report: line breaks as " / ", cut after 70 characters.
std::string apercu(const std::string& utf8);

// A note file's text as the page loads it (Windows-1252): at most one byte is
// the empty text, zero bytes add nothing. Reads only; throws ErreurES.
std::string texte_de_note(const std::string& chemin);

// Windows-1252 bytes as UTF-8, line breaks as '\n' (and back).
std::string utf8_depuis_fichier(const std::string& cp1252);
std::string fichier_depuis_utf8(const std::string& utf8);
// Characters of a UTF-8 text that Windows-1252 cannot hold: they are stored as '?'.
int sans_equivalent(const std::string& utf8);

// A date, and a floating time: the wall-clock time wherever the calendar is
// read, as on the page.
icaltimetype date_ical(Jour j);
icaltimetype moment_ical(Jour j, int heure, int minute);
// A display alarm that rings when the item starts.
void ajoute_rappel(icalcomponent* evenement, const std::string& texte);

struct LibereComposant {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Composant = std::unique_ptr<icalcomponent, LibereComposant>;

} // namespace quorvel::ical
