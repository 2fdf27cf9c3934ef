#include "widgets/digital.hpp"

#include "plateforme/horloge.hpp"

namespace quorvel {

namespace {
const Horloge& horloge_systeme() {
    static const HorlogeSysteme h;
    return h;
}
} // namespace

THORLOGE_DIGITAL::THORLOGE_DIGITAL(QWidget* parent, const Horloge* horloge)
    : QLabel(parent), horloge_(horloge ? *horloge : horloge_systeme()) {
    setGeometry(560, 417, 80, 25);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    minuterie_.setInterval(1000);
    connect(&minuterie_, &QTimer::timeout, this, &THORLOGE_DIGITAL::affiche_heure_digitale);
    minuterie_.start();
    // Shown at once rather than a stale caption until the first tick.
    affiche_heure_digitale();
}

void THORLOGE_DIGITAL::affiche_heure_digitale() {
    const Instant t = horloge_.maintenant();
    setText(QString::asprintf("%02d:%02d:%02d", t.heure, t.minute, t.seconde));
}

} // namespace quorvel
