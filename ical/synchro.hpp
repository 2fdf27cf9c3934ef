#pragma once
// Two-way synchronisation of the day files with a CalDAV calendar. Each
// written agenda line is a one-hour event at its hour (a display alarm when
// it has its bell), each day note a journal entry on its date. What the
// server adds is placed as the import places it. What the user typed on the
// desk is never written over nor deleted: when both sides changed the same
// thing, the desk keeps its text and the server's is added to the day note.
#include "ical/caldav.hpp"
#include "ical/commande_ical.hpp"
#include "ical/commun_ical.hpp"

#include <string>
#include <vector>

namespace quorvel::ical {

// Name of the sync-state file in the data folder.
inline constexpr const char* fichier_etat_synchro = ".synchro-caldav";

// Where a server item went on the desk, and what stood there when both sides
// last agreed.
struct PlaceLiee {
    Jour jour;
    int creneau = 0;   // 1..13 an agenda line; 0 the whole day note; -1 a block added to it
    std::string texte; // Windows-1252: the line, the note or the block
    bool cloche = false;
    bool operator==(const PlaceLiee&) const = default;
};

struct Lien {
    std::string href, uid;
    std::string etag;      // empty: written by the desk, not yet confirmed by the server
    std::string empreinte; // of the server version last agreed on
    bool repete = false;   // a repeating item: the desk never rewrites it
    // When to read the item again though its ETag is the same: a repeating
    // one each day, one beyond the window when it comes in. Not ok(): never.
    Jour relire_le{};
    std::vector<PlaceLiee> places;
    bool operator==(const Lien&) const = default;
};

struct EtatSynchro {
    std::string url;
    caldav::Marques marques; // as they stood when nothing was left to send
    std::vector<Lien> liens;
    bool operator==(const EtatSynchro&) const = default;
};

// The state of the folder for `url` (`dossier` ends with '/'): empty when
// there is none, when it is another calendar's, or when it is damaged, in
// which case it is kept aside first and `abime` says so.
EtatSynchro lit_etat(const std::string& dossier, const std::string& url, bool& abime);
// Written beside and renamed over.
void ecrit_etat(const std::string& dossier, const EtatSynchro& etat);

struct Mouvement {
    enum class Cote { bureau, serveur } cote = Cote::bureau;
    enum class Genre { ajoute, modifie, efface } genre = Genre::ajoute;
    Jour jour;
    int heure = -1;    // -1: the day note
    std::string texte; // UTF-8
};

struct BilanSynchro {
    std::vector<Mouvement> mouvements;
    std::vector<std::string> conflits; // French lines (UTF-8)
    std::vector<std::string> laisses;  // French lines: what waits for the next run, and why
    bool etat_abime = false;
    int requetes = 0;
    long long octets_recus = 0;
};

// One run over the days from 4 before `aujourdhui` to 366 after. Throws
// caldav::ErreurCaldav when the server fails before anything local changed
// (nothing local changes then); a fault later leaves the state saved as far
// as the run went, so that the next run goes on without duplicating anything.
// The day files are read and written inside `passage` (run as it comes when empty).
BilanSynchro synchronise(const std::string& dossier, caldav::Client& client, const std::string& url,
                         Jour aujourdhui, const PassageBureau& passage = {});

// The report of a run, in French.
std::string texte_bilan(const BilanSynchro& bilan);

} // namespace quorvel::ical
