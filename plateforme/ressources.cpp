#include "ressources.hpp"

#include <QImageReader>
#include <QPixmapCache>

namespace quorvel {

QImage png_image(const QString& chemin) {
    QImageReader lecteur(chemin, "png");
    lecteur.setAutoDetectImageFormat(false);
    return lecteur.read();
}

QPixmap png_ressource(const QString& chemin) {
    // Kept in the pixmap cache, so a picture used by several windows is decoded once.
    QPixmap image;
    if (QPixmapCache::find(chemin, &image))
        return image;
    image = QPixmap::fromImage(png_image(chemin));
    if (!image.isNull())
        QPixmapCache::insert(chemin, image);
    return image;
}

QCursor curseur(int numero) {
    // Hot spots: the tip of the index finger.
    switch (numero) {
    case curseur_main_gauche:
        return QCursor(png_ressource(QStringLiteral(":/curseurs/main_gauche.png")), 0, 11);
    case curseur_main_droite:
        return QCursor(png_ressource(QStringLiteral(":/curseurs/main_droite.png")), 31, 11);
    case curseur_main_haut:
        return QCursor(png_ressource(QStringLiteral(":/curseurs/main_haut.png")), 12, 2);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace quorvel
