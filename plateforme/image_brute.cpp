#include "image_brute.hpp"

#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <optional>

namespace quorvel {

namespace {

constexpr char signature[4] = {'Q', 'I', 'M', '1'};
constexpr quint32 cote_max = 16384;

struct Entete {
    int largeur, hauteur;
    QImage::Format format;
    qsizetype ligne;
};

std::optional<Entete> lit_entete(const uchar* octets, qsizetype taille) {
    if (!octets || taille < entete_image_brute || std::memcmp(octets, signature, 4) != 0)
        return {};
    const quint32 largeur = qFromLittleEndian<quint32>(octets + 4);
    const quint32 hauteur = qFromLittleEndian<quint32>(octets + 8);
    const quint32 format = qFromLittleEndian<quint32>(octets + 12);
    if (largeur == 0 || hauteur == 0 || largeur > cote_max || hauteur > cote_max ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return {};
    const qsizetype ligne = qsizetype(largeur) * 4;
    if (taille != entete_image_brute + ligne * qsizetype(hauteur))
        return {};
    return Entete{int(largeur), int(hauteur), QImage::Format(format), ligne};
}

// QImage wants 32-bit pixels on 4-byte boundaries.
bool aligne(const uchar* pixels) {
    return reinterpret_cast<std::uintptr_t>(pixels) % 4 == 0;
}

} // namespace

QByteArray en_image_brute(const QImage& image) {
    const QImage im = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const qsizetype ligne = qsizetype(im.width()) * 4;
    QByteArray octets(entete_image_brute + ligne * im.height(), Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(octets.data());
    std::memcpy(p, signature, 4);
    qToLittleEndian<quint32>(quint32(im.width()), p + 4);
    qToLittleEndian<quint32>(quint32(im.height()), p + 8);
    qToLittleEndian<quint32>(quint32(im.format()), p + 12);
    for (int y = 0; y < im.height(); ++y)
        std::memcpy(p + entete_image_brute + y * ligne, im.constScanLine(y), size_t(ligne));
    return octets;
}

QImage image_brute(const uchar* octets, qsizetype taille) {
    const auto e = lit_entete(octets, taille);
    if (!e)
        return {};
    const uchar* pixels = octets + entete_image_brute;
    const QImage partagee(pixels, e->largeur, e->hauteur, e->ligne, e->format);
    return aligne(pixels) ? partagee : partagee.copy();
}

QImage image_brute(QByteArray octets) {
    const auto e = lit_entete(reinterpret_cast<const uchar*>(octets.constData()), octets.size());
    if (!e)
        return {};
    // data() makes the bytes the array's own when they were someone else's.
    uchar* pixels = reinterpret_cast<uchar*>(octets.data()) + entete_image_brute;
    if (!aligne(pixels))
        return QImage(pixels, e->largeur, e->hauteur, e->ligne, e->format).copy();
    auto* gardees = new QByteArray(std::move(octets));
    return QImage(
        pixels, e->largeur, e->hauteur, e->ligne, e->format,
        [](void* o) { delete static_cast<QByteArray*>(o); }, gardees);
}

} // namespace quorvel
