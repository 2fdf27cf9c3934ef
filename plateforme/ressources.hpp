#pragma once
// Pictures and cursors compiled into the program (drawn at build time by the
// generator in resources/).
#include <QCursor>
#include <QPixmap>
#include <QString>

namespace quorvel {

// Device pixels per window pixel that the pictures are chosen for: the
// highest of the screens' (1 on an ordinary screen).
qreal rapport_ecran();

// A picture compiled into the program (see image_brute.hpp); null if the
// resource is missing or damaged. Above a ratio of 1, its high-density copy
// where there is one: twice the pixels, device pixel ratio 2, so it covers
// the same window pixels. At 1, the 1x picture, never touching the copy.
QPixmap pixmap_ressource(const QString& chemin, qreal rapport = 1);

// ":/images/<nom>.img" (or ":/images@2x/<nom>.img"), e.g. image_ressource("coche1").
inline QPixmap image_ressource(const QString& nom, qreal rapport = rapport_ecran()) {
    return pixmap_ressource(QStringLiteral(":/images/") + nom + QStringLiteral(".img"), rapport);
}

// The program's cursor numbers: 101 main_gauche, 102 main_droite, 103 main_haut.
enum NumeroCurseur {
    curseur_main_gauche = 101,
    curseur_main_droite = 102,
    curseur_main_haut = 103
};
QCursor curseur(int numero);

} // namespace quorvel
