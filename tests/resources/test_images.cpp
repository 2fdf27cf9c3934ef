// Every picture the program names is drawn at its size and colour depth, and
// compiled in exactly as drawn.
#include "catalogue.hpp"
#include "plateforme/image_brute.hpp"
#include "plateforme/ressources.hpp"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QResource>
#include <gtest/gtest.h>

using quorvel::ressources::catalogue;
using quorvel::ressources::Profondeur;

namespace {

// The artwork as the generator drew it, e.g. png("images/fond1.png").
QImage png(const QString& relatif) {
    QImageReader lecteur(QStringLiteral(QUORVEL_GENERE) + relatif, "png");
    lecteur.setAutoDetectImageFormat(false);
    return lecteur.read();
}

QImage charge(const quorvel::ressources::Image& e) {
    return png(QString::fromStdString(e.fichier_png()));
}

QColor moyenne(const QImage& im, int x0, int y0, int cote) {
    double r = 0, g = 0, b = 0;
    for (int y = y0; y < y0 + cote; ++y)
        for (int x = x0; x < x0 + cote; ++x) {
            const QRgb c = im.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
    const double n = cote * cote;
    return QColor(int(r / n), int(g / n), int(b / n));
}

double difference(const QImage& a, const QImage& b) {
    double somme = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            somme += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    return somme / (a.width() * a.height());
}

} // namespace

// Each picture is drawn at its size and colour depth, and compiled in as drawn.
TEST(Images, LeProgrammePeintChacuneTelleQuElleAEteDessinee) {
    for (const auto& e : catalogue()) {
        SCOPED_TRACE(e.nom);
        const QImage dessin = charge(e);
        ASSERT_FALSE(dessin.isNull());
        EXPECT_EQ(dessin.size(), QSize(e.largeur, e.hauteur));
        if (e.profondeur == Profondeur::vraies_couleurs) {
            EXPECT_EQ(dessin.colorCount(), 0);
            EXPECT_EQ(dessin.depth(), 32);
        } else {
            EXPECT_EQ(dessin.format(), QImage::Format_Indexed8);
            EXPECT_LE(dessin.colorCount(), e.profondeur == Profondeur::couleurs_16 ? 16 : 256);
        }
        const QResource r(QString::fromStdString(e.chemin_ressource()));
        ASSERT_TRUE(r.isValid());
        // Compiled in uncompressed, so that the program paints from these very bytes.
        EXPECT_EQ(r.compressionAlgorithm(), QResource::NoCompression);
        const QImage brute = quorvel::image_brute(r.data(), r.size());
        ASSERT_FALSE(brute.isNull());
        EXPECT_EQ(brute.constBits(), r.data() + quorvel::entete_image_brute);
        EXPECT_EQ(brute, dessin.convertToFormat(brute.format()));
        EXPECT_EQ(brute.hasAlphaChannel(), dessin.hasAlphaChannel());
    }
}

TEST(Images, LesNomsQueLeProgrammeDemandeSeChargent) {
    // The names the windows ask for, through the program's own loader.
    QStringList noms = QStringLiteral(
        "fond1 fond_calendrier1 fond_note1 horloge1 horloge2 calculette1 calculette2 splash a_propos "
        "menu1 menu2 message1 message2 cloche coche1 coche2 plus1 plus2 pm1 pm2 moins1 moins2 "
        "fleche_g1 fleche_d1 fleche_g2 fleche_d2 haut_parleur icone icone_grande").split(' ');
    for (int k = 1; k <= 13; ++k)
        noms << QStringLiteral("l%1").arg(k);
    for (const QString& nom : noms)
        EXPECT_FALSE(quorvel::image_ressource(nom).isNull()) << nom.toStdString();

    // Reading the pictures must not load the system's image plugins: that
    // alone used to cost several milliseconds of every start.
    QFile cartes(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(cartes.open(QIODevice::ReadOnly));
    EXPECT_FALSE(cartes.readAll().contains("/imageformats/"));

    // A picture used twice is decoded once.
    EXPECT_EQ(quorvel::image_ressource("coche1").cacheKey(),
              quorvel::image_ressource("coche1").cacheKey());
}

TEST(Images, LeBureauEnModeUnPartageUnePalette) {
    QList<QRgb> reference;
    int partagees = 0;
    for (const auto& e : catalogue()) {
        if (e.profondeur != Profondeur::palette_commune)
            continue;
        const QImage im = charge(e);
        if (reference.isEmpty())
            reference = im.colorTable();
        EXPECT_EQ(im.colorTable(), reference) << e.nom;
        ++partagees;
    }
    EXPECT_EQ(reference.size(), 256);
    // Main background, two page pictures, mode 1 clock and calculator, menu, message,
    // splash, about box, and the 13 logo frames.
    EXPECT_EQ(partagees, 9 + 13);
}

TEST(Images, LesTexturesDesWidgetsProlongentLeMarbre) {
    // A clock or calculator texture sits on the main window's background: its
    // corner must be the same marble as the background under it.
    const QImage fond = png(QStringLiteral("images/fond1.png")).convertToFormat(QImage::Format_RGB32);
    struct Cas {
        const char* nom;
        int x, y;
    } const cas[] = {
        {"horloge1", 252, 4}, {"horloge2", 251, 4}, {"calculette1", 14, 16}, {"calculette2", 14, 16}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const QImage t = png(QStringLiteral("images/%1.png").arg(c.nom))
                             .convertToFormat(QImage::Format_RGB32);
        const QColor a = moyenne(t, 0, 0, 4), b = moyenne(fond, c.x, c.y, 4);
        EXPECT_NEAR(a.red(), b.red(), 24);
        EXPECT_NEAR(a.green(), b.green(), 24);
        EXPECT_NEAR(a.blue(), b.blue(), 24);
    }
}

TEST(Images, LeLogoTourneEnBoucle) {
    std::vector<QImage> images;
    for (int k = 1; k <= 13; ++k)
        images.push_back(png(QStringLiteral("images/l%1.png").arg(k))
                             .convertToFormat(QImage::Format_RGB32));
    double pas_max = 0;
    for (int k = 1; k < 13; ++k) {
        pas_max = std::max(pas_max, difference(images[k - 1], images[k]));
        for (int j = 0; j < k; ++j)
            EXPECT_GT(difference(images[j], images[k]), 0) << j + 1 << " " << k + 1;
    }
    // Going from the last frame back to the first is no bigger a jump than any other step.
    EXPECT_LE(difference(images[12], images[0]), pas_max * 1.5);
}

TEST(Images, LesBoutonsOntUnFondTransparent) {
    for (const char* nom : {"coche1", "coche2", "plus1", "plus2", "pm1", "pm2", "moins1", "moins2",
                            "fleche_g1", "fleche_d1", "fleche_g2", "fleche_d2", "cloche"}) {
        const QImage im = png(QStringLiteral("images/%1.png").arg(nom));
        EXPECT_EQ(qAlpha(im.pixel(0, 0)), 0) << nom;
        EXPECT_EQ(qAlpha(im.pixel(im.width() - 1, im.height() - 1)), 0) << nom;
    }
}

TEST(Curseurs, LaMainMontreDuDoigtLePointChaud) {
    for (const auto& pc : quorvel::ressources::points_chauds()) {
        SCOPED_TRACE(pc.nom);
        const QImage im =
            png(QStringLiteral("curseurs/%1.png").arg(QString::fromStdString(pc.nom)))
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(im.size(), QSize(32, 32));
        EXPECT_EQ(im.pixel(pc.x, pc.y), qRgb(0, 0, 0));
        // The fingertip is the hand's farthest point in the direction it points,
        // and the finger runs back from it.
        const int dx = pc.nom == "main_gauche" ? 1 : pc.nom == "main_droite" ? -1 : 0;
        const int dy = pc.nom == "main_haut" ? 1 : 0;
        for (int k = 0; k < 8; ++k)
            EXPECT_GT(qAlpha(im.pixel(pc.x + k * dx, pc.y + k * dy)), 0) << k;
        // Only a black outline, a white inside and transparency.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb p = im.pixel(x, y);
                if (qAlpha(p) == 0)
                    continue;
                ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
                EXPECT_GE((x - pc.x) * dx + (y - pc.y) * dy, 0) << x << "," << y;
            }
    }
    const QCursor c = quorvel::curseur(quorvel::curseur_main_haut);
    EXPECT_FALSE(c.pixmap().isNull());
    EXPECT_EQ(c.hotSpot(), QPoint(12, 2));
}
