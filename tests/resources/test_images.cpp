// Every picture the program names is drawn at its size and colour depth, and
// compiled in exactly as drawn; a high-density screen gets the copy drawn at
// twice the size, an ordinary one the 1x picture and nothing of the copy.
#include "catalogue.hpp"
#include "plateforme/image_brute.hpp"
#include "plateforme/ressources.hpp"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QResource>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <unistd.h>

// The high-density copies as compiled in (resources/images_doubles.cpp).
extern "C" const unsigned char quorvel_images_doubles[], quorvel_images_doubles_fin[];

using quorvel::ressources::catalogue;
using quorvel::ressources::Profondeur;

// The artwork as the generator drew it, e.g. png("images/fond1.png").
static QImage png(const QString& relatif) {
    QImageReader lecteur(QStringLiteral(QUORVEL_GENERE) + relatif, "png");
    lecteur.setAutoDetectImageFormat(false);
    return lecteur.read();
}

static QImage charge(const quorvel::ressources::Image& e, int echelle = 1) {
    return png(QString::fromStdString(e.fichier_png(echelle)));
}

// The scales each picture is drawn at.
static std::vector<int> echelles(const quorvel::ressources::Image& e) {
    return e.double_densite ? std::vector<int>{1, 2} : std::vector<int>{1};
}

// The names the windows ask for.
static QStringList noms_demandes() {
    QStringList noms = QStringLiteral("fond1 fond_calendrier1 fond_note1 horloge1 horloge2 "
                                      "calculette1 calculette2 splash a_propos menu1 menu2 "
                                      "message1 message2 cloche coche1 coche2 plus1 plus2 pm1 pm2 "
                                      "moins1 moins2 fleche_g1 fleche_d1 fleche_g2 fleche_d2 "
                                      "haut_parleur icone icone_grande")
                           .split(' ');
    for (int k = 1; k <= 13; ++k)
        noms << QStringLiteral("l%1").arg(k);
    return noms;
}

static const quorvel::ressources::Image& entree(const QString& nom) {
    for (const auto& e : catalogue())
        if (e.nom == nom.toStdString())
            return e;
    throw std::runtime_error("absente du catalogue : " + nom.toStdString());
}

static QColor moyenne(const QImage& im, int x0, int y0, int cote) {
    double r = 0, g = 0, b = 0;
    for (int y = y0; y < y0 + cote; ++y)
        for (int x = x0; x < x0 + cote; ++x) {
            const QRgb c = im.pixel(x, y);
            r += qRed(c), g += qGreen(c), b += qBlue(c);
        }
    const double n = cote * cote;
    return QColor(int(r / n), int(g / n), int(b / n));
}

static double difference(const QImage& a, const QImage& b) {
    double somme = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            somme += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    return somme / (a.width() * a.height());
}

// How many pages of [debut, fin) are mapped into the process.
static int pages_presentes(const uchar* debut, const uchar* fin) {
    const quintptr page = getpagesize();
    std::vector<quint64> entrees(size_t(fin - debut) / page);
    const qsizetype attendus = qsizetype(entrees.size() * 8);
    const int f = open("/proc/self/pagemap", O_RDONLY);
    const bool lus =
        f >= 0 && pread(f, entrees.data(), size_t(attendus),
                        off_t(reinterpret_cast<quintptr>(debut) / page * 8)) == attendus;
    if (f >= 0)
        close(f);
    if (!lus)
        throw std::runtime_error("/proc/self/pagemap illisible");
    return int(std::count_if(entrees.begin(), entrees.end(), [](quint64 e) { return e >> 63; }));
}

// Each picture is drawn at its size (twice it for the high-density copy) and
// colour depth, and compiled in as drawn; the 1x ones are what they always were.
// What the desk's pictures share: the one palette of video mode 1, transparent
// corners on the buttons and the bell, and clock and calculator textures whose
// corner is the same marble as the main background under it.
TEST(Images, ChacuneEstDessineeASaTailleEtCompileeTelleQuelle) {
    ASSERT_TRUE(QResource::registerResource(quorvel_images_doubles));
    QCryptographicHash empreinte(QCryptographicHash::Sha256);
    const std::map<std::string, QPoint> sur_le_marbre = {{"horloge1", {252, 4}},
                                                         {"horloge2", {251, 4}},
                                                         {"calculette1", {14, 16}},
                                                         {"calculette2", {14, 16}}};
    const std::set<std::string> boutons = {
        "coche1", "coche2",    "plus1",     "plus2",     "pm1",       "pm2",   "moins1",
        "moins2", "fleche_g1", "fleche_d1", "fleche_g2", "fleche_d2", "cloche"};
    QList<QRgb> palette;
    int partagees = 0;
    for (const auto& e : catalogue())
        for (int echelle : echelles(e)) {
            SCOPED_TRACE(e.nom + " x" + std::to_string(echelle));
            const QImage dessin = charge(e, echelle);
            ASSERT_FALSE(dessin.isNull());
            EXPECT_EQ(dessin.size(), QSize(e.largeur, e.hauteur) * echelle);
            const bool vraies = e.profondeur == Profondeur::vraies_couleurs;
            EXPECT_TRUE(vraies ? dessin.depth() == 32 : dessin.format() == QImage::Format_Indexed8);
            EXPECT_LE(dessin.colorCount(), vraies                                    ? 0
                                           : e.profondeur == Profondeur::couleurs_16 ? 16
                                                                                     : 256);
            const QResource r(QString::fromStdString(e.chemin_ressource(echelle)));
            ASSERT_TRUE(r.isValid());
            const QImage brute = quorvel::image_brute(r.uncompressedData());
            ASSERT_FALSE(brute.isNull());
            EXPECT_EQ(brute, dessin.convertToFormat(brute.format()));
            EXPECT_EQ(brute.hasAlphaChannel(), dessin.hasAlphaChannel());
            if (echelle == 1) {
                // Uncompressed, so that the program paints from these very bytes.
                EXPECT_EQ(r.compressionAlgorithm(), QResource::NoCompression);
                empreinte.addData(r.uncompressedData());
            }
            if (e.profondeur == Profondeur::palette_commune) {
                if (palette.isEmpty())
                    palette = dessin.colorTable();
                EXPECT_EQ(dessin.colorTable(), palette);
                ++partagees;
            }
            if (boutons.contains(e.nom)) {
                EXPECT_EQ(qAlpha(dessin.pixel(0, 0)), 0);
                EXPECT_EQ(qAlpha(dessin.pixel(dessin.width() - 1, dessin.height() - 1)), 0);
            }
            if (const auto p = sur_le_marbre.find(e.nom); p != sur_le_marbre.end()) {
                const QPoint coin = p->second * echelle;
                const QColor a = moyenne(dessin, 0, 0, 4 * echelle),
                             b = moyenne(charge(entree("fond1"), echelle), coin.x(), coin.y(),
                                         4 * echelle);
                EXPECT_LE(std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                    std::abs(a.blue() - b.blue())}),
                          24);
            }
        }
    EXPECT_EQ(palette.size(), 256);
    // Main background, two page pictures, mode 1 clock and calculator, menu, message,
    // splash, about box, and the 13 logo frames, each with its high-density copy.
    EXPECT_EQ(partagees, 2 * (9 + 13));
    // The 1x pictures are byte for byte those the program showed before there
    // were high-density copies (SHA-256 of all of them, in catalogue order).
    EXPECT_EQ(empreinte.result().toHex().left(16), "2b1ca911c8d41685");
}

// Through the program's own loader: at a ratio of 1 the 1x picture, painted
// from its compiled-in bytes; above 1 the copy drawn at twice the size, not
// the 1x one enlarged, covering the same window pixels.
TEST(Images, LeProgrammePeintLaCopieQuiConvientALEcran) {
    for (const QString& nom : noms_demandes())
        for (const qreal rapport : {1.0, 2.0, 1.5}) {
            SCOPED_TRACE(nom.toStdString() + " " + std::to_string(rapport));
            const auto& e = entree(nom);
            const QPixmap image = quorvel::image_ressource(nom, rapport);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.deviceIndependentSize(), QSizeF(e.largeur, e.hauteur));
            const int echelle = rapport > 1 && e.double_densite ? 2 : 1;
            EXPECT_EQ(image.devicePixelRatio(), echelle);
            EXPECT_EQ(image.size(), QSize(e.largeur, e.hauteur) * echelle);
            const QImage peinte = image.toImage();
            EXPECT_EQ(peinte, charge(e, echelle).convertToFormat(peinte.format()));
            if (echelle == 1) {
                const QResource r(QString::fromStdString(e.chemin_ressource()));
                EXPECT_EQ(peinte.constBits(), r.data() + quorvel::entete_image_brute);
            } else {
                const QImage agrandie =
                    charge(e).scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
                EXPECT_NE(peinte, agrandie.convertToFormat(peinte.format()));
            }
        }
    // Reading the pictures must not load the system's image plugins: that
    // alone used to cost several milliseconds of every start.
    QFile cartes(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(cartes.open(QIODevice::ReadOnly));
    EXPECT_FALSE(cartes.readAll().contains("/imageformats/"));

    // A picture used twice is made once.
    for (const qreal rapport : {1.0, 2.0})
        EXPECT_EQ(quorvel::image_ressource("coche1", rapport).cacheKey(),
                  quorvel::image_ressource("coche1", rapport).cacheKey());
}

// On an ordinary screen the high-density copies stay on disk: showing every
// picture maps none of their pages into the program. Measured in a program of
// its own, where no other test has registered or read them.
TEST(Images, UnEcranOrdinaireNeLitRienDesCopiesDoubles) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto peint_tout = [] {
        const uchar* premier = quorvel_images_doubles;
        const auto* dernier = reinterpret_cast<const uchar*>(
            reinterpret_cast<quintptr>(quorvel_images_doubles_fin) / getpagesize() * getpagesize());
        QImage ecran(500, 500, QImage::Format_RGB32);
        QPainter p(&ecran);
        for (const QString& nom : noms_demandes())
            p.drawPixmap(0, 0, quorvel::image_ressource(nom));
        p.end();
        const int lues = pages_presentes(premier, dernier);
        // The measure sees the copies' pages once one is read.
        volatile uchar octet = premier[0];
        (void)octet;
        const int apres = pages_presentes(premier, dernier);
        std::fprintf(stderr, "rapport %g, pages des copies lues : %d, puis %d\n",
                     quorvel::rapport_ecran(), lues, apres);
        std::exit(quorvel::rapport_ecran() == 1 && lues == 0 && apres > 0 ? 0 : 1);
    };
    EXPECT_EXIT(peint_tout(), testing::ExitedWithCode(0), "");
}

TEST(Images, LeLogoTourneEnBoucle) {
    std::vector<QImage> images;
    for (int k = 1; k <= 13; ++k)
        images.push_back(
            png(QStringLiteral("images/l%1.png").arg(k)).convertToFormat(QImage::Format_RGB32));
    double pas_max = 0;
    for (int k = 1; k < 13; ++k) {
        pas_max = std::max(pas_max, difference(images[k - 1], images[k]));
        for (int j = 0; j < k; ++j)
            EXPECT_GT(difference(images[j], images[k]), 0) << j + 1 << " " << k + 1;
    }
    // Going from the last frame back to the first is no bigger a jump than any other step.
    EXPECT_LE(difference(images[12], images[0]), pas_max * 1.5);
}

TEST(Curseurs, LaMainMontreDuDoigtLePointChaud) {
    for (const auto& pc : quorvel::ressources::points_chauds()) {
        SCOPED_TRACE(pc.nom);
        const QImage im = png(QStringLiteral("curseurs/%1.png").arg(QString::fromStdString(pc.nom)))
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
