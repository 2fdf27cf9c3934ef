#include "splash.hpp"

#include "menu/a_propos.hpp"
#include "plateforme/ressources.hpp"
#include "widgets/label3d.hpp"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace quorvel {

TSplashForm::TSplashForm(const QString& titre, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), titre_(titre) {
    setFixedSize(324, 200);
    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 324, 200);
    Image1->setPixmap(image_ressource(QStringLiteral("splash")));

    QFont grand(QStringLiteral("Times New Roman"));
    grand.setPixelSize(56);
    grand.setBold(true);
    grand.setItalic(true);
    logiciel = new TLabel3D(this);
    logiciel->setGeometry(0, 104, 321, 63);
    logiciel->setFont(grand);
    logiciel->setAlignment(Qt::AlignCenter);
    logiciel->setShadowColor(Qt::black);
    QPalette blanc = logiciel->palette();
    blanc.setColor(QPalette::WindowText, Qt::white);
    logiciel->setPalette(blanc);

    QFont petit(QStringLiteral("Times New Roman"));
    petit.setPixelSize(19);
    petit.setBold(true);
    petit.setItalic(true);
    Label3D2 = new TLabel3D(QStringLiteral("Chargement en cours ..."), this);
    Label3D2->setGeometry(67, 172, 189, 24);
    Label3D2->setFont(petit);
    Label3D2->setShadowColor(Qt::black);
    QPalette rouge = Label3D2->palette();
    rouge.setColor(QPalette::WindowText, Qt::red);
    Label3D2->setPalette(rouge);

    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    move(ecran.center() - rect().center());
}

void TSplashForm::showEvent(QShowEvent* e) {
    logiciel->setText(nom_logiciel(titre_.toStdString()));
    QWidget::showEvent(e);
}

} // namespace quorvel
