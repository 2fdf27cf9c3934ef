#pragma once
// The general menu: a borderless wooden board with six oval buttons, each a
// text label. Each entry opens its dialog over the menu; "Annuler" closes it.
#include "plateforme/ecran.hpp"

#include <QDialog>

#include <array>

class QLabel;

namespace quorvel {

struct Contexte;
class Reglages;
class Ta_propos;

class Tmenu_general : public QDialog {
    Q_OBJECT
public:
    Tmenu_general(Contexte& ctx, const Reglages& reglages, QDialog& saints, QDialog& alarmes,
                  QDialog& configuration, Ta_propos& a_propos, QWidget* parent = nullptr);

    QLabel* fond1;
    QLabel* fond2;
    QLabel* m1;
    QLabel* m2;
    QLabel* m3;
    QLabel* m4;
    QLabel* m5;
    QLabel* m6;

    void m1Click();
    void m2Click();
    void m3Click();
    void m4Click();
    void m5Click();
    void m6Click();

protected:
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormActivate();
    // Runs an entry's action inside the guard.
    void execute(void (Tmenu_general::*action)());

    Contexte& ctx_;
    const Reglages& reglages_;
    QDialog& saints_;
    QDialog& alarmes_;
    QDialog& configuration_;
    Ta_propos& a_propos_;
    Ouverture ouverture_;
};

} // namespace quorvel
