#include "ressources.hpp"

#include "image_brute.hpp"

#include <QGuiApplication>
#include <QPixmapCache>
#include <QResource>

// The high-density copies, a resource file of their own that programs linking
// resources/ carry (resources/images_doubles.cpp); weak, so that the others
// still link.
extern "C" [[gnu::weak]] const unsigned char quorvel_images_doubles[];

namespace quorvel {

namespace {

// Registered at the first high-density request: an ordinary screen never
// reads a byte of them.
bool copies_doubles() {
    static const bool enregistrees =
        quorvel_images_doubles && QResource::registerResource(quorvel_images_doubles);
    return enregistrees;
}

// Kept in the pixmap cache: a picture used by several windows is made once.
QPixmap charge(const QString& chemin, int rapport) {
    QPixmap image;
    if (QPixmapCache::find(chemin, &image))
        return image;
    const QResource r(chemin);
    if (rapport == 1 && r.compressionAlgorithm() == QResource::NoCompression) {
        // Painted straight from the program's own read-only bytes.
        image = QPixmap::fromImage(image_brute(r.data(), r.size()));
    } else {
        // Bytes of its own: the ratio is set without another copy.
        QImage im = image_brute(r.uncompressedData());
        im.setDevicePixelRatio(rapport);
        image = QPixmap::fromImage(std::move(im));
    }
    if (!image.isNull())
        QPixmapCache::insert(chemin, image);
    return image;
}

} // namespace

qreal rapport_ecran() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1;
}

QPixmap pixmap_ressource(const QString& chemin, qreal rapport) {
    if (rapport > 1 && copies_doubles()) {
        // ":/images/fond1.img" -> ":/images@2x/fond1.img"
        const qsizetype barre = chemin.lastIndexOf(QLatin1Char('/'));
        const QPixmap double_densite =
            charge(chemin.left(barre) + QStringLiteral("@2x") + chemin.mid(barre), 2);
        if (!double_densite.isNull())
            return double_densite;
    }
    return charge(chemin, 1);
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
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

} // namespace quorvel
