#pragma once
// The calendar commands of the program's command line. They run before the
// program makes a window, and end the process:
//   quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]
//   quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]
//   quorvel --compte-caldav URL [--utilisateur NOM] [--mot-de-passe-stdin] [--donnees DOSSIER]
//   quorvel --synchronise [--mot-de-passe-stdin] [--donnees DOSSIER]
#include <functional>
#include <ostream>
#include <string>

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

// The command's exit code: 0 when done, 1 when refused or failed.
int execute(const CommandeIcal& commande, std::ostream& sortie, std::ostream& erreurs,
            const Horloge& horloge, const EstOuvert& est_ouvert);

} // namespace quorvel::ical
