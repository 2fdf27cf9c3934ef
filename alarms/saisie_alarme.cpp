#include "alarms/saisie_alarme.hpp"

#include "alarms/alarme.hpp"
#include "alarms/planificateur.hpp"
#include "calendar/contexte.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/saisie_cp1252.hpp"
#include "settings/reglages.hpp"
#include "widgets/digital.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <algorithm>

namespace quorvel {

namespace {

constexpr int largeur_saisie = 316;
constexpr int hauteur_saisie = 399;
constexpr int sujet_aide_alarmes = 7;

const QString titre_erreur = QStringLiteral("Erreur");

// Stands for the platform's bold system font in the edits and the sound button:
// narrow enough for a date in its 83-pixel field. Every attribute is set, so
// nothing is inherited from the group's italic caption font.
QFont police_systeme() {
    return police(QStringLiteral("Arial"), 13, true, false);
}

std::string heure_actuelle(const Horloge& h) {
    const Instant t = h.maintenant();
    return nombre_zeros(t.heure, 2) + ":" + nombre_zeros(t.minute, 2);
}

} // namespace

std::string texte_alarme_depuis(const QString& texte) {
    std::string octets = texte_pour_fichier(texte);
    if (octets.size() > longueur_texte) {
        octets.resize(longueur_texte);
        if (octets.back() == '\r')
            octets.pop_back();
    }
    return octets;
}

Tsaisie_alarme::Tsaisie_alarme(Contexte& ctx, const Reglages& reglages,
                               EnregistrementAlarme& courante, QWidget* parent)
    : TDialogue({ctx.dialogues, ctx.titre, ctx.fichier_aide}, sujet_aide_alarmes,
                centre_sur(ctx.rect_main), parent, boutons_dialogue),
      GroupBox3(new QGroupBox(QStringLiteral("Heure"), this)), champ1(new QLineEdit(GroupBox3)),
      HORLOGE_DIGITAL1(new THORLOGE_DIGITAL(GroupBox3, &ctx.horloge)),
      GroupBox2(new QGroupBox(QStringLiteral("Texte"), this)),
      champ2(new QPlainTextEdit(GroupBox2)),
      champ3(new QCheckBox(QStringLiteral("Afficher ce texte lors de l'alarme"), GroupBox2)),
      GroupBox1(new QGroupBox(QStringLiteral("Fréquence"), this)),
      champ4(new QRadioButton(QStringLiteral("Répète"), GroupBox1)),
      champ5(new QComboBox(GroupBox1)), champ6(new QRadioButton(QStringLiteral("Date"), GroupBox1)),
      champ7(new QLineEdit(GroupBox1)), GroupBox4(new QGroupBox(QStringLiteral("Son"), this)),
      champ8(new QPushButton(GroupBox4)), BitBtn2(new QPushButton(GroupBox4)),
      ok1(new QPushButton(QStringLiteral("OK"), this)), ctx_(ctx), reglages_(reglages),
      courante_(courante) {
    setObjectName(QStringLiteral("saisie_alarme"));
    setWindowTitle(QStringLiteral("SAISIE DE L'ALARME"));
    setFixedSize(largeur_saisie, hauteur_saisie);

    const QFont groupe = police(QStringLiteral("Times New Roman"), 16, true, true);
    const QFont choix = police(QStringLiteral("Times New Roman"), 16, true);
    const QFont systeme = police_systeme();

    GroupBox3->setGeometry(10, 6, 295, 59);
    GroupBox2->setGeometry(10, 66, 295, 107);
    GroupBox1->setGeometry(10, 178, 295, 89);
    GroupBox4->setGeometry(10, 272, 295, 53);
    for (QGroupBox* g : {GroupBox3, GroupBox2, GroupBox1, GroupBox4})
        g->setFont(groupe);

    champ1->setObjectName(QStringLiteral("champ1"));
    champ1->setGeometry(8, 24, 57, 25);
    champ1->setFont(systeme);
    champ1->setMaxLength(static_cast<int>(longueur_heure));
    refuse_hors_cp1252(*champ1);

    HORLOGE_DIGITAL1->setObjectName(QStringLiteral("HORLOGE_DIGITAL1"));
    HORLOGE_DIGITAL1->setGeometry(72, 10, 217, 47);
    HORLOGE_DIGITAL1->setFont(police(QStringLiteral("Arial"), 37, true));
    HORLOGE_DIGITAL1->setStyleSheet(QStringLiteral("color: red;"));

    champ2->setObjectName(QStringLiteral("champ2"));
    champ2->setGeometry(8, 18, 279, 61);
    champ2->setFont(systeme);
    champ2->setTabChangesFocus(true);
    connect(champ2, &QPlainTextEdit::textChanged, this, &Tsaisie_alarme::limite_texte);

    champ3->setObjectName(QStringLiteral("champ3"));
    champ3->setGeometry(8, 84, 275, 17);
    champ3->setFont(choix);

    champ4->setObjectName(QStringLiteral("champ4"));
    champ4->setGeometry(8, 26, 73, 17);
    champ4->setFont(choix);
    champ5->setObjectName(QStringLiteral("champ5"));
    champ5->setGeometry(84, 26, 203, 24);
    champ5->setFont(systeme);
    champ5->addItems({QStringLiteral("Tous les jours"), QStringLiteral("Tous les Dimanche"),
                      QStringLiteral("Tous les Lundi"), QStringLiteral("Tous les Mardi"),
                      QStringLiteral("Tous les Mercredi"), QStringLiteral("Tous les Jeudi"),
                      QStringLiteral("Tous les Vendredi"), QStringLiteral("Tous les Samedi")});
    champ5->setCurrentIndex(0);
    champ6->setObjectName(QStringLiteral("champ6"));
    champ6->setGeometry(8, 58, 63, 17);
    champ6->setFont(choix);
    champ7->setObjectName(QStringLiteral("champ7"));
    champ7->setGeometry(86, 54, 83, 24);
    champ7->setFont(systeme);
    champ7->setMaxLength(static_cast<int>(longueur_date));
    refuse_hors_cp1252(*champ7);
    connect(champ4, &QRadioButton::clicked, this, &Tsaisie_alarme::champ4Click);
    connect(champ6, &QRadioButton::clicked, this, &Tsaisie_alarme::champ4Click);

    champ8->setObjectName(QStringLiteral("champ8"));
    champ8->setGeometry(8, 22, 251, 23);
    champ8->setFont(systeme);
    champ8->setAutoDefault(false);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(264, 22, 25, 23);
    BitBtn2->setIcon(QIcon(image_ressource(QStringLiteral("haut_parleur"))));
    BitBtn2->setIconSize(QSize(16, 15));
    BitBtn2->setToolTip(QStringLiteral("Jouer le son"));
    BitBtn2->setAutoDefault(false);
    connect(champ8, &QPushButton::clicked, this, [this] { gere([this] { champ8Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { gere([this] { BitBtn2Click(); }); });

    ok1->setObjectName(QStringLiteral("ok1"));
    ok1->setGeometry(114, 338, 89, 47);
    ok1->setFont(systeme);
    ok1->setToolTip(QStringLiteral("Sortir"));
    ok1->setDefault(true);
    connect(ok1, &QPushButton::clicked, this, [this] { gere([this] { ok1Click(); }); });

    champ1->installEventFilter(this);
    champ7->installEventFilter(this);

    setTabOrder(champ1, champ2);
    setTabOrder(champ2, champ3);
    setTabOrder(champ3, champ4);
    setTabOrder(champ4, champ5);
    setTabOrder(champ5, champ6);
    setTabOrder(champ6, champ7);
    setTabOrder(champ7, champ8);
    setTabOrder(champ8, BitBtn2);
    setTabOrder(BitBtn2, ok1);
}

void Tsaisie_alarme::FormActivate() {
    const QPixmap coche = image_ressource(reglages_.video() == 1 ? QStringLiteral("coche1")
                                                                 : QStringLiteral("coche2"));
    ok1->setIcon(QIcon(coche));
    ok1->setIconSize(coche.isNull() ? QSize(25, 25) : coche.deviceIndependentSize().toSize());
    donnee_champ();
}

void Tsaisie_alarme::donnee_champ() {
    champ1->setText(depuis_cp1252(courante_.heure()));
    champ2->setPlainText(texte_pour_saisie(courante_.texte()));
    // A repetition this program never writes shows as no choice and is kept
    // unless the user picks one.
    const std::int16_t f = courante_.frequence();
    champ5->setCurrentIndex(f >= 0 && f < champ5->count() ? f : -1);
    champ7->setText(depuis_cp1252(courante_.date()));
    champ8->setText(depuis_cp1252(courante_.son()));
    champ3->setChecked(courante_.affiche_texte());
    // The two radio buttons are exclusive: checking one clears the other.
    (courante_.repete() ? champ4 : champ6)->setChecked(true);
    etat_frequence();
    champ1->setFocus();
}

void Tsaisie_alarme::champ_donnee() {
    courante_.regle_heure(vers_cp1252(champ1->text().left(static_cast<int>(longueur_heure))));
    courante_.regle_texte(texte_alarme_depuis(texte_brut(*champ2->document())));
    if (champ5->currentIndex() >= 0)
        courante_.regle_frequence(static_cast<std::int16_t>(champ5->currentIndex()));
    courante_.regle_date(vers_cp1252(champ7->text().left(static_cast<int>(longueur_date))));
    courante_.regle_affiche_texte(champ3->isChecked());
    courante_.regle_repete(champ4->isChecked());
}

void Tsaisie_alarme::etat_frequence() {
    const bool repete = champ4->isChecked();
    if (!repete)
        champ6->setChecked(true);
    champ5->setEnabled(repete);
    champ7->setEnabled(!repete);
}

void Tsaisie_alarme::champ4Click() {
    etat_frequence();
}

bool Tsaisie_alarme::champ1Exit() {
    courante_.regle_heure(vers_cp1252(champ1->text().left(static_cast<int>(longueur_heure))));
    if (heure_valide(courante_.heure()))
        return true;
    ctx_.dialogues.erreur(this, titre_erreur,
                          QStringLiteral("Heure illégale, respectez le format => HH:MM"));
    const std::string maintenant = heure_actuelle(ctx_.horloge);
    courante_.regle_heure(maintenant);
    champ1->setText(QString::fromStdString(maintenant));
    champ1->setFocus();
    return false;
}

bool Tsaisie_alarme::champ7Exit() {
    courante_.regle_date(vers_cp1252(champ7->text().left(static_cast<int>(longueur_date))));
    if (date_valide(courante_.date()))
        return true;
    ctx_.dialogues.erreur(this, titre_erreur,
                          QStringLiteral("date illégale, respectez le format => JJ/MM/AAAA"));
    const std::string aujourdhui = ctx_.dates.texte_date(3);
    courante_.regle_date(aujourdhui);
    champ7->setText(QString::fromStdString(aujourdhui));
    champ7->setFocus();
    return false;
}

void Tsaisie_alarme::champ8Click() {
    // The chooser starts on the file the alarm plays; cancelling gives it back unchanged.
    const QString initial = QString::fromStdString(chemin_son(courante_, ctx_.repertoire));
    const QString choisi =
        ctx_.dialogues.choisit_fichier(this, initial, QStringLiteral("sons|*.wav"));
    if (choisi == initial || choisi.isEmpty())
        return;

    std::string octets = vers_cp1252(choisi);
    if (depuis_cp1252(octets) != choisi) {
        ctx_.dialogues.erreur(
            this, titre_erreur,
            QStringLiteral("Le chemin de ce son contient des caractères que "
                           "l'alarme ne peut pas garder : le son n'est pas changé."));
        return;
    }
    // A sound of the data directory can be kept by its name alone when its full path is too long.
    const std::string repertoire = vers_cp1252(QString::fromStdString(ctx_.repertoire));
    if (octets.size() > longueur_son && octets.rfind(repertoire, 0) == 0)
        octets.erase(0, repertoire.size());
    if (!courante_.regle_son(octets)) {
        ctx_.dialogues.erreur(this, titre_erreur,
                              QStringLiteral("Le chemin de ce son dépasse 60 caractères : le son "
                                             "n'est pas changé."));
        return;
    }
    champ8->setText(depuis_cp1252(courante_.son()));
}

void Tsaisie_alarme::BitBtn2Click() {
    joue_son(ctx_.son, chemin_son(courante_, ctx_.repertoire));
}

void Tsaisie_alarme::ok1Click() {
    // Enter reaches "OK" without leaving the fields: check them here too, so a
    // time or a date that can never ring is not stored.
    verification_en_cours_ = true;
    const bool valide = champ1Exit() && (!champ6->isChecked() || champ7Exit());
    verification_en_cours_ = false;
    if (!valide)
        return;
    const EnregistrementAlarme avant = courante_;
    champ_donnee();
    if (alarme_passee(courante_, ctx_.horloge.maintenant()) &&
        !ctx_.dialogues.confirme(this, QStringLiteral("Confirmation"),
                                 QStringLiteral("Cette alarme ne sonnera pas\u00A0: sa date et "
                                                "son heure sont passées. Enregistrer quand "
                                                "même\u00A0?"))) {
        courante_ = avant; // back to the dialog, the fields as typed
        return;
    }
    accept();
}

void Tsaisie_alarme::limite_texte() {
    // Whatever brought it in (keys, paste, drop, input method), a character the
    // file cannot store is taken out again, and the text is cut to 200
    // characters, a line break counting two.
    const QString texte = texte_brut(*champ2->document());
    QString admis = filtre_cp1252(texte);
    if (admis.size() < texte.size())
        QApplication::beep();
    const QString coupe = texte_pour_saisie(texte_alarme_depuis(admis));
    if (coupe.size() < admis.size())
        admis = coupe;
    else if (admis.size() == texte.size())
        return;
    const int curseur =
        static_cast<int>(filtre_cp1252(texte.left(champ2->textCursor().position())).size());
    const QSignalBlocker bloque(champ2);
    champ2->setPlainText(admis);
    QTextCursor c = champ2->textCursor();
    c.setPosition(std::min(curseur, static_cast<int>(admis.size())));
    champ2->setTextCursor(c);
}

bool Tsaisie_alarme::eventFilter(QObject* objet, QEvent* e) {
    if ((objet == champ1 || objet == champ7) && e->type() == QEvent::FocusOut) {
        // Only leaving the field for another control of this dialog checks it:
        // a message box or another window taking the focus does not.
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(e)->reason();
        if (!verification_en_cours_ && isVisible() && raison != Qt::ActiveWindowFocusReason &&
            raison != Qt::PopupFocusReason) {
            verification_en_cours_ = true;
            gere([&] {
                if (objet == champ1)
                    champ1Exit();
                else
                    champ7Exit();
            });
            verification_en_cours_ = false;
        }
    }
    return QDialog::eventFilter(objet, e);
}

} // namespace quorvel
