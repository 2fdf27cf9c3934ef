#pragma once
// The whole program on one data directory: the application state and every
// window, each made once, in the program's order. The program entry builds one
// with the real services; tests build one with doubles.
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
    Programme(const Horloge& horloge, LecteurSon& son, Dialogues& dialogues,
              std::string repertoire);
    ~Programme();

    EtatApplication etat;
    std::unique_ptr<TForm1> form1;
    // Owned by form1 (their parent), destroyed with it.
    Ta_propos* a_propos = nullptr;
    Tconfiguration* configuration = nullptr;
    Talarme_horloge* alarme_horloge = nullptr;
    Tsaints* saints = nullptr;
    Tmessage_alarme* message_alarme = nullptr;
    Tmenu_general* menu_general = nullptr;
    Tsaisie_alarme* saisie_alarme = nullptr;
    std::unique_ptr<PlanificateurAlarmes> planificateur;
};

} // namespace quorvel
