#pragma once
// Pictures and cursors compiled into the program (drawn at build time by the
// generator in resources/).
#include <QCursor>
#include <QPixmap>
#include <QString>

namespace quorvel {

// A picture compiled into the program (see image_brute.hpp); null if the
// resource is missing or damaged.
QPixmap pixmap_ressource(const QString& chemin);

// ":/images/<nom>.img", e.g. image_ressource("coche1").
inline QPixmap image_ressource(const QString& nom) {
    return pixmap_ressource(QStringLiteral(":/images/") + nom + QStringLiteral(".img"));
}

// The program's cursor numbers: 101 main_gauche, 102 main_droite, 103 main_haut.
enum NumeroCurseur { curseur_main_gauche = 101, curseur_main_droite = 102, curseur_main_haut = 103 };
QCursor curseur(int numero);

} // namespace quorvel
