// Every picture the program names is drawn at its size and colour depth, and
// compiled in exactly as drawn; a high-density screen gets the copy drawn at
// twice the size, an ordinary one the 1x picture.
#include "catalogue.hpp"
#include "commun/essai.hpp"
#include "plateforme/image_brute.hpp"
#include "plateforme/ressources.hpp"

#include <QImageReader>
#include <QResource>

// The high-density copies as compiled in (resources/images_doubles.cpp).
extern "C" const unsigned char quorvel_images_doubles[];

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

// Each picture is drawn at its size (twice it for the high-density copy) and
// colour depth, and compiled in as drawn; the pictures of video mode 1 share
// one palette.
TEST(Images, ChacuneEstDessineeASaTailleEtCompileeTelleQuelle) {
    ASSERT_TRUE(QResource::registerResource(quorvel_images_doubles));
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
            if (echelle == 1) { // uncompressed, so that the program paints from these very bytes
                EXPECT_EQ(r.compressionAlgorithm(), QResource::NoCompression);
            }
            if (e.profondeur == Profondeur::palette_commune) {
                if (palette.isEmpty())
                    palette = dessin.colorTable();
                EXPECT_EQ(dessin.colorTable(), palette);
                ++partagees;
            }
        }
    EXPECT_EQ(palette.size(), 256);
    // Main background, two page pictures, mode 1 clock and calculator, menu, message,
    // splash, about box, and the 13 logo frames, each with its high-density copy.
    EXPECT_EQ(partagees, 2 * (9 + 13));
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
}
