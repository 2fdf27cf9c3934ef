#pragma once
// THORLOGE_DIGITAL: a panel showing the local time "HH:MM:SS", refreshed every second.
#include <QLabel>
#include <QTimer>

namespace quorvel {

class Horloge;

class THORLOGE_DIGITAL : public QLabel {
    Q_OBJECT
public:
    // Without a clock, the system clock. The timer runs for the widget's whole
    // life, visible or not.
    explicit THORLOGE_DIGITAL(QWidget* parent = nullptr, const Horloge* horloge = nullptr);

    // The tick: the caption becomes the current time.
    void affiche_heure_digitale();

private:
    const Horloge& horloge_;
    QTimer minuterie_;
};

} // namespace quorvel
