#include "plateforme/base_dialogue.hpp"

#include <QKeyEvent>
#include <QShowEvent>

namespace quorvel {

TDialogue::TDialogue(const Guichet& guichet, int sujet_aide, Emplacement emplacement,
                     QWidget* parent, Qt::WindowFlags drapeaux)
    : QDialog(parent, drapeaux), guichet_(guichet), sujet_aide_(sujet_aide),
      emplacement_(std::move(emplacement)) {}

void aide_au_sujet(const Guichet& guichet, QWidget* fenetre, int sujet) {
    garde(guichet.dialogues, fenetre, QString::fromStdString(guichet.titre), [&] {
        guichet.dialogues.ouvre_aide(fenetre, QString::fromStdString(guichet.fichier_aide), sujet);
    });
}

void TDialogue::aide() {
    aide_au_sujet(guichet_, this, sujet_aide_);
}

void TDialogue::FormShow() {
    if (emplacement_)
        place(*this, emplacement_);
    else
        centre_sur_ecran(*this);
}

void TDialogue::showEvent(QShowEvent* evenement) {
    // Once per opening: neither a dialog opened from this one closing nor a
    // restore after minimising comes here, so nothing typed is lost and a
    // dialog the user moved stays.
    if (ouverture_.ouvre(*evenement)) {
        gere([this] { FormShow(); });
        gere([this] { FormActivate(); });
    }
    QDialog::showEvent(evenement);
}

void TDialogue::hideEvent(QHideEvent* evenement) {
    ouverture_.ferme(*evenement);
    QDialog::hideEvent(evenement);
}

void TDialogue::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_F1 && sujet_aide_ != 0) {
        aide();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

} // namespace quorvel
