#include "menu/a_propos.hpp"

#include "calendar/contexte.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/version.hpp"
#include "widgets/label3d.hpp"
#include "widgets/logo.hpp"

#include <QEvent>
#include <QFrame>
#include <QLabel>

namespace quorvel {

namespace {
constexpr int largeur = 324;
constexpr int hauteur = 215;
// " V2.32": a blank, a V and the version number.
constexpr int longueur_version = sizeof(" V" QUORVEL_VERSION) - 1;
} // namespace

QString nom_logiciel(const std::string& titre) {
    const QString t = QString::fromStdString(titre);
    return t.size() > longueur_version ? t.left(t.size() - longueur_version) : QString();
}

Ta_propos::Ta_propos(Contexte& ctx, QWidget* parent)
    : TDialogue({ctx.dialogues, ctx.titre, ctx.fichier_aide}, 0, {}, parent,
                Qt::Dialog | Qt::FramelessWindowHint),
      ctx_(ctx) {
    setWindowTitle(QStringLiteral("A propos d'ORBE-LIN"));
    setFixedSize(largeur, hauteur);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, largeur, hauteur);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);

    Image1 = new QLabel(Panel1);
    Image1->setGeometry(1, 1, largeur - 2, hauteur - 2);

    LOGO1 = new TLOGO(Panel1);
    LOGO1->setGeometry(12, 4, 100, 100);

    logiciel = new TLabel3D(Panel1);
    logiciel->setGeometry(1, 94, 321, 66);
    logiciel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const QFont lettres = police(QStringLiteral("Times New Roman"), 59, true, true);
    logiciel->setFont(lettres);
    QPalette palette = logiciel->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    logiciel->setPalette(palette);
    logiciel->setShadowColor(Qt::black);

    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(LOGO1),
                       static_cast<QWidget*>(logiciel), static_cast<QWidget*>(Panel1)})
        w->installEventFilter(this);
}

void Ta_propos::FormShow() {
    if (Image1->pixmap().isNull())
        Image1->setPixmap(image_ressource(QStringLiteral("a_propos")));
    logiciel->setText(nom_logiciel(ctx_.titre));
    TDialogue::FormShow(); // centred on the screen
}

bool Ta_propos::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(objet, evenement);
}

} // namespace quorvel
