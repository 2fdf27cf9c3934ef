#include "commande_synchro.hpp"

#include "ical/caldav.hpp"
#include "ical/compte_caldav.hpp"
#include "ical/synchro.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/horloge.hpp"

#include <QCoreApplication>

#include <filesystem>
#include <memory>
#include <unistd.h>

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
                                                        ? lit_jusqu_a_la_fin(STDIN_FILENO)
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

namespace {

// The account of the folder, usable: nothing (and why, on `erreurs`) when
// there is none or it may not be used.
std::optional<caldav::Reglage> compte_du_dossier(const std::string& repertoire,
                                                 std::string& erreur) {
    std::optional<caldav::Reglage> r;
    try {
        r = caldav::lit_reglage(repertoire);
    } catch (const ErreurQuorvel& e) {
        erreur = e.message();
        return std::nullopt;
    }
    if (!r) {
        erreur = "ce dossier de données n'a pas de compte CalDAV\u00a0; donnez-le avec "
                 "«\u00a0quorvel --compte-caldav URL --utilisateur NOM\u00a0»";
        return std::nullopt;
    }
    if (const std::string refus = caldav::refus_url(r->url); !refus.empty()) {
        erreur = refus;
        return std::nullopt;
    }
    return r;
}

std::string sans_mot_de_passe(const caldav::Reglage& r, bool terminal) {
    return terminal ? "ni le trousseau du bureau ni un terminal n'ont donné le mot de passe de " +
                          guillemets(r.utilisateur) +
                          " (--mot-de-passe-stdin le lit sur l'entrée standard)"
                    : "le trousseau du bureau n'a pas de mot de passe pour " +
                          guillemets(r.utilisateur) +
                          " (donnez-le avec «\u00a0quorvel --compte-caldav\u00a0» ou "
                          "«\u00a0quorvel --synchronise --mot-de-passe-stdin\u00a0»)";
}

// One run with its report; throws caldav::ErreurCaldav and ErreurQuorvel.
std::string une_synchronisation(const std::string& repertoire, const caldav::Compte& compte,
                                Jour aujourdhui, const PassageBureau& passage,
                                const std::atomic<bool>* arret) {
    // The network needs an application object; the command line has none.
    std::unique_ptr<QCoreApplication> application;
    int argc = 1;
    char nom[] = "quorvel";
    char* argv[] = {nom, nullptr};
    if (!QCoreApplication::instance())
        application = std::make_unique<QCoreApplication>(argc, argv);
    caldav::Client client(compte);
    client.regle_arret(arret);
    const BilanSynchro bilan = synchronise(repertoire, client, compte.url, aujourdhui, passage);
    return "Synchronisé avec " + guillemets(compte.url) + ".\n" + texte_bilan(bilan);
}

const char* const reprise = ". La prochaine reprendra là où celle-ci s'est arrêtée";

} // namespace

int synchronise_caldav(const CommandeIcal& c, std::ostream& sortie, std::ostream& erreurs,
                       const Horloge& horloge, const EstOuvert& est_ouvert) {
    const std::string repertoire = dossier_donnees(c.dossier);
    if (!dossier_present(repertoire, c, erreurs))
        return 1;
    std::string erreur;
    const std::optional<caldav::Reglage> r = compte_du_dossier(repertoire, erreur);
    if (!r) {
        erreurs << "Synchronisation refusée\u00a0: " << erreur << ".\n";
        return 1;
    }
    caldav::Compte compte{r->url, r->utilisateur, {}};
    if (!r->utilisateur.empty()) {
        std::optional<std::string> mot_de_passe;
        if (c.mot_de_passe_stdin)
            mot_de_passe = lit_jusqu_a_la_fin(STDIN_FILENO);
        if (!mot_de_passe)
            mot_de_passe = caldav::mot_de_passe_garde(*r);
        if (!mot_de_passe)
            mot_de_passe = caldav::demande_mot_de_passe(invite(*r));
        if (!mot_de_passe) {
            erreurs << "Synchronisation refusée\u00a0: " << sans_mot_de_passe(*r, true) << ".\n";
            return 1;
        }
        compte.mot_de_passe = *mot_de_passe;
    }
    if (est_ouvert && est_ouvert(repertoire)) {
        erreurs << "Synchronisation refusée\u00a0: Quorvel est ouvert sur ce dossier de données, "
                   "fermez-le puis recommencez.\n";
        return 1;
    }
    try {
        sortie << une_synchronisation(repertoire, compte, date_de(horloge.maintenant()), {},
                                      nullptr);
        return 0;
    } catch (const caldav::ErreurCaldav& e) {
        erreurs << "Synchronisation interrompue\u00a0: " << e.message() << reprise << ".\n";
    } catch (const ErreurQuorvel& e) {
        erreurs << "Synchronisation abandonnée\u00a0: " << e.message() << ".\n";
    }
    return 1;
}

IssueSynchro synchronise_pour_le_bureau(SynchroDuBureau& demande) {
    const std::string repertoire = dossier_donnees(demande.dossier);
    std::string erreur;
    const std::optional<caldav::Reglage> r = compte_du_dossier(repertoire, erreur);
    if (!r) {
        std::error_code e;
        const bool sans_compte =
            !std::filesystem::exists(repertoire + caldav::fichier_compte, e) && !e;
        return {sans_compte ? IssueSynchro::Etat::sans_compte : IssueSynchro::Etat::echec,
                "Synchronisation refusée\u00a0: " + erreur + ".",
                {}};
    }
    if (!r->utilisateur.empty() && demande.mot_de_passe.empty()) {
        if (std::optional<std::string> garde = caldav::mot_de_passe_garde(*r))
            demande.mot_de_passe = std::move(*garde);
        else
            return {IssueSynchro::Etat::echec,
                    "Synchronisation refusée\u00a0: " + sans_mot_de_passe(*r, false) + ".",
                    invite(*r)};
    }
    try {
        return {IssueSynchro::Etat::faite,
                une_synchronisation(repertoire, {r->url, r->utilisateur, demande.mot_de_passe},
                                    demande.aujourdhui, demande.passage, demande.arret),
                {}};
    } catch (const caldav::ErreurCaldav& e) {
        if (e.genre() == caldav::ErreurCaldav::Genre::refus && e.statut() == 401 &&
            !r->utilisateur.empty()) {
            demande.mot_de_passe.clear();
            return {IssueSynchro::Etat::echec,
                    "Synchronisation interrompue\u00a0: " + e.message() + ".", invite(*r)};
        }
        erreur = "Synchronisation interrompue\u00a0: " + e.message() + reprise + ".";
    } catch (const ErreurQuorvel& e) {
        erreur = "Synchronisation abandonnée\u00a0: " + e.message() + ".";
    }
    return {IssueSynchro::Etat::echec, erreur, {}};
}

} // namespace quorvel::ical
