#include "commande_ical.hpp"

#include "ical/export_ical.hpp"
#include "ical/import_ical.hpp"

#include <algorithm>
#include <iostream>

namespace quorvel::ical {

namespace {
constexpr const char* opt_exporte = "--exporte-ical";
constexpr const char* opt_importe = "--importe-ical";
constexpr const char* opt_donnees = "--donnees";

const char* utilisation = "Utilisation\u00a0:\n"
                          "  quorvel --exporte-ical FICHIER.ics [--donnees DOSSIER]\n"
                          "  quorvel --importe-ical FICHIER.ics [--donnees DOSSIER]\n"
                          "Le dossier de données est le dossier courant, ou DOSSIER.\n";
} // namespace

std::optional<CommandeIcal> analyse_commande(const std::vector<std::string>& arguments,
                                             std::string& erreur) {
    erreur.clear();
    if (std::none_of(arguments.begin(), arguments.end(),
                     [](const std::string& a) { return a == opt_exporte || a == opt_importe; }))
        return std::nullopt;
    CommandeIcal c;
    bool genre = false, dossier = false;
    for (std::size_t i = 0; i < arguments.size() && erreur.empty(); ++i) {
        const std::string& a = arguments[i];
        if (a != opt_exporte && a != opt_importe && a != opt_donnees) {
            erreur = "argument inattendu " + std::string("«\u00a0") + a + "\u00a0»";
        } else if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
            erreur = a + " attend un nom de " + (a == opt_donnees ? "dossier" : "fichier");
        } else if (a == opt_donnees ? dossier : genre) {
            erreur = a + (a == opt_donnees ? " est donné deux fois"
                                           : " ou son contraire est donné deux fois");
        } else if (a == opt_donnees) {
            dossier = true;
            c.dossier = arguments[++i];
        } else {
            genre = true;
            c.genre =
                a == opt_exporte ? CommandeIcal::Genre::exporte : CommandeIcal::Genre::importe;
            c.fichier = arguments[++i];
        }
    }
    return c;
}

std::optional<int> commande_ical(const std::vector<std::string>& arguments, std::ostream& sortie,
                                 std::ostream& erreurs, const Horloge& horloge,
                                 const EstOuvert& est_ouvert) {
    std::string erreur;
    const std::optional<CommandeIcal> c = analyse_commande(arguments, erreur);
    if (!c)
        return std::nullopt;
    if (!erreur.empty()) {
        erreurs << "quorvel\u00a0: " << erreur << ".\n" << utilisation;
        return 2;
    }
    return c->genre == CommandeIcal::Genre::exporte
               ? exporte_ical(c->dossier, c->fichier, sortie, erreurs, horloge)
               : importe_ical(c->dossier, c->fichier, sortie, erreurs, horloge, est_ouvert);
}

std::optional<int> commande_ical(int argc, char** argv, const EstOuvert& est_ouvert) {
    const HorlogeSysteme horloge;
    return commande_ical(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), std::cout,
                         std::cerr, horloge, est_ouvert);
}

} // namespace quorvel::ical
