#include "form1.hpp"

#include "alarms/rappel_agenda.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/base_dialogue.hpp"
#include "plateforme/copie_illisible.hpp"
#include "plateforme/couleurs.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/garde.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/saisie_cp1252.hpp"
#include "shell/reglure.hpp"
#include "shell/zone_texte.hpp"
#include "widgets/bulhint.hpp"
#include "widgets/calcul.hpp"
#include "widgets/etiquette.hpp"
#include "widgets/horloge.hpp"

#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <utility>

namespace quorvel {

namespace {

void couleur_texte(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

void couleur_fond(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QFont police_reglee(const PoliceReglee& r) {
    QFont f(depuis_cp1252(r.nom));
    if (r.taille > 0)
        f.setPointSize(r.taille);
    const StylePolice s = style_police(r.style);
    f.setBold(s.gras);
    f.setItalic(s.italique);
    return f;
}

void applique_police(QPlainTextEdit* zone, const PoliceReglee& r) {
    zone->setFont(police_reglee(r));
    couleur_texte(zone, couleur_qt(r.couleur));
}

QLabel* image(QWidget* parent, const char* nom, int x, int y, int l, int hauteur) {
    auto* i = new QLabel(parent);
    i->setGeometry(x, y, l, hauteur);
    if (*nom)
        i->setPixmap(image_ressource(QString::fromLatin1(nom)));
    i->setAlignment(Qt::AlignCenter);
    return i;
}

QLabel* etiquette(QWidget* parent, int x, int y, int l, int hauteur, const QFont& f,
                  Qt::Alignment alignement) {
    auto* e = new QLabel(parent);
    e->setGeometry(x, y, l, hauteur);
    e->setFont(f);
    e->setAlignment(alignement | Qt::AlignVCenter);
    return e;
}

QFrame* trait(QWidget* parent, int x, int y, int l) {
    auto* t = new QFrame(parent);
    t->setGeometry(x, y, l, 1);
    t->setFrameShape(QFrame::NoFrame);
    couleur_fond(t, Qt::black);
    return t;
}

} // namespace

TForm1::TForm1(EtatApplication& etat, QWidget* parent)
    : QWidget(parent, boutons_fenetre_principale), etat_(etat) {
    cree_controles();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::relie(std::function<QDialog*()> menu_general, std::function<QDialog*()> saints,
                   std::function<void()> verifie_alarmes) {
    menu_general_ = std::move(menu_general);
    saints_ = std::move(saints);
    verifie_alarmes_ = std::move(verifie_alarmes);
}

void TForm1::cree_controles() {
    setFixedSize(411, 455);
    setFont(police(QStringLiteral("Arial"), 13));
    fond1 = image(this, "fond1", 0, 0, 411, 455);

    HORLOGE1 = new THORLOGE(this, &etat_.ctx.horloge);
    HORLOGE1->setGeometry(252, 4, 154, 154);
    HORLOGE2 = new THORLOGE(this, &etat_.ctx.horloge);
    HORLOGE2->setGeometry(251, 4, 154, 154);
    for (THORLOGE* horloge : {HORLOGE1, HORLOGE2}) {
        horloge->set_couleur_aiguille(Qt::black);
        horloge->set_taille_heure(30);
        horloge->set_taille_minute(40);
        horloge->set_taille_seconde(50);
    }
    HORLOGE1->set_position_x(73);
    HORLOGE1->set_position_y(69);
    HORLOGE2->set_position_x(77);
    HORLOGE2->set_position_y(74);

    calculette1 = new Tcalculette(this);
    calculette2 = new Tcalculette(this);
    const QString titre = QString::fromStdString(etat_.ctx.titre);
    for (Tcalculette* c : {calculette1, calculette2}) {
        c->setGeometry(14, 16, 218, 122);
        c->regle_rapport(&etat_.ctx.dialogues, titre);
    }

    // The calendar block page.
    calendrier = new QWidget(this);
    calendrier->setGeometry(11, 147, 387, 278);
    fond_calendrier1 = image(calendrier, "fond_calendrier1", 0, 0, 387, 278);
    const QFont titre13 = police(QStringLiteral("Times New Roman"), 13, true);
    mois = etiquette(calendrier, 22, 20, 80, 15, titre13, Qt::AlignHCenter);
    annee = etiquette(calendrier, 20, 40, 80, 15, titre13, Qt::AlignHCenter);
    fond_date = new QWidget(calendrier);
    fond_date->setGeometry(110, 18, 51, 45);
    couleur_fond(fond_date, Qt::red);
    date_jour = etiquette(fond_date, 0, 0, 51, 45, police(QStringLiteral("Arial"), 37, true),
                          Qt::AlignHCenter);
    couleur_texte(date_jour, Qt::white);
    jour = etiquette(calendrier, 20, 64, 60, 15, titre13, Qt::AlignLeft);
    saint_du_jour = new TEtiquette(calendrier);
    saint_du_jour->setGeometry(96, 66, 69, 15);
    saint_du_jour->setFont(police(QStringLiteral("Times New Roman"), 11, false, true));
    saint_du_jour->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    saint_du_jour->setToolTip(QStringLiteral("Double-cliquez pour modifier les saints"));
    connect(saint_du_jour, &TEtiquette::double_clic, this, &TForm1::saint_du_jourDblClick);
    trait(calendrier, 20, 78, 145);
    edit_bloc_calendrier = new TZoneTexte(static_cast<int>(longueur_bloc), calendrier);
    edit_bloc_calendrier->setGeometry(18, 80, 149, 167);
    trait(calendrier, 18, 249, 145);
    semaine = etiquette(calendrier, 104, 252, 60, 15, police(QStringLiteral("Times New Roman"), 9),
                        Qt::AlignRight);
    marque_synchro = new TEtiquette(calendrier);
    marque_synchro->setGeometry(36, 252, 70, 15);
    marque_synchro->setFont(police(QStringLiteral("Times New Roman"), 9, false, true));
    marque_synchro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    couleur_texte(marque_synchro, QColor(160, 0, 0));
    marque_synchro->hide();
    connect(marque_synchro, &TEtiquette::clic, this, [this] {
        if (synchronise_maintenant_)
            synchronise_maintenant_();
    });
    for (int k = 1; k <= nombre_creneaux; ++k) {
        const int y = 18 * (k - 1);
        auto* heure = new TEtiquette(calendrier);
        heure->setGeometry(218, 22 + y, 30, 14);
        heure->setFont(police(QStringLiteral("Arial"), 11));
        heure->setText(QStringLiteral("%1h00").arg(heure_creneau(k), 2, 10, QLatin1Char('0')));
        couleur_fond(heure, Qt::white);
        connect(heure, &TEtiquette::double_clic, this, [this, k] { champDblClick(k); });
        h[k - 1] = heure;
        auto* ligne = new QLineEdit(calendrier);
        ligne->setGeometry(250, 23 + y, 111, 16);
        ligne->setFont(police(QStringLiteral("Arial"), 9));
        ligne->setFrame(false);
        ligne->setMaxLength(static_cast<int>(longueur_creneau));
        refuse_hors_cp1252(*ligne);
        ligne->setObjectName(QStringLiteral("champ%1").arg(k));
        ligne->installEventFilter(this);
        champ[k - 1] = ligne;
        a[k - 1] = image(calendrier, "", 361, 23 + y, 11, 11);
    }
    setTabOrder(edit_bloc_calendrier, champ[0]);
    for (int k = 1; k < nombre_creneaux; ++k)
        setTabOrder(champ[k - 1], champ[k]);
    corne_gauche = new TEtiquette(calendrier);
    corne_gauche->setGeometry(1, 248, 35, 20);
    corne_gauche->setToolTip(QStringLiteral("Jour précédent"));
    connect(corne_gauche, &TEtiquette::clic, this, &TForm1::corne_gaucheClick);
    corne_droite = new TEtiquette(calendrier);
    corne_droite->setGeometry(349, 248, 35, 20);
    corne_droite->setToolTip(QStringLiteral("Jour suivant"));
    connect(corne_droite, &TEtiquette::clic, this, &TForm1::corne_droiteClick);

    // The note pad page, exactly over the calendar page.
    bloc_note = new QWidget(this);
    bloc_note->setGeometry(11, 147, 387, 278);
    fond_note1 = image(bloc_note, "", 0, 0, 387, 278); // decoded when the note pad is first shown
    edit_bloc_note =
        new TZoneReglee(static_cast<int>(longueur_bloc), QColor(160, 184, 220), bloc_note);
    edit_bloc_note->setGeometry(26, 56, 333, 203);
    bloc_note->hide();
    for (QPlainTextEdit* zone : {static_cast<QPlainTextEdit*>(edit_bloc_calendrier),
                                 static_cast<QPlainTextEdit*>(edit_bloc_note)}) {
        zone->setFrameShape(QFrame::NoFrame);
        zone->viewport()->setAutoFillBackground(false);
        zone->setStyleSheet(QStringLiteral("background: transparent;"));
        zone->installEventFilter(this);
    }
    cree_raccourcis();

    const auto bouton = [this](int x, int y, int l, const QString& texte, const QColor& couleur,
                               const QString& bulle) {
        auto* b = new TEtiquette(texte, this);
        b->setGeometry(x, y, l, 17);
        b->setFont(police(QStringLiteral("Times New Roman"), 13, true));
        b->setAlignment(Qt::AlignCenter);
        couleur_texte(b, couleur);
        b->setToolTip(bulle);
        return b;
    };
    bloc = bouton(22, 431, 129, QStringLiteral("Bloc-Notes"), Qt::black,
                  QStringLiteral("Cliquez pour accèder au Bloc-Notes"));
    menu = bouton(176, 430, 129, QStringLiteral("Menu Général"), Qt::black,
                  QStringLiteral("Cliquez pour accèder au Menu Général"));
    quitter = bouton(326, 430, 67, QStringLiteral("Quitter"), Qt::white,
                     QStringLiteral("Cliquez pour quitter ce logiciel"));
    connect(bloc, &TEtiquette::clic, this, &TForm1::blocClick);
    connect(menu, &TEtiquette::clic, this, &TForm1::menuClick);
    connect(quitter, &TEtiquette::clic, this, &TForm1::quitterClick);

    Timer1 = new QTimer(this);
    Timer1->setInterval(30000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(60000);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    minuterie_sauvegarde = new QTimer(this);
    minuterie_sauvegarde->setSingleShot(true);
    connect(minuterie_sauvegarde, &QTimer::timeout, this, &TForm1::sauvegarde_auto);
    for (QPlainTextEdit* zone : {static_cast<QPlainTextEdit*>(edit_bloc_calendrier),
                                 static_cast<QPlainTextEdit*>(edit_bloc_note)})
        connect(zone, &QPlainTextEdit::textChanged, this, &TForm1::change_tapee);
    for (QLineEdit* ligne : champ)
        connect(ligne, &QLineEdit::textChanged, this, &TForm1::change_tapee);
    BulHint1 = new TBulHint(this);
    BulHint1->setHintDirection(hdDownRight);
    BulHint1->setHintShadowColor(Qt::black);
    BulHint1->setHintFont(police(QStringLiteral("Arial"), 11));
    BulHint1->setHintFontColor(Qt::black);
}

template <class F> bool TForm1::gere(F&& f) {
    return garde(etat_.ctx.dialogues, this, QString::fromStdString(etat_.ctx.titre),
                 std::forward<F>(f));
}

void TForm1::FormCreate() {
    Contexte& ctx = etat_.ctx;
    setWindowTitle(QString::fromStdString(ctx.titre));
    setWindowIcon(image_ressource(QStringLiteral("icone")));
    corne_gauche->setCursor(curseur(curseur_main_gauche));
    corne_droite->setCursor(curseur(curseur_main_droite));
    for (QWidget* w :
         {static_cast<QWidget*>(bloc), static_cast<QWidget*>(menu), static_cast<QWidget*>(quitter)})
        w->setCursor(curseur(curseur_main_haut));

    etat_.page.montre(ctx.dates.relit_aujourdhui());
    derniere_heure = numero_heure(ctx.horloge.maintenant());
    bloc_libre = true;

    // Each step reports its own failure and the start goes on: a settings file
    // that cannot be read leaves the defaults, a purge that fails is only
    // housekeeping, and the page must stay usable so that nothing typed is lost.
    if (!gere([&] { lit_reglages(ctx.repertoire, etat_.reglages); }))
        config_defaut(etat_.reglages, ctx.repertoire);
    applique_mode_video();
    gere([&] { purge_anciens_jours(); });
    gere([&] { applique_reglages_et_en_tete(); });
    Timer1->start();
    Timer2->start();
    // Centred on the screen where it will first show, frame included (placed again
    // once the window manager has framed it), before its rectangle is recorded.
    centre_sur_ecran(*this);
    position_main();
    fichier_libre = true;
    gere([&] { charge_bloc_calendrier(); });
    annonce_secours();
}

void TForm1::position_main() {
    const QRect r = frameGeometry();
    etat_.ctx.rect_main = {r.left(), r.top(), r.width(), r.height()};
}

void TForm1::applique_mode_video() {
    fond1->show();
    fond_calendrier1->show();
    fond_note1->show();
    const bool mode1 = etat_.reglages.video() == 1;
    // Only the variant shown is decoded; the other waits until a change of mode shows it.
    THORLOGE* horloge = mode1 ? HORLOGE1 : HORLOGE2;
    if (horloge->texture().isNull())
        horloge->set_texture(
            image_ressource(mode1 ? QStringLiteral("horloge1") : QStringLiteral("horloge2")));
    Tcalculette* calculette = mode1 ? calculette1 : calculette2;
    if (calculette->texture().isNull())
        calculette->set_texture(
            image_ressource(mode1 ? QStringLiteral("calculette1") : QStringLiteral("calculette2")));
    calculette1->setVisible(mode1);
    HORLOGE1->setVisible(mode1);
    calculette2->setVisible(!mode1);
    HORLOGE2->setVisible(!mode1);
}

void TForm1::applique_reglages_et_en_tete() {
    const Reglages& r = etat_.reglages;
    couleur_texte(jour, couleur_qt(r.couleur(CouleurReglee::jour)));
    couleur_texte(mois, couleur_qt(r.couleur(CouleurReglee::mois)));
    couleur_fond(fond_date, couleur_qt(r.couleur(CouleurReglee::fond_date)));
    couleur_texte(annee, couleur_qt(r.couleur(CouleurReglee::mois)));
    couleur_texte(semaine, couleur_qt(r.couleur(CouleurReglee::semaine)));
    couleur_texte(saint_du_jour, couleur_qt(r.couleur(CouleurReglee::saint)));
    HORLOGE1->set_couleur_aiguille(couleur_qt(r.couleur(CouleurReglee::aiguilles)));
    applique_police(edit_bloc_note, r.police_bloc_notes());
    applique_police(edit_bloc_calendrier, r.police_calendrier());

    const Jour date = etat_.page.date();
    const int jour_courant = jour_de(date), mois_courant = mois_de(date);
    const int annee_courante = annee_de(date);
    jour->setText(depuis_cp1252(nom_jour(etat_.page.jour_semaine())));
    mois->setText(depuis_cp1252(nom_mois(mois_courant)));
    date_jour->setText(QString::fromStdString(nombre_zeros(jour_courant, 2)));
    annee->setText(QString::fromStdString(nombre_zeros(annee_courante, 4)));
    semaine->setText(QStringLiteral("Semaine ") +
                     QString::fromStdString(nombre_zeros(
                         numero_semaine(jour_courant, mois_courant, annee_courante), 2)));
    quorvel::saint_du_jour(etat_.ctx.repertoire, jour_courant, mois_courant, etat_.saint,
                           saint_courant);
    saint_du_jour->setText(depuis_cp1252(saint_courant));
}

void TForm1::affiche_agenda() {
    for (int k = 1; k <= nombre_creneaux; ++k)
        champ[k - 1]->setText(depuis_cp1252(etat_.page.agenda().texte(k)));
    sonne_et_colore_l_heure();
}

bool TForm1::agenda_modifie() const {
    for (const QLineEdit* c : champ)
        if (c->isModified())
            return true;
    return false;
}

void TForm1::charge_bloc_note() {
    if (!fichier_libre)
        return;
    Verrou verrou(fichier_libre);
    // Nothing of an earlier load stays in the box if this one fails.
    note_chargee_ = false;
    edit_bloc_note->clear();
    // Emptied, not typed: a note pad that then fails to load is not saved over the file.
    edit_bloc_note->document()->setModified(false);
    const std::string texte = charge_texte(etat_.ctx.chemin(fichier_bloc_note));
    edit_bloc_note->setPlainText(texte_pour_saisie(texte));
    edit_bloc_note->document()->setModified(false);
    note_chargee_ = true;
}

void TForm1::sauve_bloc_note(bool changes_seuls) {
    if (!fichier_libre)
        return;
    Verrou verrou(fichier_libre);
    const std::string chemin = etat_.ctx.chemin(fichier_bloc_note);
    const bool modifie = edit_bloc_note->document()->isModified();
    if ((changes_seuls && !modifie) || !ecriture_permise(note_chargee_, modifie, chemin, signale()))
        return;
    sauve_texte(chemin, texte_pour_fichier(edit_bloc_note->texte()));
    edit_bloc_note->document()->setModified(false);
}

void TForm1::charge_bloc_calendrier() {
    if (!fichier_libre)
        return;
    Verrou verrou(fichier_libre);
    edit_bloc_calendrier->clear();
    for (QLineEdit* c : champ)
        c->clear();
    // Emptied, not typed: a page that then fails to load is not saved over its files.
    edit_bloc_calendrier->document()->setModified(false);
    for (QLineEdit* c : champ)
        c->setModified(false);
    std::exception_ptr panne;
    try {
        etat_.page.charge();
    } catch (...) {
        panne = std::current_exception();
    }
    // What could be read shows; the rest of the page stays empty.
    edit_bloc_calendrier->setPlainText(texte_pour_saisie(etat_.page.note()));
    edit_bloc_calendrier->document()->setModified(false);
    if (etat_.page.agenda_lu())
        affiche_agenda();
    affiche_cloche();
    if (panne)
        std::rethrow_exception(panne);
}

void TForm1::sauve_bloc_calendrier(bool changes_seuls) {
    if (!fichier_libre)
        return;
    Verrou verrou(fichier_libre);
    SaisiePage saisie;
    saisie.note = texte_pour_fichier(edit_bloc_calendrier->texte());
    saisie.note_modifiee = edit_bloc_calendrier->document()->isModified();
    for (int k = 1; k <= nombre_creneaux; ++k)
        saisie.lignes[k - 1] = vers_cp1252(champ[k - 1]->text());
    saisie.agenda_modifie = agenda_modifie();
    PageJour::Ecrits ecrits;
    const auto enregistres = [&] {
        if (ecrits.note)
            edit_bloc_calendrier->document()->setModified(false);
        if (ecrits.agenda)
            for (QLineEdit* c : champ)
                c->setModified(false);
    };
    const auto dit = [&] {
        enregistres();
        if ((ecrits.note || ecrits.agenda) && apres_sauvegarde_ && !en_passage_)
            apres_sauvegarde_();
    };
    try {
        etat_.page.sauve(saisie, signale(), ecrits, changes_seuls);
    } catch (...) {
        dit();
        throw;
    }
    dit();
}

void TForm1::purge_anciens_jours() {
    quorvel::rafraichi_fichier(etat_.ctx.repertoire, etat_.ctx.dates);
}

void TForm1::affiche_cloche() {
    const QPixmap cloche = image_ressource(QStringLiteral("cloche"));
    for (int k = 1; k <= nombre_creneaux; ++k)
        a[k - 1]->setPixmap(etat_.page.agenda().cloche(k) ? cloche : QPixmap());
}

void TForm1::modifier_cloche(int k) {
    try {
        etat_.page.bascule_cloche(k, signale_dans(etat_.ctx.dialogues, this, etat_.ctx.titre));
    } catch (...) {
        affiche_cloche();
        throw;
    }
    affiche_cloche();
    if (apres_sauvegarde_)
        apres_sauvegarde_();
}

void TForm1::sonne_et_colore_l_heure() {
    Contexte& ctx = etat_.ctx;
    const Jour aujourdhui = ctx.dates.relit_aujourdhui();
    const Instant maintenant = ctx.horloge.maintenant();
    const int heure = maintenant.heure;
    const bool page_du_jour = etat_.page.date() == aujourdhui;
    if (const int creneau = nouvelle_heure_agenda(maintenant, derniere_heure)) {
        // Today's bell rings, whatever page is shown.
        const EnregistrementAgenda agenda =
            page_du_jour ? etat_.page.agenda() : agenda_du_fichier(ctx.repertoire, aujourdhui);
        if (agenda.cloche(creneau)) {
            joue_son(ctx.son, ctx.chemin_son(etat_.reglages.son_alarme()));
            if (ctx.notificateur)
                ctx.notificateur->notifie((h[creneau - 1]->text() + QStringLiteral("\u00a0: ") +
                                           depuis_cp1252(agenda.texte(creneau)))
                                              .toStdString());
        }
    }
    const Reglages& r = etat_.reglages;
    for (int k = 1; k <= nombre_creneaux; ++k) {
        couleur_texte(h[k - 1], couleur_qt(r.couleur(CouleurReglee::horaires)));
        couleur_texte(champ[k - 1], couleur_qt(r.couleur(CouleurReglee::actions)));
    }
    if (page_du_jour) {
        const int k = creneau_courant(heure);
        const QColor courante = couleur_qt(r.couleur(CouleurReglee::action_courante));
        couleur_texte(h[k - 1], courante);
        couleur_texte(champ[k - 1], courante);
    }
}

void TForm1::blocClick() {
    if (!bloc_libre)
        return;
    Verrou verrou(bloc_libre);
    gere([&] {
        if (bloc_note->isHidden()) {
            sauve_bloc_calendrier();
            calendrier->hide();
            if (fond_note1->pixmap().isNull())
                fond_note1->setPixmap(image_ressource(QStringLiteral("fond_note1")));
            bloc_note->show();
            charge_bloc_note();
            bloc_note->repaint();
            bloc->setText(QStringLiteral("Bloc-Calendrier"));
            bloc->setToolTip(QStringLiteral("Cliquez pour accèder au Bloc-Calendier"));
            edit_bloc_note->setFocus();
        } else {
            sauve_bloc_note();
            bloc_note->hide();
            calendrier->show();
            calendrier->repaint();
            charge_bloc_calendrier();
            bloc->setText(QStringLiteral("Bloc-Notes"));
            bloc->setToolTip(QStringLiteral("Cliquez pour accèder au Bloc-Notes"));
            edit_bloc_calendrier->setFocus();
        }
    });
}

void TForm1::tourne_page(int pas) {
    gere([&] {
        sauve_bloc_calendrier();
        if (etat_.reglages.son_page())
            joue_son(etat_.ctx.son, etat_.ctx.chemin("papier.wav"));
        etat_.page.tourne(pas);
        // The new date's page is loaded even when its heading fails (a saints
        // file that cannot be read): the texts of the day left must not stay on
        // the page, where the next turn would save them into this date's files.
        gere([&] { applique_reglages_et_en_tete(); });
        charge_bloc_calendrier();
    });
}

void TForm1::menuClick() {
    gere([&] {
        position_main();
        if (menu_general_)
            menu_general_()->exec();
        applique_mode_video();
        applique_reglages_et_en_tete();
    });
}

void TForm1::quitterClick() {
    close();
}

void TForm1::champDblClick(int k) {
    gere([&] { modifier_cloche(k); });
}

void TForm1::saint_du_jourDblClick() {
    gere([&] {
        position_main();
        if (saints_)
            saints_()->exec();
    });
}

void TForm1::Timer1Timer() {
    gere([&] { sonne_et_colore_l_heure(); });
}

void TForm1::Timer2Timer() {
    gere([&] {
        position_main();
        if (verifie_alarmes_)
            verifie_alarmes_();
    });
}

bool TForm1::FormCloseQuery() {
    const QString question =
        QStringLiteral("Désirez-vous quitter ") + QString::fromStdString(etat_.ctx.titre);
    if (!etat_.ctx.dialogues.confirme(this, QStringLiteral("Confirmation"), question))
        return false;
    if (gere([&] { sauve_page(false); }))
        return true;
    // Never locked in: the user decides, knowing where the text is.
    const QString suite =
        chemin_secours_.empty()
            ? QStringLiteral("La page n'a pas pu être enregistrée, et votre texte n'a pas pu "
                             "être gardé ailleurs\u00A0: il sera perdu. Quitter quand même\u00A0?")
            : QStringLiteral("La page n'a pas pu être enregistrée. Votre texte est gardé dans "
                             "%1. Quitter quand même\u00A0?")
                  .arg(QString::fromStdString(chemin_secours_));
    return etat_.ctx.dialogues.confirme(this, QStringLiteral("Confirmation"), suite);
}

void TForm1::sauve_page(bool changes_seuls) {
    try {
        if (bloc_note->isHidden())
            sauve_bloc_calendrier(changes_seuls);
        else
            sauve_bloc_note(changes_seuls);
    } catch (...) {
        garde_le_texte();
        throw;
    }
    fichier_secours_.clear();
}

void TForm1::garde_le_texte() {
    const bool note = !bloc_note->isHidden();
    const std::string fichier = note ? fichier_bloc_note : fichier_note_jour(etat_.page.date());
    // The day note, then each written line after its hour.
    QString lignes;
    for (int k = 1; k <= nombre_creneaux && !note; ++k)
        if (!champ[k - 1]->text().isEmpty())
            lignes +=
                h[k - 1]->text() + QLatin1Char(' ') + champ[k - 1]->text() + QLatin1Char('\n');
    const QString texte =
        note ? edit_bloc_note->texte()
             : edit_bloc_calendrier->texte() + (lignes.isEmpty() ? QString() : "\n\n" + lignes);
    if (fichier != fichier_secours_) {
        fichier_secours_ = fichier;
        instant_secours_ = etat_.ctx.horloge.maintenant();
    }
    try {
        chemin_secours_ =
            ecrit_secours(etat_.ctx.secours, fichier, instant_secours_, texte.toStdString());
    } catch (const std::exception&) {
        chemin_secours_.clear();
    }
}

bool TForm1::sauve_en_fin_de_session(std::string& message) {
    sans_boite_ = true;
    dits_.clear();
    std::string erreur;
    try {
        sauve_page(false);
    } catch (const ErreurQuorvel& e) {
        erreur = e.message();
    } catch (const std::exception& e) {
        erreur = e.what();
    }
    sans_boite_ = false;
    message = dits_;
    if (erreur.empty())
        return true;
    message += "quorvel\u00A0: la page n'a pas pu être enregistrée (" + erreur + ").";
    message += chemin_secours_.empty() ? " Votre texte n'a pas pu être gardé ailleurs.\n"
                                       : " Votre texte est gardé dans " + chemin_secours_ + ".\n";
    return false;
}

SignaleCopie TForm1::signale() {
    if (!sans_boite_)
        return signale_dans(etat_.ctx.dialogues, this, etat_.ctx.titre);
    return [this](const std::string& texte) { dits_ += "quorvel\u00A0: " + texte + "\n"; };
}

void TForm1::change_tapee() {
    // A load fills the boxes with the gate closed: that is no change.
    if (!fichier_libre)
        return;
    const long long t = etat_.ctx.horloge.millisecondes();
    rythme_.change(t);
    if (!minuterie_sauvegarde->isActive())
        minuterie_sauvegarde->start(static_cast<int>(rythme_.delai(t)));
}

void TForm1::sauvegarde_auto() {
    minuterie_sauvegarde->stop();
    const long long t = etat_.ctx.horloge.millisecondes();
    const long long delai = rythme_.delai(t);
    if (delai < 0)
        return;
    // Not yet, or a load or save is under way (a box open inside it): later.
    if (delai > 0 || !fichier_libre || !bloc_libre) {
        minuterie_sauvegarde->start(static_cast<int>(delai > 0 ? delai : RythmeSauvegarde::calme));
        return;
    }
    rythme_.enregistree(t);
    try {
        sauve_page(true);
        panne_auto_ = false;
    } catch (...) {
        // Told once, not at each pause in the typing; the text is kept meanwhile
        // and saved with the next change, the page turn or the quit.
        if (!std::exchange(panne_auto_, true))
            gere([panne = std::current_exception()] { std::rethrow_exception(panne); });
    }
}

void TForm1::relie_synchro(std::function<void()> apres_sauvegarde,
                           std::function<void()> maintenant) {
    apres_sauvegarde_ = std::move(apres_sauvegarde);
    synchronise_maintenant_ = std::move(maintenant);
}

bool TForm1::passe_fichiers(const std::function<std::vector<Jour>()>& travail) {
    // A load or a save under way (a box open inside it), or the note pad
    // swapping with the page: later.
    if (!fichier_libre || !bloc_libre)
        return false;
    const long long t = etat_.ctx.horloge.millisecondes();
    if (rythme_.delai(t) >= 0) {
        en_passage_ = true;
        try {
            sauve_page(true);
        } catch (...) {
            // The save made by itself tells of it, and keeps the text meanwhile.
            en_passage_ = false;
            return false;
        }
        en_passage_ = false;
        rythme_.enregistree(t);
        minuterie_sauvegarde->stop();
        panne_auto_ = false;
    }
    const std::vector<Jour> ecrits = travail();
    if (bloc_note->isHidden() &&
        std::find(ecrits.begin(), ecrits.end(), etat_.page.date()) != ecrits.end()) {
        // Shown again as it now stands, the cursor kept where the user types.
        QWidget* focus = focusWidget();
        auto* ligne = qobject_cast<QLineEdit*>(focus);
        const int position = ligne ? ligne->cursorPosition()
                             : focus == edit_bloc_calendrier
                                 ? edit_bloc_calendrier->textCursor().position()
                                 : -1;
        gere([&] { charge_bloc_calendrier(); });
        if (ligne && position >= 0) {
            ligne->setCursorPosition(std::min(position, static_cast<int>(ligne->text().size())));
        } else if (focus == edit_bloc_calendrier && position >= 0) {
            QTextCursor c = edit_bloc_calendrier->textCursor();
            c.setPosition(
                std::min(position, edit_bloc_calendrier->document()->characterCount() - 1));
            edit_bloc_calendrier->setTextCursor(c);
        }
    }
    return true;
}

void TForm1::montre_synchro(const QString& panne, bool en_cours) {
    if (en_cours) {
        marque_synchro->setText(QStringLiteral("Synchronisation…"));
        marque_synchro->setToolTip(QString());
        return;
    }
    marque_synchro->setVisible(!panne.isEmpty());
    marque_synchro->setText(QStringLiteral("Non synchronisé"));
    // In lines of some sixty characters: the reason may be long.
    QString bulle;
    int ligne = 0;
    for (const QString& mot : panne.split(QLatin1Char(' '))) {
        if (ligne > 0 && ligne + mot.size() > 60) {
            bulle += QLatin1Char('\n');
            ligne = 0;
        } else if (ligne > 0) {
            bulle += QLatin1Char(' ');
            ++ligne;
        }
        bulle += mot;
        ligne += static_cast<int>(mot.size());
    }
    marque_synchro->setToolTip(bulle + QStringLiteral("\nCliquez pour réessayer maintenant."));
}

void TForm1::annonce_secours() {
    const std::vector<std::string> noms = secours_a_annoncer(etat_.ctx.secours);
    if (noms.empty())
        return;
    QStringList liste;
    for (const std::string& nom : noms)
        liste << QString::fromStdString(nom);
    etat_.ctx.dialogues.erreur(
        this, QString::fromStdString(etat_.ctx.titre),
        QStringLiteral("Des textes qui n'avaient pas pu être enregistrés vous attendent dans "
                       "%1\u00A0:\n%2")
            .arg(QString::fromStdString(etat_.ctx.secours), liste.join(QLatin1Char('\n'))));
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

void TForm1::cree_raccourcis() {
    // The page corners and the note pad's button, for the keyboard. The corners
    // are only there while the day page is in front.
    const auto raccourci = [this](QKeyCombination touches, auto action) {
        connect(new QShortcut(QKeySequence(touches), this), &QShortcut::activated, this, action);
    };
    raccourci(Qt::CTRL | Qt::Key_PageUp, [this] {
        if (!calendrier->isHidden())
            corne_gaucheClick();
    });
    raccourci(Qt::CTRL | Qt::Key_PageDown, [this] {
        if (!calendrier->isHidden())
            corne_droiteClick();
    });
    raccourci(Qt::Key_F2, [this] { blocClick(); });
}

bool TForm1::touche_de_page(QObject* objet, const QKeyEvent& e) {
    const auto va = [](QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        return true;
    };
    const bool tab =
        e.key() == Qt::Key_Tab && (e.modifiers() & ~Qt::ControlModifier) == Qt::NoModifier;
    // Tab leaves a text box rather than typing a tab: the day note goes on to
    // the first hour line, the note pad to what follows it.
    if (tab && objet == edit_bloc_calendrier)
        return va(champ[0]);
    if (tab && objet == edit_bloc_note) {
        focusNextPrevChild(true);
        return true;
    }
    if (e.modifiers() & ~Qt::KeypadModifier)
        return false;
    const auto ligne = std::find(champ.begin(), champ.end(), objet);
    if (ligne == champ.end())
        return false;
    const auto k = ligne - champ.begin();
    if (e.key() == Qt::Key_Down || e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter)
        return k + 1 < nombre_creneaux ? va(champ[k + 1]) : true;
    if (e.key() == Qt::Key_Up)
        return va(k > 0 ? static_cast<QWidget*>(champ[k - 1]) : edit_bloc_calendrier);
    return false;
}

void TForm1::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        aide_au_sujet({etat_.ctx.dialogues, etat_.ctx.titre, etat_.ctx.fichier_aide}, this, 1);
        return;
    }
    QWidget::keyPressEvent(e);
}

bool TForm1::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() == QEvent::KeyPress && touche_de_page(objet, static_cast<QKeyEvent&>(*e)))
        return true;
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (int k = 1; k <= nombre_creneaux; ++k)
            if (objet == champ[k - 1]) {
                champDblClick(k);
                return true;
            }
    }
    return QWidget::eventFilter(objet, e);
}

} // namespace quorvel
