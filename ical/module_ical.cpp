// The iCalendar module's one entry point, looked up by name by the program
// (app/module_ical.cpp). Both sides are built together, with one compiler, so
// the command and the streams cross as they are.
#include "ical/commande_ical.hpp"
#include "ical/commande_synchro.hpp"

extern "C" int quorvel_ical_execute(const quorvel::ical::CommandeIcal& commande,
                                    std::ostream& sortie, std::ostream& erreurs,
                                    const quorvel::Horloge& horloge,
                                    const quorvel::ical::EstOuvert& est_ouvert) {
    return quorvel::ical::execute(commande, sortie, erreurs, horloge, est_ouvert);
}

extern "C" quorvel::ical::IssueSynchro
quorvel_ical_synchronise_bureau(quorvel::ical::SynchroDuBureau& demande) {
    return quorvel::ical::synchronise_pour_le_bureau(demande);
}
