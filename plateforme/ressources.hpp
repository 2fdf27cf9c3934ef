#pragma once
// Pictures and cursors compiled into the program (drawn at build time by the
// generator in resources/).
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace quorvel {

// A PNG compiled into the program, read by Qt's own PNG reader only: letting
// Qt guess the format would load every image plugin of the system first.
QImage png_image(const QString& chemin);
QPixmap png_ressource(const QString& chemin);

// ":/images/<nom>.png", e.g. image_ressource("coche1").
inline QPixmap image_ressource(const QString& nom) {
    return png_ressource(QStringLiteral(":/images/") + nom + QStringLiteral(".png"));
}

// The program's cursor numbers: 101 main_gauche, 102 main_droite, 103 main_haut.
enum NumeroCurseur { curseur_main_gauche = 101, curseur_main_droite = 102, curseur_main_haut = 103 };
QCursor curseur(int numero);

} // namespace quorvel
