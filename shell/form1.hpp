#pragma once
// The main window: the desk with its clock, calculator, day page and note pad.
#include "shell/etat_application.hpp"

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

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
    // changes_seuls: the save made by itself while typing, which writes only
    // the files whose boxes were changed.
    void sauve_bloc_note(bool changes_seuls = false);
    void charge_bloc_calendrier();
    void sauve_bloc_calendrier(bool changes_seuls = false);
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
    // What was typed on the page in front, saved by itself when its moment has
    // come (RythmeSauvegarde); the keys themselves write nothing.
    void sauvegarde_auto();

    // The page in front saved as the quit question's "OK" saves it, without
    // asking and without any box: the desktop session is ending. False when
    // the save failed; message then says, in French, where the text is kept.
    // It also holds what a box would have told (a damaged file kept aside).
    bool sauve_en_fin_de_session(std::string& message);

    // The calendar synchronisation of the program entry: `apres_sauvegarde`
    // is told each time a day page was written, `maintenant` when the user
    // asks for a run (a click on the page's mark).
    void relie_synchro(std::function<void()> apres_sauvegarde, std::function<void()> maintenant);
    // Runs `travail`, which reads and writes day files, between two saves of
    // the page: what was typed is saved first, and the page is shown again
    // when `travail` wrote its date, the cursor where it was. False, and
    // `travail` not run, when the page cannot be saved now (a load or a save
    // under way, or a save that fails). What `travail` throws goes on.
    bool passe_fichiers(const std::function<std::vector<Jour>()>& travail);
    // The quiet mark on the page: why the last synchronisation failed; empty
    // when it worked. `en_cours`: a run asked by the user has started.
    void montre_synchro(const QString& panne, bool en_cours = false);

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
    QTimer* minuterie_sauvegarde; // single shot, started by a change
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
    TEtiquette* marque_synchro; // hidden while the synchronisation works
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
    // A change typed on the page: the save made by itself is planned.
    void change_tapee();
    // The page in front saved; when it cannot be, its text is first kept in a
    // rescue file (chemin_secours_, empty when even that failed), then the
    // error goes on.
    void sauve_page(bool changes_seuls);
    void garde_le_texte();
    // Tells once, at start-up, of the rescue files an earlier run left.
    void annonce_secours();
    // Where a damaged file's copy is told of: a box, or the message of the session's end.
    SignaleCopie signale();

    EtatApplication& etat_;
    std::function<QDialog*()> menu_general_;
    std::function<QDialog*()> saints_;
    std::function<void()> verifie_alarmes_;
    std::function<void()> apres_sauvegarde_, synchronise_maintenant_;
    bool en_passage_ = false; // inside passe_fichiers: its own save asks for no run
    bool note_chargee_ = false;
    RythmeSauvegarde rythme_;
    bool panne_auto_ = false; // the save made by itself failed: told once
    bool sans_boite_ = false; // the session is ending: what a box would say goes to dits_
    std::string dits_;
    // The rescue file of the page in front: every failure until a save works
    // rewrites the same one.
    std::string fichier_secours_, chemin_secours_;
    Instant instant_secours_;
};

} // namespace quorvel
