#include "settings/configuration.hpp"

#include "calendar/contexte.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ressources.hpp"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <limits>

namespace quorvel {

namespace {
constexpr int largeur = 245;
constexpr int hauteur = 407;
constexpr int sujet_aide = 8;
constexpr qsizetype longueur_nom_police = 40;
constexpr qsizetype longueur_son = 60;

const QString titre_erreur = QStringLiteral("Erreur");

QFrame* cadre(QWidget* parent, int haut, int h) {
    auto* f = new QFrame(parent);
    f->setGeometry(0, haut, largeur, h);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return f;
}

ChoixPolice vers_choix(const PoliceReglee& p) {
    const StylePolice s = style_police(p.style);
    ChoixPolice c;
    c.nom = depuis_cp1252(p.nom);
    c.taille = p.taille;
    c.gras = s.gras;
    c.italique = s.italique;
    c.souligne = s.souligne;
    c.barre = s.barre;
    c.couleur = p.couleur;
    return c;
}

PoliceReglee depuis_choix(const ChoixPolice& c) {
    PoliceReglee p;
    p.couleur = c.couleur;
    p.style = code_style({c.gras, c.italique, c.souligne, c.barre});
    p.taille = static_cast<std::int16_t>(std::clamp<int>(c.taille,
                                                         std::numeric_limits<std::int16_t>::min(),
                                                         std::numeric_limits<std::int16_t>::max()));
    p.nom = vers_cp1252(c.nom.left(longueur_nom_police));
    return p;
}
} // namespace

Tconfiguration::Tconfiguration(Contexte& ctx, Reglages& reglages, QWidget* parent)
    // FormShow centres the dialog on the main window as it was when the menu
    // was opened, frame included; halves truncated.
    : TDialogue({ctx.dialogues, ctx.titre, ctx.fichier_aide}, sujet_aide, centre_sur(ctx.rect_main),
                parent, boutons_dialogue),
      ctx_(ctx), reglages_(reglages) {
    setWindowTitle(QStringLiteral("CONFIGURATION"));
    setFixedSize(largeur, hauteur);

    Bevel1 = cadre(this, 2, 45);
    Bevel2 = cadre(this, 50, 185);
    Bevel3 = cadre(this, 238, 45);

    const QFont lettres = police(QStringLiteral("Arial"), 11, true);
    QPalette noir = palette();
    noir.setColor(QPalette::ButtonText, Qt::black);
    noir.setColor(QPalette::WindowText, Qt::black);
    auto bouton = [&](int gauche, int haut, const QString& texte) {
        auto* b = new QPushButton(texte, this);
        b->setGeometry(gauche, haut, 230, 17);
        b->setFont(lettres);
        b->setPalette(noir);
        b->setAutoDefault(false);
        return b;
    };
    b1 = bouton(7, 6, QStringLiteral("Police de caractère  du bloc calendrier"));
    b2 = bouton(7, 25, QStringLiteral("Police de caractère du bloc-notes"));
    b3 = bouton(7, 54, QStringLiteral("Couleur du mois et de l'année"));
    b4 = bouton(7, 74, QStringLiteral("Couleur du jour de la semaine"));
    b5 = bouton(7, 94, QStringLiteral("Couleur du saint du jour"));
    b6 = bouton(7, 114, QStringLiteral("Couleur  \"Semaine n°\""));
    b7 = bouton(7, 134, QStringLiteral("Couleur des horaires de l'agenda"));
    b8 = bouton(7, 154, QStringLiteral("Couleur des actions de l'agenda"));
    b9 = bouton(7, 174, QStringLiteral("Couleur de l'action courante"));
    b10 = bouton(7, 194, QStringLiteral("Couleur du fond de la date"));
    b12 = bouton(7, 214, QStringLiteral("Couleur des aiguilles de l'horloge"));
    b11 = bouton(8, 244, QStringLiteral("Son de l'alarme de l'agenda"));

    c1 = new QCheckBox(QStringLiteral("Son de page dans le bloc-calendrier"), this);
    c1->setGeometry(8, 262, 230, 17);
    c1->setFont(lettres);
    c1->setPalette(noir);

    GroupBox1 = new QGroupBox(QStringLiteral("Configuration vidéo "), this);
    GroupBox1->setGeometry(0, 288, largeur, 53);
    cv1 = new QRadioButton(QStringLiteral("au moins 256 simultanément"), GroupBox1);
    cv1->setGeometry(10, 16, 229, 17);
    cv1->setFont(lettres);
    cv1->setPalette(noir);
    cv2 = new QRadioButton(QStringLiteral("32000 Simultanément et plus"), GroupBox1);
    cv2->setGeometry(10, 34, 231, 17);
    cv2->setFont(lettres);
    cv2->setPalette(noir);

    ok1 = new QPushButton(QStringLiteral("OK"), this);
    ok1->setGeometry(73, 352, 99, 47);
    ok1->setFont(lettres);
    ok1->setPalette(noir);
    ok1->setToolTip(QStringLiteral("Sortir"));
    ok1->setAutoDefault(false);

    // Tab order: the buttons from top to bottom, the check box, OK, then the video group.
    QWidget* ordre[] = {b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b12, b11, c1, ok1, cv1, cv2};
    for (std::size_t i = 0; i + 1 < std::size(ordre); ++i)
        setTabOrder(ordre[i], ordre[i + 1]);

    connect(b1, &QPushButton::clicked, this, [this] { gere([this] { choix_police(true); }); });
    connect(b2, &QPushButton::clicked, this, [this] { gere([this] { choix_police(false); }); });
    const std::pair<QPushButton*, CouleurReglee> couleurs[] = {
        {b3, CouleurReglee::mois},
        {b4, CouleurReglee::jour},
        {b5, CouleurReglee::saint},
        {b6, CouleurReglee::semaine},
        {b7, CouleurReglee::horaires},
        {b8, CouleurReglee::actions},
        {b9, CouleurReglee::action_courante},
        {b10, CouleurReglee::fond_date},
        {b12, CouleurReglee::aiguilles},
    };
    for (const auto& [b, champ] : couleurs)
        connect(b, &QPushButton::clicked, this,
                [this, champ = champ] { gere([this, champ] { choix_couleur(champ); }); });
    connect(b11, &QPushButton::clicked, this, [this] { gere([this] { b11Click(); }); });
    // clicked, not toggled: only the user's changes are saved, not FormActivate's.
    connect(c1, &QCheckBox::clicked, this, [this] { gere([this] { c1Click(); }); });
    connect(cv1, &QRadioButton::clicked, this, [this] { gere([this] { cv1Click(); }); });
    connect(cv2, &QRadioButton::clicked, this, [this] { gere([this] { cv1Click(); }); });
    connect(ok1, &QPushButton::clicked, this, &QDialog::accept);
}

void Tconfiguration::sauve() {
    ecrit_reglages(ctx_.repertoire, reglages_, signale_dans(ctx_.dialogues, this, ctx_.titre));
}

void Tconfiguration::FormActivate() {
    const QPixmap coche = image_ressource(reglages_.video() == 1 ? QStringLiteral("coche1")
                                                                 : QStringLiteral("coche2"));
    ok1->setIcon(QIcon(coche));
    if (!coche.isNull())
        ok1->setIconSize(coche.deviceIndependentSize().toSize());
    c1->setChecked(reglages_.son_page());
    if (reglages_.video() == 1)
        cv1->setChecked(true);
    else
        cv2->setChecked(true);
    b1->setFocus();
}

void Tconfiguration::choix_police(bool calendrier) {
    const PoliceReglee avant =
        calendrier ? reglages_.police_calendrier() : reglages_.police_bloc_notes();
    const PoliceReglee apres = depuis_choix(ctx_.dialogues.choisit_police(this, vers_choix(avant)));
    if (calendrier)
        reglages_.regle_police_calendrier(apres);
    else
        reglages_.regle_police_bloc_notes(apres);
    sauve();
}

void Tconfiguration::choix_couleur(CouleurReglee champ) {
    reglages_.regle_couleur(champ, ctx_.dialogues.choisit_couleur(this, reglages_.couleur(champ)));
    sauve();
}

void Tconfiguration::b11Click() {
    const QString choisi = ctx_.dialogues.choisit_fichier(
        this, depuis_cp1252(reglages_.son_alarme()), QStringLiteral("sons|*.wav"));
    // A cut or re-encoded path would name another file: keep the old sound and say why.
    const std::string octets = vers_cp1252(choisi);
    if (depuis_cp1252(octets) != choisi)
        ctx_.dialogues.erreur(this, titre_erreur,
                              QStringLiteral("Le chemin du fichier son contient des caractères "
                                             "non pris en charge : le son de l'alarme de "
                                             "l'agenda reste inchangé."));
    else if (!reglages_.regle_son_alarme(octets))
        ctx_.dialogues.erreur(this, titre_erreur,
                              QStringLiteral("Le chemin du fichier son dépasse %1 caractères : "
                                             "le son de l'alarme de l'agenda reste inchangé.")
                                  .arg(longueur_son));
    sauve();
}

void Tconfiguration::c1Click() {
    reglages_.regle_son_page(c1->isChecked());
    sauve();
}

void Tconfiguration::cv1Click() {
    reglages_.regle_video(cv1->isChecked() ? 1 : 2);
    sauve();
}

} // namespace quorvel
