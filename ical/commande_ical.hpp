#pragma once
// The calendar commands of the program's command line. They run before the
// program makes a window, and end the process:
//   quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]
//   quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]
//   quorvel --compte-caldav URL [--utilisateur NOM] [--mot-de-passe-stdin] [--donnees DOSSIER]
//   quorvel --synchronise [--mot-de-passe-stdin] [--donnees DOSSIER]
#include "calendar/dates.hpp"

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel {
class Horloge;
}

namespace quorvel::ical {

// Whether the program is open on a data folder. The import asks it once, after
// the file is read and before anything is written; when it answers false the
// caller keeps the folder from the program until the import returns.
using EstOuvert = std::function<bool(const std::string& dossier)>;

struct CommandeIcal {
    enum class Genre { exporte, importe, compte, synchronise } genre = Genre::exporte;
    std::string fichier; // of the export and import; the URL of the account
    std::string utilisateur;
    bool mot_de_passe_stdin = false;
    std::string dossier = "."; // the current directory, as for the program
};

// Runs the part of a synchronisation that reads and writes the day files,
// given as `travail`, which returns the dates whose files it wrote. The
// command runs it as it comes; the open desk runs it on its own thread, after
// saving what was typed and before showing again the page it wrote. It throws
// to put the run off, and nothing local has changed then.
using PassageBureau = std::function<void(const std::function<std::vector<Jour>()>& travail)>;

// One synchronisation asked by the open desk.
struct SynchroDuBureau {
    std::string dossier;
    Jour aujourdhui;
    PassageBureau passage;
    // The password of the account: when empty, taken from the Secret Service
    // and left here for the runs after; emptied again when the server refuses it.
    std::string mot_de_passe;
    const std::atomic<bool>* arret = nullptr; // see caldav::Client::regle_arret
};
struct IssueSynchro {
    enum class Etat { faite, sans_compte, echec } etat = Etat::echec;
    std::string texte; // the report, or why it failed (French, UTF-8)
    // Failed for want of a password, or the server refused it: what to ask
    // the user ("Mot de passe de NOM sur URL : "); empty otherwise.
    std::string invite;
};

// The command's exit code: 0 when done, 1 when refused or failed.
int execute(const CommandeIcal& commande, std::ostream& sortie, std::ostream& erreurs,
            const Horloge& horloge, const EstOuvert& est_ouvert);

} // namespace quorvel::ical
