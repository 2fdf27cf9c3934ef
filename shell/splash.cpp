#include "splash.hpp"

#include "menu/a_propos.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/ressources.hpp"
#include "widgets/label3d.hpp"

#include <QLabel>

namespace quorvel {

TSplashForm::TSplashForm(const QString& titre, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), titre_(titre) {
    setFixedSize(324, 200);
    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 324, 200);
    Image1->setPixmap(image_ressource(QStringLiteral("splash")));

    const QFont grand = police(QStringLiteral("Times New Roman"), 56, true, true);
    logiciel = new TLabel3D(this);
    logiciel->setGeometry(0, 104, 321, 63);
    logiciel->setFont(grand);
    logiciel->setAlignment(Qt::AlignCenter);
    logiciel->setShadowColor(Qt::black);
    QPalette blanc = logiciel->palette();
    blanc.setColor(QPalette::WindowText, Qt::white);
    logiciel->setPalette(blanc);

    const QFont petit = police(QStringLiteral("Times New Roman"), 19, true, true);
    Label3D2 = new TLabel3D(QStringLiteral("Chargement en cours ..."), this);
    Label3D2->setGeometry(67, 172, 189, 24);
    Label3D2->setFont(petit);
    Label3D2->setShadowColor(Qt::black);
    QPalette rouge = Label3D2->palette();
    rouge.setColor(QPalette::WindowText, Qt::red);
    Label3D2->setPalette(rouge);

    centre_sur_ecran(*this);
}

void TSplashForm::showEvent(QShowEvent* e) {
    logiciel->setText(nom_logiciel(titre_.toStdString()));
    QWidget::showEvent(e);
}

} // namespace quorvel
