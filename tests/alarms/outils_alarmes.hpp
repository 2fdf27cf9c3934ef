#pragma once
// Shared by the alarm tests: a record builder, the file image of a list of
// records, and a data directory with a stepped clock and the test doubles.
#include "alarms/alarme.hpp"
#include "commun/dialogues_test.hpp"
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/erreurs.hpp"
#include "settings/reglages.hpp"

#include <gtest/gtest.h>

namespace quorvel::test {

inline EnregistrementAlarme alarme(const std::string& heure, const std::string& texte,
                                   bool repete = true, const std::string& date = "03/03/2026",
                                   std::int16_t frequence = 0,
                                   const std::string& son = "coucou.wav", bool affiche = false) {
    EnregistrementAlarme a;
    a.regle_heure(heure);
    a.regle_texte(texte);
    a.regle_affiche_texte(affiche);
    a.regle_repete(repete);
    a.regle_date(date);
    a.regle_frequence(frequence);
    EXPECT_TRUE(a.regle_son(son));
    return a;
}

inline std::string octets_de(const std::vector<EnregistrementAlarme>& v) {
    std::string s;
    for (const auto& a : v)
        s.append(reinterpret_cast<const char*>(a.octets.data()), a.octets.size());
    return s;
}

// Monday 2 March 2026, 10:00:30; the main window at (200, 100), 411 x 455.
struct Bureau {
    Bureau() {
        reglages.regle_video(1);
        ctx.rect_main = {200, 100, 411, 455};
    }
    ~Bureau() { pannes::desarme(); }

    RepertoireTemp rep;
    HorlogeReglable horloge{2026, 3, 2, 10, 0, 30};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx{horloge, son, dialogues, rep.chemin()};
    Reglages reglages;
};

} // namespace quorvel::test
