#pragma once
// "ALARME D'HORLOGE": the list of the alarms of "ALARME", in file order, with
// add, change and delete. The list is rebuilt from the file at each showing and
// after each operation.
#include "plateforme/base_dialogue.hpp"

class QListWidget;
class QPushButton;

namespace quorvel {

struct Contexte;
class Reglages;
struct EnregistrementAlarme;
class Tsaisie_alarme;

class Talarme_horloge : public TDialogue {
    Q_OBJECT
public:
    Talarme_horloge(Contexte& ctx, const Reglages& reglages, EnregistrementAlarme& courante,
                    Tsaisie_alarme& saisie, QWidget* parent = nullptr);

    void affecte_liste();
    void etat_bouton();
    void creer1Click();
    void modifier1Click();
    void supprimer1Click();
    void ok1Click();

    QListWidget* const liste;
    QPushButton* const creer1;
    QPushButton* const modifier1;
    QPushButton* const supprimer1;
    QPushButton* const ok1;

private:
    void FormActivate() override;

    Contexte& ctx_;
    const Reglages& reglages_;
    EnregistrementAlarme& courante_;
    Tsaisie_alarme& saisie_;
};

} // namespace quorvel
