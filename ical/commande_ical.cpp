#include "commande_ical.hpp"

#include "ical/commande_synchro.hpp"
#include "ical/export_ical.hpp"
#include "ical/import_ical.hpp"

namespace quorvel::ical {

int execute(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs,
            const Horloge& horloge, const EstOuvert& est_ouvert) {
    switch (c.genre) {
    case CommandeIcal::Genre::exporte:
        return exporte_ical(c.dossier, c.fichier, sortie, erreurs, horloge);
    case CommandeIcal::Genre::importe:
        return importe_ical(c.dossier, c.fichier, sortie, erreurs, horloge, est_ouvert);
    case CommandeIcal::Genre::compte:
        return regle_compte(c, sortie, erreurs);
    case CommandeIcal::Genre::synchronise:
        return synchronise_caldav(c, sortie, erreurs, horloge, est_ouvert);
    }
    return 1;
}

} // namespace quorvel::ical
