#include "ecran.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quorvel {

void centre_sur_ecran(QWidget& fenetre) {
    const QScreen* ecran = fenetre.screen();
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    const QRect r = ecran->geometry();
    fenetre.move(r.x() + (r.width() - fenetre.width()) / 2,
                 r.y() + (r.height() - fenetre.height()) / 2);
}

QFont police(const QString& famille, int pixels, bool gras, bool italique) {
    QFont f(famille);
    f.setPixelSize(pixels);
    f.setBold(gras);
    f.setItalic(italique);
    return f;
}

} // namespace quorvel
