#pragma once
// The configuration dialog: the only place where the settings change. Each
// change is made in the settings record and written to "PAD.CFG" at once.
#include "plateforme/base_dialogue.hpp"
#include "settings/reglages.hpp"

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace quorvel {

struct Contexte;

class Tconfiguration : public TDialogue {
    Q_OBJECT
public:
    Tconfiguration(Contexte& ctx, Reglages& reglages, QWidget* parent = nullptr);

    // Writes the settings record to the settings file.
    void sauve();

    QFrame* Bevel1;
    QFrame* Bevel2;
    QFrame* Bevel3;
    QPushButton* b1;
    QPushButton* b2;
    QPushButton* b3;
    QPushButton* b4;
    QPushButton* b5;
    QPushButton* b6;
    QPushButton* b7;
    QPushButton* b8;
    QPushButton* b9;
    QPushButton* b10;
    QPushButton* b11;
    QPushButton* b12;
    QCheckBox* c1;
    QGroupBox* GroupBox1;
    QRadioButton* cv1;
    QRadioButton* cv2;
    QPushButton* ok1;

private:
    void FormActivate() override;
    void choix_police(bool calendrier);
    void choix_couleur(CouleurReglee champ);
    void b11Click();
    void c1Click();
    void cv1Click();

    Contexte& ctx_;
    Reglages& reglages_;
};

} // namespace quorvel
