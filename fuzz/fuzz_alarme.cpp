// "ALARME": any file lists its whole records with every field within bounds and
// list lines free of control bytes; an alarm written back unchanged leaves the
// file as it was; a deletion keeps every other record byte for byte.
#include "alarms/alarme.hpp"
#include "commun_fuzz.hpp"
#include "plateforme/erreurs.hpp"

#include <cstring>

using namespace quorvel;
using namespace quorvel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entree = octets(data, size);
    ecrit(nom_fichier_alarme, entree);
    const std::size_t n = size / taille_alarme;

    const std::vector<EnregistrementAlarme> alarmes = lit_alarmes(repertoire());
    VERIFIE(alarmes.size() == n);
    VERIFIE(compte_alarmes(repertoire()) == static_cast<std::int32_t>(n));
    for (std::size_t k = 0; k < n; ++k) {
        const EnregistrementAlarme& r = alarmes[k];
        VERIFIE(std::memcmp(r.octets.data(), data + k * taille_alarme, taille_alarme) == 0);
        // A field without its terminator reads to the end of the field, never past it.
        VERIFIE(r.heure().size() <= longueur_heure + 1);
        VERIFIE(r.texte().size() <= longueur_texte + 1);
        VERIFIE(r.date().size() <= longueur_date + 1);
        VERIFIE(r.son().size() <= longueur_son);
        const std::string ligne = ligne_alarme(r);
        VERIFIE(ligne.size() <= (longueur_date + 1) + 3 + (longueur_heure + 1) + 3 + 50);
        for (unsigned char c : ligne)
            VERIFIE(c >= 0x20);
        // No sound (empty) rings the default one; any other lies at an absolute path.
        const std::string son = chemin_son(r, repertoire());
        VERIFIE(son.empty() || (son.front() == '/' && son.find('\\') == std::string::npos));
    }
    VERIFIE(lit(nom_fichier_alarme) == entree);
    if (n == 0)
        return 0;

    modifie_alarme(repertoire(), 0, alarmes[0]);
    VERIFIE(lit(nom_fichier_alarme) == entree);

    // Deleting the first record moves the others forward; a cut record at the
    // end was never an alarm and does not survive the rewrite.
    EnregistrementAlarme courante = alarmes[0];
    supprime_alarme(repertoire(), 0, courante);
    VERIFIE(lit(nom_fichier_alarme) == entree.substr(taille_alarme, (n - 1) * taille_alarme));
    VERIFIE(courante == (n > 1 ? alarmes[n - 1] : alarmes[0]));
    VERIFIE(efface_provisoires(repertoire()) == 0);
    // The cut file was kept aside first, byte for byte.
    const std::string copie = std::string(nom_fichier_alarme) + ".illisible";
    VERIFIE(existe(copie) == (size % taille_alarme != 0));
    VERIFIE(size % taille_alarme == 0 || lit(copie) == entree);
    efface(copie);
    return 0;
}
