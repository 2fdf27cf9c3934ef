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

#include <QTimer>
#include <utility>

namespace quorvel {

Programme::Programme(const Horloge& horloge, LecteurSon& son, Dialogues& dialogues,
                     std::string repertoire, Notificateur* notificateur)
    : etat(horloge, son, dialogues, std::move(repertoire)) {
    etat.ctx.notificateur = notificateur;
    efface_provisoires(etat.ctx.repertoire); // the temporaries of a save cut short by a crash
    form1 = std::make_unique<TForm1>(etat);
    // The alarm clock rings with no window made; the board comes with the first text.
    planificateur = std::make_unique<PlanificateurAlarmes>(
        etat.ctx, [this]() -> Tmessage_alarme& { return *message_alarme(); }, form1.get());
    form1->relie([this] { return menu_general(); }, [this] { return saints(); },
                 [this] { planificateur->verifie(); });
    QTimer::singleShot(0, form1.get(), [this] { planificateur->annonce_fermeture(); });
}

Programme::~Programme() {
    // The timers of the main window must not reach the scheduler once it is gone.
    form1.reset();
    planificateur.reset();
}

namespace {
// Made at the first call, then kept; owned by its parent, the main window.
template <class Fenetre, class... Arguments>
Fenetre* une_fois(Fenetre*& fenetre, Arguments&&... arguments) {
    if (!fenetre)
        fenetre = new Fenetre(std::forward<Arguments>(arguments)...);
    return fenetre;
}
} // namespace

Ta_propos* Programme::a_propos() {
    return une_fois(a_propos_, etat.ctx, form1.get());
}

Tconfiguration* Programme::configuration() {
    return une_fois(configuration_, etat.ctx, etat.reglages, form1.get());
}

Tsaisie_alarme* Programme::saisie_alarme() {
    return une_fois(saisie_alarme_, etat.ctx, etat.reglages, etat.alarme_courante, form1.get());
}

Talarme_horloge* Programme::alarme_horloge() {
    // The entry dialog is made before the list that opens it.
    if (alarme_horloge_)
        return alarme_horloge_;
    return une_fois(alarme_horloge_, etat.ctx, etat.reglages, etat.alarme_courante,
                    *saisie_alarme(), form1.get());
}

Tsaints* Programme::saints() {
    return une_fois(saints_, etat.ctx, etat.reglages, etat.saint, form1.get());
}

Tmessage_alarme* Programme::message_alarme() {
    return une_fois(message_alarme_, etat.ctx, etat.reglages, form1.get());
}

Tmenu_general* Programme::menu_general() {
    // The menu holds the windows its entries open.
    if (menu_general_)
        return menu_general_;
    return une_fois(menu_general_, etat.ctx, etat.reglages, *saints(), *alarme_horloge(),
                    *configuration(), *a_propos(), form1.get());
}

} // namespace quorvel
