#include "copie_illisible.hpp"

#include "dialogues.hpp"
#include "fichier.hpp"

#include <sys/stat.h>

namespace quorvel {

namespace {

// Anything of that name counts, a link to nothing included: the copy is made
// under a name nobody uses, never through someone else's link.
bool nom_pris(const std::string& chemin) {
    struct stat st {};
    return ::lstat(chemin.c_str(), &st) == 0;
}

std::string nom_seul(const std::string& chemin) {
    return chemin.substr(chemin.find_last_of('/') + 1);
}

} // namespace

void garde_illisible(const std::string& chemin, const SignaleCopie& signale) {
    const std::string octets = lit_tout(chemin);
    std::string copie = chemin + ".illisible";
    for (int n = 2; nom_pris(copie); ++n)
        copie = chemin + ".illisible." + std::to_string(n);
    remplace_atomiquement(copie, octets);
    if (signale)
        signale("Le fichier " + nom_seul(chemin) +
                " ne pouvait pas être lu\u00A0: il est gardé sous le nom " + nom_seul(copie) + ".");
}

SignaleCopie signale_dans(Dialogues& dialogues, QWidget* fenetre, const std::string& titre) {
    return [&dialogues, fenetre, titre](const std::string& message) {
        dialogues.erreur(fenetre, QString::fromStdString(titre), QString::fromStdString(message));
    };
}

bool ecriture_permise(bool& lu, bool modifie, const std::string& chemin,
                      const SignaleCopie& signale) {
    if (lu)
        return true;
    if (!modifie)
        return false;
    if (fichier_existe(chemin))
        garde_illisible(chemin, signale);
    lu = true;
    return true;
}

} // namespace quorvel
