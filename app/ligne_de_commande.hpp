#pragma once
// The program's command line, read before any window is made and before the
// folder is locked. Qt's own options (-platform, -display, -style…) are let
// through to QApplication, which takes them out.
#include "ical/commande_ical.hpp"

#include <string>
#include <vector>

namespace quorvel {

struct LigneDeCommande {
    enum class Action {
        bureau,  // the desk on `dossier`
        aide,    // `message` on the standard output, then exit 0
        version, // the same
        ical,    // `commande`
        erreur,  // `message` on the error output, then exit 2
    };
    Action action = Action::bureau;
    ical::CommandeIcal commande;
    std::string message; // UTF-8, with what was typed as it was typed
    std::string dossier; // of --donnees, for the desk; empty: the current folder
};

// `arguments` begins with the program's name: argv's bytes, as typed. File and
// folder names keep them, even when they are not valid in the locale.
LigneDeCommande lit_ligne_de_commande(const std::vector<std::string>& arguments);

} // namespace quorvel
