// For the script tests: the sample data folder, the export and the import on a
// frozen date, and one date's day files shown as text.
//   outil_ical remplit DOSSIER
//   outil_ical exporte|importe DOSSIER FICHIER AAAA-MM-JJ
//   outil_ical montre DOSSIER JJ MM AAAA
#include "ical/export_ical.hpp"
#include "ical/import_ical.hpp"
#include "jeu_essai.hpp"
#include "outils_ical.hpp"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace quorvel;
    const std::string action = argc > 2 ? argv[1] : "";
    const std::string dossier = argc > 2 ? ical::dossier_donnees(argv[2]) : "";
    if (action == "remplit" && argc == 3) {
        test::remplit_dossier(dossier);
        return 0;
    }
    if ((action == "exporte" || action == "importe") && argc == 5) {
        const std::string date = argv[4];
        const HorlogeReglable horloge(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                                      std::stoi(date.substr(8, 2)), 9, 0);
        return action == "exporte"
                   ? ical::exporte_ical(dossier, argv[3], std::cout, std::cerr, horloge)
                   : ical::importe_ical(dossier, argv[3], std::cout, std::cerr, horloge, {});
    }
    if (action == "montre" && argc == 6) {
        const test::JourLu j =
            test::lit_jour(dossier, std::stoi(argv[3]), std::stoi(argv[4]), std::stoi(argv[5]));
        for (int k = 0; k < nombre_creneaux; ++k)
            if (!j.lignes[k].empty() || j.cloches[k])
                std::cout << ical::texte_heure(k + 8, 0) << (j.cloches[k] ? " cloche " : " ")
                          << j.lignes[k] << "\n";
        if (!j.note.empty())
            std::cout << "note\n" << j.note << (j.note.ends_with('\n') ? "" : "\n");
        return 0;
    }
    std::cerr << "outil_ical remplit|exporte|importe|montre …\n";
    return 2;
}
