// Calculator keys: any key sequence, arithmetic failures included, keeps the
// entry and the display within the field and the engine usable.
#include "commun_fuzz.hpp"
#include "plateforme/erreurs.hpp"
#include "widgets/calcul_moteur.hpp"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr char touches[] = "0123456789.+-*/=c";
    MoteurCalcul m;
    for (std::size_t i = 0; i < size; ++i) {
        // Every byte is a key; a few raw bytes stay as they are to try the ignored ones.
        const char k = data[i] < 0xF0 ? touches[data[i] % (sizeof touches - 1)]
                                      : static_cast<char>(data[i] & 0x7F);
        try {
            m.traite_touche(k);
        } catch (const ErreurCalcul&) {
        }
        VERIFIE(m.saisie().size() <= MoteurCalcul::longueur_saisie);
        VERIFIE(m.affichage().size() <= MoteurCalcul::longueur_saisie);
    }
    // "C" always brings the engine back.
    m.traite_touche('c');
    m.traite_touches("12+3=");
    VERIFIE(m.valeur_saisie() == 15.0L);
    return 0;
}
