#include "ressources.hpp"

namespace quorvel {

QCursor curseur(int numero) {
    // Hot spots: the tip of the index finger.
    switch (numero) {
    case curseur_main_gauche:
        return QCursor(QPixmap(QStringLiteral(":/curseurs/main_gauche.png")), 0, 11);
    case curseur_main_droite:
        return QCursor(QPixmap(QStringLiteral(":/curseurs/main_droite.png")), 31, 11);
    case curseur_main_haut:
        return QCursor(QPixmap(QStringLiteral(":/curseurs/main_haut.png")), 12, 2);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace quorvel
