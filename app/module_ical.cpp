#include "module_ical.hpp"

#include <QFile>
#include <QLibrary>

#include <filesystem>
#include <system_error>

namespace quorvel {

namespace {

using Execute = int (*)(const ical::CommandeIcal&, std::ostream&, std::ostream&, const Horloge&,
                        const ical::EstOuvert&);

const char* const nom_module = "libquorvel_ical.so";

} // namespace

std::vector<std::string> dossiers_module_ical() {
    // No QCoreApplication is made for these commands, so not applicationDirPath().
    std::error_code e;
    const std::filesystem::path ici =
        std::filesystem::read_symlink("/proc/self/exe", e).parent_path();
    if (e)
        return {};
    return {ici.string(), (ici / "../lib/quorvel").lexically_normal().string()};
}

namespace {

// The function `symbole` of the module of the first folder that has one;
// nullptr, and why in `erreur`, when there is none.
QFunctionPointer fonction_du_module(const char* symbole, const std::vector<std::string>& dossiers,
                                    std::string& erreur) {
    std::string cherche;
    for (const std::string& dossier : dossiers) {
        const std::string chemin = (std::filesystem::path(dossier) / nom_module).string();
        cherche += (cherche.empty() ? "" : ", ") + ("«\u00a0" + dossier + "\u00a0»");
        if (!std::filesystem::exists(chemin))
            continue;
        // Never unloaded: a synchronisation may still run on its thread as the program ends.
        QLibrary module(QFile::decodeName(chemin.c_str()));
        if (!module.load()) {
            erreur = "le module iCalendar «\u00a0" + chemin + "\u00a0» ne se charge pas (" +
                     module.errorString().toStdString() + ")";
            return nullptr;
        }
        if (QFunctionPointer f = module.resolve(symbole))
            return f;
        erreur = "«\u00a0" + chemin + "\u00a0» n'est pas le module iCalendar de Quorvel";
        return nullptr;
    }
    erreur = std::string("le module iCalendar («\u00a0") + nom_module +
             "\u00a0») est introuvable\u00a0; cherché dans " + cherche + ". Réinstallez Quorvel";
    return nullptr;
}

} // namespace

int execute_ical(const ical::CommandeIcal& commande, std::ostream& sortie, std::ostream& erreurs,
                 const Horloge& horloge, const ical::EstOuvert& est_ouvert,
                 const std::vector<std::string>& dossiers) {
    std::string erreur;
    if (auto execute =
            reinterpret_cast<Execute>(fonction_du_module("quorvel_ical_execute", dossiers, erreur)))
        return execute(commande, sortie, erreurs, horloge, est_ouvert);
    erreurs << "quorvel\u00a0: " << erreur << ".\n";
    return 1;
}

SynchroniseBureau entree_synchro_du_bureau(std::string& erreur,
                                           const std::vector<std::string>& dossiers) {
    return reinterpret_cast<SynchroniseBureau>(
        fonction_du_module("quorvel_ical_synchronise_bureau", dossiers, erreur));
}

} // namespace quorvel
