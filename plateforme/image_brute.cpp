#include "image_brute.hpp"

#include <QtEndian>
#include <cstring>
#include <cstdint>

namespace quorvel {

namespace {

constexpr char signature[4] = {'Q', 'I', 'M', '1'};
constexpr quint32 cote_max = 16384;

} // namespace

QByteArray en_image_brute(const QImage& image) {
    const QImage im = image.convertToFormat(image.hasAlphaChannel()
                                                ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
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
    const uchar* pixels = octets + entete_image_brute;
    const QImage partagee(pixels, int(largeur), int(hauteur), ligne, QImage::Format(format));
    if (reinterpret_cast<std::uintptr_t>(pixels) % 4 != 0)
        return partagee.copy();
    return partagee;
}

} // namespace quorvel
