#pragma once
// The calendar commands of the program's command line. They run before the
// program locks its folder or makes a window, and end the process:
//   quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]
//   quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]
#include "ical/import_ical.hpp"
#include "plateforme/horloge.hpp"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel::ical {

struct CommandeIcal {
    enum class Genre { exporte, importe } genre = Genre::exporte;
    std::string fichier;
    std::string dossier = "."; // the current directory, as for the program
};

// Empty when the arguments (after the program's name) name no calendar
// command. `erreur` is set (French) when they name one the wrong way.
std::optional<CommandeIcal> analyse_commande(const std::vector<std::string>& arguments,
                                             std::string& erreur);

// The command's exit code, or nothing when the command line is the program's.
std::optional<int> commande_ical(const std::vector<std::string>& arguments, std::ostream& sortie,
                                 std::ostream& erreurs, const Horloge& horloge,
                                 const EstOuvert& est_ouvert);
// The same from main(), on the standard streams and the system clock.
std::optional<int> commande_ical(int argc, char** argv, const EstOuvert& est_ouvert);

} // namespace quorvel::ical
