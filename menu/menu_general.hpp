#pragma once
// The general menu: a borderless wooden board with six oval buttons, each a
// text label. Each entry opens its dialog over the menu; "Annuler" closes it.
#include "plateforme/base_dialogue.hpp"

class QLabel;

namespace quorvel {

struct Contexte;
class Reglages;
class Ta_propos;

class Tmenu_general : public TDialogue {
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
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormActivate() override;

    const Reglages& reglages_;
    QDialog& saints_;
    QDialog& alarmes_;
    QDialog& configuration_;
    Ta_propos& a_propos_;
};

} // namespace quorvel
