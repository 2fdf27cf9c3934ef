#include "commande_ical.hpp"

#include "ical/export_ical.hpp"
#include "ical/import_ical.hpp"

namespace quorvel::ical {

int execute(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs,
            const Horloge& horloge, const EstOuvert& est_ouvert) {
    return c.genre == CommandeIcal::Genre::exporte
               ? exporte_ical(c.dossier, c.fichier, sortie, erreurs, horloge)
               : importe_ical(c.dossier, c.fichier, sortie, erreurs, horloge, est_ouvert);
}

} // namespace quorvel::ical
