#pragma once
// The CalDAV commands of the command line: the account of a data folder, and
// one synchronisation with its report.
#include "ical/commande_ical.hpp"

#include <ostream>

namespace quorvel::ical {

// quorvel --compte-caldav URL [--utilisateur NOM]: records the account, and
// the password in the desktop's Secret Service when there is one.
int regle_compte(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs);
// quorvel --synchronise: one run, its report on `sortie`; 0 when done.
int synchronise_caldav(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs,
                       const Horloge& horloge, const EstOuvert& est_ouvert);
// One run asked by the open desk, which holds the folder: the password comes
// from `demande` or the Secret Service, never from a terminal.
IssueSynchro synchronise_pour_le_bureau(SynchroDuBureau& demande);

} // namespace quorvel::ical
