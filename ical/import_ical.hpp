#pragma once
// What another calendar's iCalendar file holds, added to the planner's day
// files and never written over what is there: an event goes to the agenda line
// of its hour when that line is empty, otherwise (and when it has no such hour)
// to the end of the day note of its date; a dated journal entry goes to the end
// of the day note.
#include "ical/commande_ical.hpp"
#include "ical/commun_ical.hpp"
#include "plateforme/erreurs.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace quorvel::ical {

// Repeating items are written for the dates the planner keeps: the purge at
// each start deletes the day files from 179 to 5 days before today, so from 4
// days before today, up to a year and a day ahead.
constexpr int repetition_avant = 4;
constexpr int repetition_apres = 366;
// A one-off item the next start would delete at once is left out.
constexpr int purge_debut = 179;
constexpr int purge_fin = 5;

// One date (and time) of an item, ready for the files.
struct Element {
    Jour jour;
    int heure = -1; // -1: the whole day (all-day event, journal entry)
    int minute = 0;
    std::string texte; // Windows-1252, line breaks CR LF
    bool cloche = false;
    int sans_equivalent = 0; // characters stored as '?'
};

enum class Place {
    ligne,        // written on the agenda line of its hour
    note,         // added at the end of the day note
    note_au_lieu, // the same, because the agenda line could not take it
    deja_present, // the line or the note already holds it
    sans_place,   // the day note would pass 5000 characters
    laisse,       // not for the planner (see raison)
};

// One line of the report.
struct Compte {
    bool date = false;
    Jour jour;
    int heure = -1; // the agenda line, for Place::ligne
    bool cloche = false;
    Place place = Place::laisse;
    std::string texte;  // UTF-8
    std::string raison; // French, may be empty
    int creneau = 0;    // the agenda line written or found (1..13), 0 when none
    std::string bloc;   // what the line or the note holds for it (Windows-1252)
};

struct Lecture {
    std::vector<Element> elements;
    std::vector<Compte> laisses;
    int autres = 0;     // to-dos and other components the planner has no place for
    int illisibles = 0; // values, parameters or lines libical could not read, passed over
};

// Not an iCalendar file, or a cut or ill-formed one. The message is French and follows
// the file's name ("n'est pas un fichier iCalendar…"), without a full stop.
class FichierRefuse : public ErreurQuorvel {
public:
    using ErreurQuorvel::ErreurQuorvel;
};

// The two files of a date as they stand, and what the import makes of them.
struct FichiersDuJour {
    std::string agenda; // 806 bytes, or what a cut file holds
    bool agenda_lisible = true, agenda_change = false;
    std::string note;
    bool note_change = false;
};
// Reads only; a missing file is an empty agenda or note.
FichiersDuJour charge_jour(const std::string& dossier, Jour j);
// The block stands in the note as whole lines.
bool contient_lignes(const std::string& note, const std::string& bloc);
// Places one item in the files of its date, never over what they hold.
Compte place(FichiersDuJour& f, const Element& e);

// The items of a calendar text, with their dates from `aujourdhui`. Times with
// a time zone are turned into the local time (TZ); floating ones are taken as they are.
Lecture lit_calendrier(const std::string& texte, Jour aujourdhui);

struct BilanImport {
    std::vector<Compte> comptes;
    int autres = 0;
    int sans_equivalent = 0;
    int fichiers_ecrits = 0;
    int illisibles = 0;
};

// Places the items in the day files of `dossier` (ending with '/') and writes
// the files that change, each replaced whole. Reads everything before it writes.
BilanImport place_elements(const std::string& dossier, std::vector<Element> elements);

// Reads, makes sure the program is not open on the data folder (refused while
// it runs there; an empty `est_ouvert` asks no one), places and writes.
BilanImport importe(const std::string& dossier, const std::string& texte, Jour aujourdhui,
                    const EstOuvert& est_ouvert = {});

// quorvel --importe-ical: the report on `sortie`, a refusal on `erreurs`; 0 when done.
int importe_ical(const std::string& dossier, const std::string& fichier, std::ostream& sortie,
                 std::ostream& erreurs, const Horloge& horloge, const EstOuvert& est_ouvert);

} // namespace quorvel::ical
