// Day agenda files: a file of any length or content is read whole or refused
// with "Lecture au delà de la fin de fichier", never changed by the reading,
// and its slots never read past their fields.
#include "commun_fuzz.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/erreurs.hpp"

#include <cstring>

using namespace quorvel;
using namespace quorvel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entree = octets(data, size);
    const std::string nom = fichier_agenda_jour(jour_du(14, 2, 2026));
    ecrit(nom, entree);

    EnregistrementAgenda a;
    bool lu = false;
    try {
        auto f = ouvre_agenda(repertoire(), jour_du(14, 2, 2026), a);
        lit_agenda(f, a);
        f.ferme();
        lu = true;
    } catch (const ErreurES& e) {
        VERIFIE(e.code() == es_fin_de_fichier);
    }
    VERIFIE(lu == (size >= taille_agenda));
    VERIFIE(lit(nom) == entree);

    const auto cloches = cloches_du_fichier(repertoire(), jour_du(14, 2, 2026));
    if (!lu) {
        for (bool c : cloches)
            VERIFIE(!c);
        return 0;
    }
    VERIFIE(std::memcmp(a.octets.data(), data, taille_agenda) == 0);
    for (int k = 1; k <= nombre_creneaux; ++k) {
        const std::string t = a.texte(k);
        VERIFIE(t.size() <= longueur_creneau);
        VERIFIE(t.find('\0') == std::string::npos);
        VERIFIE(cloches[k - 1] == a.cloche(k));
        // What the page shows is what it writes back.
        EnregistrementAgenda copie = a;
        copie.regle_texte(k, t);
        VERIFIE(copie.texte(k) == t);
        VERIFIE(copie.cloche(k) == a.cloche(k));
    }
    return 0;
}
