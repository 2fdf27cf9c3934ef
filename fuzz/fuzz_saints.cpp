// Saints files: any file reads record by record within the fields, the saint of
// any day is at most 20 characters, and reading never changes the file.
#include "commun_fuzz.hpp"
#include "plateforme/erreurs.hpp"
#include "saints/saints.hpp"

using namespace quorvel;
using namespace quorvel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entree = octets(data, size);
    const std::string nom = nom_fichier_saints(2);
    ecrit(nom, entree);

    EnregistrementSaint s;
    {
        auto f = ouvre_saints(repertoire(), 2);
        const std::int64_t n = f.nombre();
        VERIFIE(n == static_cast<std::int64_t>(size / taille_saint));
        for (std::int64_t i = 0; i < n; ++i) {
            lit_saint(f, i, s);
            VERIFIE(s.date().size() <= 6);
            VERIFIE(s.nom().size() <= 31);
        }
        // The cut record at the end is refused, not read short.
        bool refuse = false;
        try {
            lit_saint(f, n, s);
        } catch (const ErreurES& e) {
            refuse = e.code() == es_fin_de_fichier;
        }
        VERIFIE(refuse);
        ferme_saints(f);
    }
    for (int jour = 1; jour <= 31; ++jour) {
        std::string courant = "inchangé";
        saint_du_jour(repertoire(), jour, 2, s, courant);
        VERIFIE(courant.size() <= 20);
    }
    VERIFIE(lit(nom) == entree);
    return 0;
}
