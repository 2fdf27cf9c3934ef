#pragma once
// The calendar commands run through the iCalendar module
// (libquorvel_ical.so), loaded only when one of them is given: the desk never
// maps libical.
#include "ical/commande_ical.hpp"

#include <string>
#include <vector>

namespace quorvel {

// Next to the executable, then in ../lib/quorvel from it.
std::vector<std::string> dossiers_module_ical();

// Runs the command with the module of the first folder that has one; the
// command's exit code, or 1 with a message on `erreurs` when no module can be
// loaded.
int execute_ical(const ical::CommandeIcal& commande, std::ostream& sortie, std::ostream& erreurs,
                 const Horloge& horloge, const ical::EstOuvert& est_ouvert,
                 const std::vector<std::string>& dossiers = dossiers_module_ical());

// The module's entry for the open desk's synchronisation, loaded at its first
// call; nullptr, and why in `erreur` (French), when no module can be loaded.
using SynchroniseBureau = ical::IssueSynchro (*)(ical::SynchroDuBureau&);
SynchroniseBureau
entree_synchro_du_bureau(std::string& erreur,
                         const std::vector<std::string>& dossiers = dossiers_module_ical());

} // namespace quorvel
