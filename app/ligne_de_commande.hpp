#pragma once
// The program's command line, read before any window is made and before the
// folder is locked. Qt's own options (-platform, -display, -style…) are let
// through to QApplication, which takes them out.
#include "ical/commande_ical.hpp"

#include <QStringList>

#include <string>

namespace quorvel {

struct LigneDeCommande {
    enum class Action {
        bureau,  // the desk on the current folder
        aide,    // `message` on the standard output, then exit 0
        version, // the same
        ical,    // `commande`
        erreur,  // `message` on the error output, then exit 2
    };
    Action action = Action::bureau;
    ical::CommandeIcal commande;
    std::string message; // UTF-8
};

// `arguments` begins with the program's name, as QCoreApplication::arguments().
LigneDeCommande lit_ligne_de_commande(const QStringList& arguments);

} // namespace quorvel
