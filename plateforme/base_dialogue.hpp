#pragma once
// What every dialog of the program does the same way: it fills and places
// itself once per opening, opens the help at its own topic on F1 and runs its
// handlers inside the guard.
#include "plateforme/dialogues.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/garde.hpp"

#include <QDialog>
#include <string>
#include <utility>

namespace quorvel {

// What a dialog borrows from the program for its whole life.
struct Guichet {
    Dialogues& dialogues;
    const std::string& titre;        // the title of its error boxes
    const std::string& fichier_aide; // the help file
};

// Opens the help file at a topic (1 main window and menu, 6 saints, 7 alarms,
// 8 configuration) over a window, inside the guard: a help file that cannot
// be read is reported like any error.
void aide_au_sujet(const Guichet& guichet, QWidget* fenetre, int sujet);

class TDialogue : public QDialog {
    Q_OBJECT
public:
    // Opens the help file at the dialog's topic; a help file that cannot be
    // read is reported like any error.
    void aide();

protected:
    // A topic of 0: F1 opens nothing. Without an emplacement the dialog is
    // centred on the screen.
    TDialogue(const Guichet& guichet, int sujet_aide, Emplacement emplacement, QWidget* parent,
              Qt::WindowFlags drapeaux);

    // At each opening, each inside the guard: FormShow, which places the
    // dialog (an override places it by calling this one), then FormActivate.
    virtual void FormShow();
    virtual void FormActivate() {}

    // Runs a handler inside the guard; true when it ended normally.
    template <class F> bool gere(F&& f) {
        return garde(guichet_.dialogues, this, QString::fromStdString(guichet_.titre),
                     std::forward<F>(f));
    }

    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    Guichet guichet_;
    int sujet_aide_;
    Emplacement emplacement_;
    Ouverture ouverture_;
};

} // namespace quorvel
