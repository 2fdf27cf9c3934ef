// The raw picture format the program compiles in: a round trip keeps every
// pixel and shares the bytes where it can, and bytes that are not such a file
// give a null picture, never a read outside them.
#include "plateforme/image_brute.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace quorvel;

namespace {

QImage exemple(bool transparente) {
    QImage im(7, 5, transparente ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    im.fill(transparente ? Qt::transparent : Qt::white);
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            if ((x + y) % 2)
                im.setPixel(x, y, qRgba(10 * x, 20 * y, 200, transparente ? 128 : 255));
    return im;
}

} // namespace

TEST(ImageBrute, AllerRetourSansPerteEtSansCopieQuandLesOctetsSontAlignes) {
    for (bool transparente : {false, true}) {
        SCOPED_TRACE(transparente);
        const QImage source = exemple(transparente);
        const QByteArray octets = en_image_brute(source);
        ASSERT_EQ(octets.size(), entete_image_brute + 7 * 5 * 4);
        const auto* p = reinterpret_cast<const uchar*>(octets.constData());
        const QImage lue = image_brute(p, octets.size());
        ASSERT_FALSE(lue.isNull());
        EXPECT_EQ(lue.format(), transparente ? QImage::Format_ARGB32_Premultiplied
                                             : QImage::Format_RGB32);
        EXPECT_EQ(lue, source.convertToFormat(lue.format()));
        EXPECT_EQ(lue.constBits(), p + entete_image_brute);

        // Bytes that are not 4-byte aligned are copied, with the same pixels.
        std::vector<uchar> decale(size_t(octets.size()) + 1);
        std::memcpy(decale.data() + 1, p, size_t(octets.size()));
        const QImage copiee = image_brute(decale.data() + 1, octets.size());
        EXPECT_EQ(copiee, lue);
        EXPECT_NE(copiee.constBits(), decale.data() + 1 + entete_image_brute);

        // Bytes of its own (an unpacked resource): kept by the picture, which
        // takes a pixel ratio without a copy, and outlive the array they came in.
        QImage propre;
        {
            QByteArray unique(octets.constData(), octets.size());
            const uchar* pixels =
                reinterpret_cast<const uchar*>(unique.constData()) + entete_image_brute;
            propre = image_brute(std::move(unique));
            propre.setDevicePixelRatio(2);
            EXPECT_EQ(propre.constBits(), pixels);
        }
        EXPECT_EQ(propre, lue);
    }
}

TEST(ImageBrute, DesOctetsQuiNeSontPasUneImageDonnentUneImageNulle) {
    const QByteArray bonne = en_image_brute(exemple(false));
    const auto avec = [&](int position, const QByteArray& octets) {
        return QByteArray(bonne).replace(position, octets.size(), octets);
    };
    const std::pair<const char*, QByteArray> cas[] = {
        {"rien", QByteArray()},
        {"entête court", bonne.left(entete_image_brute - 1)},
        {"un pixel manquant", bonne.left(bonne.size() - 4)},
        {"octets en trop", bonne + QByteArray(4, '\0')},
        {"signature", avec(0, "X")},
        {"format", avec(12, QByteArray(1, char(QImage::Format_Indexed8)))},
        // So wide that width × height × 4 would overflow a 32-bit size.
        {"largeur énorme", avec(4, "\xff\xff\xff\x7f")},
        {"hauteur nulle", avec(8, QByteArray(4, '\0'))},
    };
    ASSERT_FALSE(image_brute(QByteArray(bonne)).isNull());
    // Both readers: over someone else's bytes and over bytes of its own.
    for (const auto& [quoi, octets] : cas) {
        EXPECT_TRUE(
            image_brute(reinterpret_cast<const uchar*>(octets.constData()), octets.size()).isNull())
            << quoi;
        EXPECT_TRUE(image_brute(QByteArray(octets)).isNull()) << quoi;
    }
}
