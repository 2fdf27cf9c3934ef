// "PAD.CFG": any file gives settings whose fields read within their bounds; a
// whole record is taken byte for byte, a cut one over the defaults; reading
// never changes the file, and what is written back reads back the same.
#include "commun_fuzz.hpp"
#include "settings/reglages.hpp"

#include <cstring>

using namespace quorvel;
using namespace quorvel::fuzz;

namespace {

void verifie_bornes(const Reglages& r) {
    for (const PoliceReglee& p : {r.police_calendrier(), r.police_bloc_notes()}) {
        VERIFIE(p.nom.size() <= 40);
    }
    VERIFIE(r.son_alarme().size() <= 60);
    for (CouleurReglee c :
         {CouleurReglee::mois, CouleurReglee::jour, CouleurReglee::saint, CouleurReglee::semaine,
          CouleurReglee::horaires, CouleurReglee::actions, CouleurReglee::action_courante,
          CouleurReglee::fond_date, CouleurReglee::aiguilles})
        (void)r.couleur(c);
    (void)r.video();
    (void)r.son_page();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string entree = octets(data, size);
    ecrit("PAD.CFG", entree);

    Reglages r;
    lit_reglages(repertoire(), r);
    VERIFIE(lit("PAD.CFG") == entree);
    if (size >= taille_reglages)
        VERIFIE(std::memcmp(r.octets.data(), data, taille_reglages) == 0);
    verifie_bornes(r);

    ecrit_reglages(repertoire(), r);
    // A cut file is kept aside, byte for byte, before it is written over.
    VERIFIE(existe("PAD.CFG.illisible") == (size < taille_reglages));
    VERIFIE(size >= taille_reglages || lit("PAD.CFG.illisible") == entree);
    efface("PAD.CFG.illisible");
    const std::string ecrit_ = lit("PAD.CFG");
    VERIFIE(ecrit_.size() == std::max(size, taille_reglages));
    VERIFIE(std::memcmp(ecrit_.data(), r.octets.data(), taille_reglages) == 0);
    Reglages relu;
    lit_reglages(repertoire(), relu);
    VERIFIE(relu.octets == r.octets);
    return 0;
}
