#pragma once
// The application state: one object made by the program entry (or a test) and
// handed to every window. No globals.
#include "alarms/alarme.hpp"
#include "calendar/contexte.hpp"
#include "jour/page_jour.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

namespace quorvel {

struct EtatApplication {
    EtatApplication(const Horloge& h, LecteurSon& s, Dialogues& d, std::string repertoire)
        : ctx(h, s, d, std::move(repertoire)), page(ctx.repertoire) {}
    Contexte ctx;
    Reglages reglages;         // all zero until start-up reads "PAD.CFG"
    PageJour page;             // the day page shown
    EnregistrementSaint saint; // the saints files' record buffer
    EnregistrementAlarme alarme_courante;
};

} // namespace quorvel
