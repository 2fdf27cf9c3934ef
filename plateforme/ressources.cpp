#include "ressources.hpp"

#include "image_brute.hpp"

#include <QPixmapCache>
#include <QResource>

namespace quorvel {

QPixmap pixmap_ressource(const QString& chemin) {
    // Kept in the pixmap cache: a picture used by several windows is made once.
    QPixmap image;
    if (QPixmapCache::find(chemin, &image))
        return image;
    const QResource r(chemin);
    if (r.compressionAlgorithm() == QResource::NoCompression) {
        // Painted straight from the program's own read-only bytes.
        image = QPixmap::fromImage(image_brute(r.data(), r.size()));
    } else {
        const QByteArray octets = r.uncompressedData();
        image = QPixmap::fromImage(
            image_brute(reinterpret_cast<const uchar*>(octets.constData()), octets.size()).copy());
    }
    if (!image.isNull())
        QPixmapCache::insert(chemin, image);
    return image;
}

QCursor curseur(int numero) {
    // Hot spots: the tip of the index finger.
    switch (numero) {
    case curseur_main_gauche:
        return QCursor(pixmap_ressource(QStringLiteral(":/curseurs/main_gauche.img")), 0, 11);
    case curseur_main_droite:
        return QCursor(pixmap_ressource(QStringLiteral(":/curseurs/main_droite.img")), 31, 11);
    case curseur_main_haut:
        return QCursor(pixmap_ressource(QStringLiteral(":/curseurs/main_haut.img")), 12, 2);
    default: return QCursor(Qt::ArrowCursor);
    }
}

} // namespace quorvel
