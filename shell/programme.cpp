#include "programme.hpp"

#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "alarms/saisie_alarme.hpp"
#include "menu/a_propos.hpp"
#include "menu/menu_general.hpp"
#include "saints/fsaint.hpp"
#include "settings/configuration.hpp"
#include "shell/form1.hpp"

namespace quorvel {

Programme::Programme(const Horloge& horloge, LecteurSon& son, Dialogues& dialogues,
                     std::string repertoire)
    : etat(horloge, son, dialogues, std::move(repertoire)) {
    efface_provisoires(etat.ctx.repertoire); // the temporaries of a save cut short by a crash
    form1 = std::make_unique<TForm1>(etat);
    // The alarm clock rings with no window made; the board comes with the first text.
    planificateur = std::make_unique<PlanificateurAlarmes>(
        etat.ctx, [this]() -> Tmessage_alarme& { return *message_alarme(); }, form1.get());
    form1->relie([this] { return menu_general(); }, [this] { return saints(); },
                 [this] { planificateur->verifie(); });
}

Programme::~Programme() {
    // The timers of the main window must not reach the scheduler once it is gone.
    form1.reset();
    planificateur.reset();
}

Ta_propos* Programme::a_propos() {
    if (!a_propos_)
        a_propos_ = new Ta_propos(etat.ctx, form1.get());
    return a_propos_;
}

Tconfiguration* Programme::configuration() {
    if (!configuration_)
        configuration_ = new Tconfiguration(etat.ctx, etat.reglages, form1.get());
    return configuration_;
}

Tsaisie_alarme* Programme::saisie_alarme() {
    if (!saisie_alarme_)
        saisie_alarme_ =
            new Tsaisie_alarme(etat.ctx, etat.reglages, etat.alarme_courante, form1.get());
    return saisie_alarme_;
}

Talarme_horloge* Programme::alarme_horloge() {
    // The entry dialog is made before the list that opens it.
    if (!alarme_horloge_)
        alarme_horloge_ = new Talarme_horloge(etat.ctx, etat.reglages, etat.alarme_courante,
                                              *saisie_alarme(), form1.get());
    return alarme_horloge_;
}

Tsaints* Programme::saints() {
    if (!saints_)
        saints_ = new Tsaints(etat.ctx, etat.reglages, etat.saint, form1.get());
    return saints_;
}

Tmessage_alarme* Programme::message_alarme() {
    if (!message_alarme_)
        message_alarme_ = new Tmessage_alarme(etat.ctx, etat.reglages, form1.get());
    return message_alarme_;
}

Tmenu_general* Programme::menu_general() {
    // The menu holds the windows its entries open.
    if (!menu_general_)
        menu_general_ = new Tmenu_general(etat.ctx, etat.reglages, *saints(), *alarme_horloge(),
                                          *configuration(), *a_propos(), form1.get());
    return menu_general_;
}

} // namespace quorvel
