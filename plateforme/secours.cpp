#include "secours.hpp"

#include "erreurs.hpp"
#include "fichier.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {
// The names already told of, one a line.
constexpr const char* annonces = ".annonces";

// Each missing folder of the path, private: the texts are the user's.
void cree_dossiers(const std::string& dossier) {
    for (auto barre = dossier.find('/', 1); barre != std::string::npos;
         barre = dossier.find('/', barre + 1)) {
        const std::string partie = dossier.substr(0, barre);
        if (::mkdir(partie.c_str(), 0700) != 0 && errno != EEXIST)
            throw ErreurES(code_depuis_errno(errno));
    }
}
} // namespace

std::string dossier_secours() {
    const char* etat = std::getenv("XDG_STATE_HOME");
    if (etat && etat[0] == '/')
        return std::string(etat) + "/quorvel/";
    const char* maison = std::getenv("HOME");
    if (!maison || maison[0] != '/') {
        const passwd* p = ::getpwuid(::getuid());
        maison = p ? p->pw_dir : "/tmp";
    }
    return std::string(maison) + "/.local/state/quorvel/";
}

std::string ecrit_secours(const std::string& dossier, const std::string& fichier,
                          const Instant& quand, const std::string& texte) {
    cree_dossiers(dossier);
    char horodatage[32];
    std::snprintf(horodatage, sizeof horodatage, "-%04d%02d%02d-%02d%02d%02d.txt", quand.annee,
                  quand.mois, quand.jour, quand.heure, quand.minute, quand.seconde);
    const std::string chemin = dossier + fichier + horodatage;
    remplace_atomiquement(chemin, texte);
    return chemin;
}

std::vector<std::string> secours_a_annoncer(const std::string& dossier) {
    // Read past the record files' layer: a start that cannot read this list
    // only tells again, and has no error to report.
    std::set<std::string> dits;
    std::ifstream liste(dossier + annonces);
    for (std::string nom; std::getline(liste, nom);)
        dits.insert(nom);
    DIR* d = ::opendir(dossier.c_str());
    if (!d)
        return {};
    std::vector<std::string> nouveaux;
    std::string tous;
    while (const dirent* e = ::readdir(d)) {
        const std::string nom = e->d_name;
        if (nom.front() == '.' || !fichier_existe(dossier + nom))
            continue;
        tous += nom + '\n';
        if (!dits.contains(nom))
            nouveaux.push_back(nom);
    }
    ::closedir(d);
    std::sort(nouveaux.begin(), nouveaux.end());
    if (!nouveaux.empty()) {
        try {
            remplace_atomiquement(dossier + annonces, tous);
        } catch (const ErreurES&) {
            // Told of again at the next start.
        }
    }
    return nouveaux;
}

} // namespace quorvel
