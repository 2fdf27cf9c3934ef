#include "commande_synchro.hpp"

#include "ical/caldav.hpp"
#include "ical/compte_caldav.hpp"
#include "ical/synchro.hpp"
#include "plateforme/horloge.hpp"

#include <QCoreApplication>

#include <filesystem>
#include <memory>

namespace quorvel::ical {

namespace {

bool dossier_present(const std::string& repertoire, const CommandeIcal& c, std::ostream& erreurs) {
    std::error_code e;
    if (std::filesystem::is_directory(repertoire, e))
        return true;
    erreurs << "Le dossier de données " << guillemets(c.dossier.empty() ? "." : c.dossier)
            << " n'existe pas.\n";
    return false;
}

std::string invite(const caldav::Reglage& r) {
    return "Mot de passe de " + r.utilisateur + " sur " + r.url + "\u00a0: ";
}

} // namespace

int regle_compte(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs) {
    const std::string repertoire = dossier_donnees(c.dossier);
    if (const std::string refus = caldav::refus_url(c.fichier); !refus.empty()) {
        erreurs << "Compte refusé\u00a0: " << refus << ".\n";
        return 1;
    }
    if (!dossier_present(repertoire, c, erreurs))
        return 1;
    const caldav::Reglage r{c.fichier, c.utilisateur};
    try {
        caldav::ecrit_reglage(repertoire, r);
    } catch (const ErreurQuorvel& e) {
        erreurs << "Compte non enregistré\u00a0: " << e.message() << ".\n";
        return 1;
    }
    sortie << "Compte CalDAV enregistré\u00a0: " << guillemets(r.url)
           << (r.utilisateur.empty() ? "" : ", utilisateur " + guillemets(r.utilisateur)) << ".\n";
    if (r.utilisateur.empty())
        return 0;
    const std::optional<std::string> mot_de_passe = c.mot_de_passe_stdin
                                                        ? caldav::mot_de_passe_de_l_entree()
                                                        : caldav::demande_mot_de_passe(invite(r));
    if (!mot_de_passe)
        sortie << "Le mot de passe sera demandé à chaque synchronisation.\n";
    else if (caldav::garde_mot_de_passe(r, *mot_de_passe))
        sortie << "Le mot de passe est gardé par le trousseau du bureau.\n";
    else
        sortie << "Ce bureau n'a pas de trousseau (Secret Service)\u00a0: le mot de passe sera "
                  "demandé à chaque synchronisation.\n";
    return 0;
}

int synchronise_caldav(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs,
                       const Horloge& horloge, const EstOuvert& est_ouvert) {
    const std::string repertoire = dossier_donnees(c.dossier);
    if (!dossier_present(repertoire, c, erreurs))
        return 1;
    std::optional<caldav::Reglage> r;
    try {
        r = caldav::lit_reglage(repertoire);
    } catch (const ErreurQuorvel& e) {
        erreurs << e.message() << ".\n";
        return 1;
    }
    if (!r) {
        erreurs << "Ce dossier de données n'a pas de compte CalDAV\u00a0; donnez-le avec "
                   "«\u00a0quorvel --compte-caldav URL --utilisateur NOM\u00a0».\n";
        return 1;
    }
    if (const std::string refus = caldav::refus_url(r->url); !refus.empty()) {
        erreurs << "Synchronisation refusée\u00a0: " << refus << ".\n";
        return 1;
    }
    caldav::Compte compte{r->url, r->utilisateur, {}};
    if (!r->utilisateur.empty()) {
        std::optional<std::string> mot_de_passe;
        if (c.mot_de_passe_stdin)
            mot_de_passe = caldav::mot_de_passe_de_l_entree();
        if (!mot_de_passe)
            mot_de_passe = caldav::mot_de_passe_garde(*r);
        if (!mot_de_passe)
            mot_de_passe = caldav::demande_mot_de_passe(invite(*r));
        if (!mot_de_passe) {
            erreurs << "Pas de mot de passe pour " << guillemets(r->utilisateur)
                    << "\u00a0: ni le trousseau du bureau ni un terminal ne l'ont donné "
                       "(--mot-de-passe-stdin le lit sur l'entrée standard).\n";
            return 1;
        }
        compte.mot_de_passe = *mot_de_passe;
    }
    if (est_ouvert && est_ouvert(repertoire)) {
        erreurs << "Synchronisation refusée\u00a0: Quorvel est ouvert sur ce dossier de données, "
                   "fermez-le puis recommencez.\n";
        return 1;
    }
    // The network needs an application object; the command line has none.
    std::unique_ptr<QCoreApplication> application;
    int argc = 1;
    char nom[] = "quorvel";
    char* argv[] = {nom, nullptr};
    if (!QCoreApplication::instance())
        application = std::make_unique<QCoreApplication>(argc, argv);
    try {
        caldav::Client client(compte);
        const BilanSynchro bilan =
            synchronise(repertoire, client, r->url, date_de(horloge.maintenant()));
        sortie << "Synchronisé avec " << guillemets(r->url) << ".\n" << texte_bilan(bilan);
        return 0;
    } catch (const caldav::ErreurCaldav& e) {
        erreurs << "Synchronisation interrompue\u00a0: " << e.message()
                << ". La prochaine reprendra là où celle-ci s'est arrêtée.\n";
    } catch (const ErreurQuorvel& e) {
        erreurs << "Synchronisation abandonnée\u00a0: " << e.message() << ".\n";
    }
    return 1;
}

} // namespace quorvel::ical
