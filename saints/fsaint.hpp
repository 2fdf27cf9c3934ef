#pragma once
// The saints browser: the saints of one month, day by day; the name of the
// selected day can be edited and is stored when another line is chosen or on OK.
#include "plateforme/base_dialogue.hpp"

#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorvel {

struct Contexte;
class Reglages;
struct EnregistrementSaint;

class Tsaints : public TDialogue {
    Q_OBJECT
public:
    Tsaints(Contexte& ctx, const Reglages& reglages, EnregistrementSaint& tampon,
            QWidget* parent = nullptr);

    int mois_affiche() const { return mois_affiche_; }
    int index_saint() const { return index_saint_; }

    void plus1Click();
    void moins1Click();
    void affecte_liste();
    void affecte_champ(int n);
    void deplacement();
    void ok1Click();
    void reject() override;

    QFrame* Panel1;
    QLabel* affiche_mois;
    QLineEdit* champ;
    QListWidget* liste;
    QPushButton* moins1;
    QPushButton* plus1;
    QPushButton* ok1;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormActivate() override;
    void montre_mois();
    // Selects a line without it counting as the user's choice.
    void selectionne(int ligne);
    // Stores the field into the record it shows when the name differs, then
    // selects line a again (the list line of the record is redrawn).
    void stocke_champ(int a);

    Contexte& ctx_;
    const Reglages& reglages_;
    EnregistrementSaint& tampon_;
    int mois_affiche_ = 1;
    int index_saint_ = 0;
    bool saisie_libre_ = true;
    // The month's file was listed whole; one that was not is written only where
    // the user typed, and only once it is kept aside.
    bool mois_lu_ = false;
};

// A list line: "dd/mm - name" (the name as Windows-1252 bytes).
std::string ligne_saint(const EnregistrementSaint& s);

} // namespace quorvel
