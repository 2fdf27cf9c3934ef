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
    // Both readers: over someone else's bytes and over bytes of its own.
    const auto lit = [](const QByteArray& o) {
        const QImage partagee =
            image_brute(reinterpret_cast<const uchar*>(o.constData()), o.size());
        EXPECT_EQ(image_brute(QByteArray(o)).isNull(), partagee.isNull());
        return partagee;
    };
    ASSERT_FALSE(lit(bonne).isNull());
    EXPECT_TRUE(image_brute(nullptr, 0).isNull());
    EXPECT_TRUE(image_brute(QByteArray()).isNull());
    EXPECT_TRUE(lit(bonne.left(entete_image_brute - 1)).isNull());   // short header
    EXPECT_TRUE(lit(bonne.left(bonne.size() - 4)).isNull());         // a pixel missing
    EXPECT_TRUE(lit(bonne + QByteArray(4, '\0')).isNull());          // trailing bytes
    QByteArray signature = bonne;
    signature[0] = 'X';
    EXPECT_TRUE(lit(signature).isNull());
    QByteArray format = bonne;
    format[12] = char(QImage::Format_Indexed8);
    EXPECT_TRUE(lit(format).isNull());
    // A width so large that width × height × 4 would overflow a 32-bit size.
    QByteArray enorme = bonne;
    enorme[4] = '\xff';
    enorme[5] = '\xff';
    enorme[6] = '\xff';
    enorme[7] = '\x7f';
    EXPECT_TRUE(lit(enorme).isNull());
    QByteArray vide = bonne;
    vide[8] = vide[9] = vide[10] = vide[11] = '\0';
    EXPECT_TRUE(lit(vide).isNull());
}
