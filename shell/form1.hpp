#pragma once
// The main window: the desk with its clock, calculator, day page and note pad.
#include "shell/etat_application.hpp"

#include <QWidget>
#include <array>
#include <functional>

class QDialog;
class QLabel;
class QLineEdit;
class QTimer;

namespace quorvel {

class TEtiquette;
class TZoneTexte;
class THORLOGE;
class Tcalculette;
class TBulHint;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Runs the start-up sequence: settings, purge, today's page.
    TForm1(EtatApplication& etat, QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows made after this one, each made when first asked for: the
    // general menu, the saints browser; and the alarm clock check run by Timer2.
    void relie(std::function<QDialog*()> menu_general, std::function<QDialog*()> saints,
               std::function<void()> verifie_alarmes);

    std::string saint_courant; // Windows-1252, at most 20 characters
    bool bloc_libre = false;
    int derniere_heure = 0;
    bool fichier_libre = false;

    // Routines (they throw; the handlers below guard them).
    void position_main();
    void applique_mode_video();
    // Colours and fonts of the settings, then the heading of the date shown.
    void applique_reglages_et_en_tete();
    void affiche_agenda();
    void charge_bloc_note();
    void sauve_bloc_note();
    void charge_bloc_calendrier();
    void sauve_bloc_calendrier();
    void purge_anciens_jours();
    // Rings today's bell when an hour of the agenda begins; colours the hour's line.
    void sonne_et_colore_l_heure();
    void affiche_cloche();
    void modifier_cloche(int k);

    // Event handlers, each inside the guard.
    void blocClick();
    void corne_gaucheClick() { tourne_page(-1); }
    void corne_droiteClick() { tourne_page(1); }
    void menuClick();
    void quitterClick();
    void champDblClick(int k);
    void saint_du_jourDblClick();
    void Timer1Timer();
    void Timer2Timer();

    // The page in front saved as the quit question's "OK" saves it, without
    // asking: the desktop session is ending. False when the save failed.
    bool sauve_page_en_vue();

    // True once both files of the date shown were read whole.
    bool page_chargee() const { return etat_.page.lue(); }

    // Controls, named by role.
    QLabel* fond1;
    THORLOGE* HORLOGE1;
    THORLOGE* HORLOGE2;
    Tcalculette* calculette1;
    Tcalculette* calculette2;
    QWidget* calendrier;
    QWidget* bloc_note;
    TEtiquette* bloc;
    TEtiquette* menu;
    TEtiquette* quitter;
    QTimer* Timer1;
    QTimer* Timer2;
    TBulHint* BulHint1;

    QLabel* fond_calendrier1;
    QLabel* mois;
    QLabel* annee;
    QWidget* fond_date;
    QLabel* date_jour;
    QLabel* jour;
    TEtiquette* saint_du_jour;
    TZoneTexte* edit_bloc_calendrier;
    QLabel* semaine;
    std::array<TEtiquette*, nombre_creneaux> h{};
    std::array<QLineEdit*, nombre_creneaux> champ{};
    std::array<QLabel*, nombre_creneaux> a{};
    TEtiquette* corne_gauche;
    TEtiquette* corne_droite;

    QLabel* fond_note1;
    TZoneTexte* edit_bloc_note;

protected:
    void closeEvent(QCloseEvent* e) override; // FormCloseQuery
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void cree_controles();
    // Ctrl+PgUp and Ctrl+PgDn turn the page as its corners do, F2 swaps the note pad.
    void cree_raccourcis();
    // Tab out of the text boxes, Up, Down and Enter between the hour lines;
    // true when the key was taken.
    bool touche_de_page(QObject* objet, const QKeyEvent& e);
    void FormCreate();
    bool FormCloseQuery();
    template <class F> bool gere(F&& f);
    bool agenda_modifie() const;
    // Saves the page, plays the page sound and shows the day after (1) or before (-1).
    void tourne_page(int pas);

    EtatApplication& etat_;
    std::function<QDialog*()> menu_general_;
    std::function<QDialog*()> saints_;
    std::function<void()> verifie_alarmes_;
    bool note_chargee_ = false;
};

} // namespace quorvel
