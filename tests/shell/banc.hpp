#pragma once
// The main window on a temporary data directory, with a clock that only moves
// when told, recorded sounds and answered dialogs.
#include "commun/repertoire_temp.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/etiquette.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/son.hpp"
#include "shell/form1.hpp"
#include "shell/zone_texte.hpp"
#include "widgets/calcul.hpp"
#include "widgets/horloge.hpp"

#include <QLineEdit>
#include <QTimer>
#include <memory>

namespace quorvel::test {

struct Banc {
    RepertoireTemp rep;
    HorlogeReglable horloge;
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    std::unique_ptr<EtatApplication> etat;
    std::unique_ptr<TForm1> form;

    Banc(int annee, int mois, int jour, int heure = 12, int minute = 0) {
        horloge.regle(annee, mois, jour, heure, minute);
    }
    TForm1& demarre() {
        form.reset();
        etat = std::make_unique<EtatApplication>(horloge, son, dialogues, rep.chemin());
        form = std::make_unique<TForm1>(*etat);
        return *form;
    }
    // Text as the box holds it, set as if typed (the box is marked modified).
    static void tape(QLineEdit* champ, const QString& texte) {
        champ->setText(texte);
        champ->setModified(true);
    }
};

// Slot k of an agenda file's bytes, up to its zero byte.
inline std::string creneau(const std::string& eng, int k) {
    const std::string champ = eng.substr(61 * (k - 1), 61);
    return champ.substr(0, champ.find('\0'));
}
inline int cloche(const std::string& eng, int k) { return static_cast<unsigned char>(eng[793 + k - 1]); }

} // namespace quorvel::test
