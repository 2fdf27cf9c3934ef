#include "menu/menu_general.hpp"

#include "calendar/contexte.hpp"
#include "menu/a_propos.hpp"
#include "plateforme/ressources.hpp"
#include "settings/reglages.hpp"
#include "widgets/logo.hpp"

#include <QLabel>
#include <QMouseEvent>
#include <array>

namespace quorvel {

namespace {
constexpr int largeur = 132;
constexpr int hauteur = 232;
constexpr int sujet_aide = 1;
// From the main window's top-left corner as last recorded.
const QPoint decalage(168, 210);

struct Entree {
    int haut, largeur, hauteur;
    const char* texte;
    const char* bulle;
};
// One label over each oval of the board.
const std::array<Entree, 6> entrees = {{
    {14, 132, 19, "Saint", "Modification des saints"},
    {52, 131, 16, "Alarme", "Modification et création d'alarmes"},
    {88, 131, 19, "Configuration", "Accès au panneau de configuration"},
    {124, 131, 16, "Aide", "Consulter la documentation"},
    {160, 131, 16, "A propos", "Informations diverses sur le logiciel"},
    {196, 131, 16, "Annuler", "Quitter ce menu"},
}};
} // namespace

Tmenu_general::Tmenu_general(Contexte& ctx, const Reglages& reglages, QDialog& saints,
                             QDialog& alarmes, QDialog& configuration, Ta_propos& a_propos,
                             QWidget* parent)
    : TDialogue(
          {ctx.dialogues, ctx.titre, ctx.fichier_aide}, sujet_aide,
          [&ctx](const QSize&) {
              return QPoint(ctx.rect_main.gauche, ctx.rect_main.haut) + decalage;
          },
          parent, Qt::Dialog | Qt::FramelessWindowHint),
      reglages_(reglages), saints_(saints), alarmes_(alarmes), configuration_(configuration),
      a_propos_(a_propos) {
    setFixedSize(largeur, hauteur);

    fond1 = new QLabel(this);
    fond1->setGeometry(0, 0, largeur, hauteur);
    fond2 = new QLabel(this);
    fond2->setGeometry(0, 0, largeur, hauteur);
    fond2->hide();

    const QFont lettres = police(QStringLiteral("Times New Roman"), 15, true);
    const QCursor main_haut = curseur(curseur_main_haut);
    std::array<QLabel**, 6> labels = {&m1, &m2, &m3, &m4, &m5, &m6};
    for (std::size_t i = 0; i < entrees.size(); ++i) {
        const Entree& e = entrees[i];
        auto* l = new QLabel(QString::fromUtf8(e.texte), this);
        l->setGeometry(0, e.haut, e.largeur, e.hauteur);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(lettres);
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        l->setPalette(palette);
        l->setToolTip(QString::fromUtf8(e.bulle));
        l->setCursor(main_haut);
        l->installEventFilter(this);
        *labels[i] = l;
    }
}

void Tmenu_general::FormActivate() {
    const bool mode1 = reglages_.video() == 1;
    fond1->setVisible(mode1);
    fond2->setVisible(!mode1);
    // Each board is decoded the first time it is shown, not at start-up.
    QLabel* fond = mode1 ? fond1 : fond2;
    if (fond->pixmap().isNull())
        fond->setPixmap(image_ressource(mode1 ? QStringLiteral("menu1") : QStringLiteral("menu2")));
}

void Tmenu_general::m1Click() {
    saints_.exec();
}

void Tmenu_general::m2Click() {
    alarmes_.exec();
}

void Tmenu_general::m3Click() {
    configuration_.exec();
}

void Tmenu_general::m4Click() {
    aide();
}

void Tmenu_general::m5Click() {
    // The logo runs only while the box is shown.
    a_propos_.LOGO1->demarre_logo();
    struct Arret {
        TLOGO* logo;
        ~Arret() { logo->arrete_logo(); }
    } arret{a_propos_.LOGO1};
    a_propos_.exec();
}

void Tmenu_general::m6Click() {
    accept();
}

bool Tmenu_general::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::MouseButtonRelease) {
        auto* souris = static_cast<QMouseEvent*>(evenement);
        auto* label = qobject_cast<QLabel*>(objet);
        if (label && souris->button() == Qt::LeftButton &&
            label->rect().contains(souris->position().toPoint())) {
            void (Tmenu_general::*action)() = nullptr;
            if (label == m1)
                action = &Tmenu_general::m1Click;
            else if (label == m2)
                action = &Tmenu_general::m2Click;
            else if (label == m3)
                action = &Tmenu_general::m3Click;
            else if (label == m4)
                action = &Tmenu_general::m4Click;
            else if (label == m5)
                action = &Tmenu_general::m5Click;
            else if (label == m6)
                action = &Tmenu_general::m6Click;
            if (action) {
                gere([&] { (this->*action)(); });
                return true;
            }
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

} // namespace quorvel
