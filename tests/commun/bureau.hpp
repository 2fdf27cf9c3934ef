#pragma once
// The desk the dialogs open on: a data directory, a stepped clock at Monday
// 2 March 2026, 10:00:30, recorded sounds, answered dialogs, and the main
// window at (200, 100), 411 x 455.
#include "commun/essai.hpp"
#include "settings/reglages.hpp"

namespace quorvel::test {

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
