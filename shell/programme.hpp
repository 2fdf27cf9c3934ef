#pragma once
// The whole program on one data directory: the application state and every
// window, each made at its first use and then kept. The program entry builds
// one with the real services; tests build one with doubles.
#include "shell/etat_application.hpp"

#include <memory>

namespace quorvel {

class TForm1;
class Ta_propos;
class Tconfiguration;
class Talarme_horloge;
class Tsaints;
class Tmessage_alarme;
class Tmenu_general;
class Tsaisie_alarme;
class PlanificateurAlarmes;

class Programme {
public:
    // Once the event loop runs, the alarms missed while the program was closed
    // are told. notificateur: where the reminders are also sent, if anywhere.
    Programme(const Horloge& horloge, LecteurSon& son, Dialogues& dialogues, std::string repertoire,
              Notificateur* notificateur = nullptr);
    ~Programme();

    EtatApplication etat;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<PlanificateurAlarmes> planificateur;

    // The windows hidden at start-up cost the desk nothing until they are
    // asked for. Owned by form1 (their parent), destroyed with it.
    Ta_propos* a_propos();
    Tconfiguration* configuration();
    Talarme_horloge* alarme_horloge();
    Tsaints* saints();
    Tmessage_alarme* message_alarme();
    Tmenu_general* menu_general();
    Tsaisie_alarme* saisie_alarme();

private:
    Ta_propos* a_propos_ = nullptr;
    Tconfiguration* configuration_ = nullptr;
    Talarme_horloge* alarme_horloge_ = nullptr;
    Tsaints* saints_ = nullptr;
    Tmessage_alarme* message_alarme_ = nullptr;
    Tmenu_general* menu_general_ = nullptr;
    Tsaisie_alarme* saisie_alarme_ = nullptr;
};

} // namespace quorvel
