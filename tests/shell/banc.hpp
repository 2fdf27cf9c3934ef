#pragma once
// The main window, or the whole program, on a temporary data directory, with a
// clock that only moves when told, recorded sounds and answered dialogs; and
// the windows, headers and file images the shell and fault tests use.
#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/outils_alarmes.hpp"
#include "alarms/saisie_alarme.hpp"
#include "menu/a_propos.hpp"
#include "menu/aide.hpp"
#include "menu/menu_general.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/son.hpp"
#include "saints/fsaint.hpp"
#include "settings/configuration.hpp"
#include "shell/form1.hpp"
#include "shell/programme.hpp"
#include "shell/zone_texte.hpp"
#include "widgets/calcul.hpp"
#include "widgets/etiquette.hpp"
#include "widgets/horloge.hpp"
#include "widgets/label3d.hpp"

#include <memory>

namespace quorvel::test {

// A record's bytes as they lie in its file.
std::string octets_de(const auto& enregistrement) {
    return std::string(reinterpret_cast<const char*>(enregistrement.octets.data()),
                       enregistrement.octets.size());
}
// A text file's bytes: the text and its terminating zero.
inline std::string nul(const std::string& texte) {
    return texte + '\0';
}
// An agenda file's bytes: these slot texts, these bells on.
inline std::string agenda(std::initializer_list<std::pair<int, std::string>> textes,
                          std::initializer_list<int> cloches = {}) {
    EnregistrementAgenda a;
    for (const auto& [k, t] : textes)
        a.regle_texte(k, t);
    for (const int k : cloches)
        a.regle_cloche(k, true);
    return octets_de(a);
}
// Slot k of an agenda file's bytes, up to its zero byte; the bell of slot k.
inline std::string creneau(const std::string& eng, int k) {
    const std::string champ = eng.substr(61 * (k - 1), 61);
    return champ.substr(0, champ.find('\0'));
}
inline int cloche(const std::string& eng, int k) {
    return static_cast<unsigned char>(eng[793 + k - 1]);
}

// A rescue folder of its own ($XDG_STATE_HOME) for as long as it lives.
struct EtatXdg {
    RepertoireTemp rep;
    std::string avant = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    EtatXdg() {
        ::setenv("XDG_STATE_HOME", rep.chemin().substr(0, rep.chemin().size() - 1).c_str(), 1);
    }
    ~EtatXdg() { ::setenv("XDG_STATE_HOME", avant.c_str(), 1); }
};

struct Banc {
    EtatXdg xdg;
    RepertoireTemp rep;
    HorlogeReglable horloge;
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    std::unique_ptr<EtatApplication> etat;
    std::unique_ptr<TForm1> form;

    Banc(int annee, int mois, int jour, int heure = 12, int minute = 0) {
        horloge.regle(annee, mois, jour, heure, minute);
    }
    // The main window alone.
    TForm1& demarre() {
        form.reset();
        etat = std::make_unique<EtatApplication>(horloge, son, dialogues, rep.chemin());
        form = std::make_unique<TForm1>(*etat);
        return *form;
    }
    // The whole program.
    Programme lance() { return Programme(horloge, son, dialogues, rep.chemin()); }
    // Quits with "OK" to the question (and to the one after a failed save).
    bool quitte(TForm1& f, std::size_t oui = 1) {
        dialogues.reponses = std::deque<bool>(oui, true);
        return f.close();
    }
    void ecrit(const Fichiers& fichiers) const {
        for (const auto& [nom, octets] : fichiers)
            rep.ecrit(nom, octets);
    }
    void verifie(const Fichiers& fichiers) const {
        for (const auto& [nom, octets] : fichiers)
            EXPECT_EQ(rep.lit(nom), octets) << nom;
    }
    // Text as the box holds it, set as if typed (the box is marked modified).
    static void tape(QLineEdit* champ, const QString& texte) {
        champ->setText(texte);
        champ->setModified(true);
    }
    static void tape(TZoneTexte* zone, const QString& texte) {
        zone->setPlainText(texte);
        zone->document()->setModified(true);
    }
};

} // namespace quorvel::test
