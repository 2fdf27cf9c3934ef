// Day note and note pad files: any bytes read back as the text without its zero
// bytes (at most one byte: the empty text), the file untouched; the text saved
// again reads back the same.
#include "commun_fuzz.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/erreurs.hpp"

using namespace quorvel;
using namespace quorvel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entree = octets(data, size);
    const std::string nom = fichier_note_jour(jour_du(14, 2, 2026));
    ecrit(nom, entree);
    const std::string chemin = repertoire() + nom;

    const std::string texte = charge_texte(chemin);
    // A file of at most one byte is the empty text.
    std::string attendu;
    if (entree.size() > 1)
        for (char c : entree)
            if (c != '\0')
                attendu += c;
    VERIFIE(texte == attendu);
    VERIFIE(lit(nom) == entree);

    sauve_texte(chemin, texte);
    VERIFIE(lit(nom) == texte + '\0');
    VERIFIE(charge_texte(chemin) == texte);
    VERIFIE(efface_provisoires(repertoire()) == 0);
    return 0;
}
