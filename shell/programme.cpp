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
    Contexte& ctx = etat.ctx;
    efface_provisoires(ctx.repertoire); // the temporaries of a save cut short by a crash
    form1 = std::make_unique<TForm1>(etat);
    QWidget* parent = form1.get();
    a_propos = new Ta_propos(ctx, parent);
    configuration = new Tconfiguration(ctx, etat.reglages, parent);
    // The entry dialog is made before the list that opens it.
    saisie_alarme = new Tsaisie_alarme(ctx, etat.reglages, etat.alarme_courante, parent);
    alarme_horloge =
        new Talarme_horloge(ctx, etat.reglages, etat.alarme_courante, *saisie_alarme, parent);
    saints = new Tsaints(ctx, etat.reglages, etat.saint, parent);
    message_alarme = new Tmessage_alarme(ctx, etat.reglages, parent);
    menu_general = new Tmenu_general(ctx, etat.reglages, *saints, *alarme_horloge, *configuration,
                                     *a_propos, parent);
    planificateur = std::make_unique<PlanificateurAlarmes>(ctx, *message_alarme);
    form1->relie(menu_general, saints, [this] { planificateur->verifie(); });
}

Programme::~Programme() {
    // The timers of the main window must not reach the scheduler once it is gone.
    form1.reset();
    planificateur.reset();
}

} // namespace quorvel
