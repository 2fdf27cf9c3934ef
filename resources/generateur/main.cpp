// Draws every picture of the program, synthesises its sounds and prepares the
// installation data, into the build tree. Run by the build, never by users.
//   generateur_ressources <images> <donnees> <saints.txt> <DOC.HLP>
#include "catalogue.hpp"
#include "dessins.hpp"
#include "donnees.hpp"
#include "palette.hpp"
#include "plateforme/image_brute.hpp"
#include "sons.hpp"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <map>
#include <stdexcept>

using namespace quorvel;
using namespace quorvel::generateur;
using ressources::Profondeur;

namespace {

std::string lit(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("lecture impossible : " + chemin.toStdString());
    return f.readAll().toStdString();
}

void ecrit(const QString& chemin, const std::string& octets) {
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(octets.data(), static_cast<qint64>(octets.size())) !=
            static_cast<qint64>(octets.size()))
        throw std::runtime_error("écriture impossible : " + chemin.toStdString());
}

// Each picture twice: the PNG is the artwork (the tests check it, the desktop
// icons are installed from it); the raw copy is what the program compiles in
// and paints from, with nothing to decode.
void enregistre(const QImage& image, const QString& base) {
    QImageWriter w(base + ".png", "png");
    if (!w.write(image))
        throw std::runtime_error("écriture impossible : " + base.toStdString() + ".png (" +
                                 w.errorString().toStdString() + ")");
    const QByteArray brute = en_image_brute(image);
    ecrit(base + ".img", brute.toStdString());
}

// Button pictures go on grey buttons (the bell on the white page): their
// soft edges are blended into that ground, the rest stays transparent.
QImage aplatit_bords(const QImage& source, QRgb fond) {
    QImage im = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < im.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(im.scanLine(y));
        for (int x = 0; x < im.width(); ++x) {
            const int a = qAlpha(l[x]);
            if (a < 80) {
                l[x] = qRgba(0, 0, 0, 0);
                continue;
            }
            auto m = [a](int c, int f) { return (c * a + f * (255 - a)) / 255; };
            l[x] = qRgb(m(qRed(l[x]), qRed(fond)), m(qGreen(l[x]), qGreen(fond)),
                        m(qBlue(l[x]), qBlue(fond)));
        }
    }
    return im;
}

void genere(const QString& dossier_images, const QString& dossier_donnees,
            const QString& source_saints, const QString& source_aide) {
    const auto dessin = [](const ressources::Image& e, int echelle) {
        QImage im = dessine(e.nom, echelle);
        if (im.width() != e.largeur * echelle || im.height() != e.hauteur * echelle)
            throw std::runtime_error(e.nom + " n'a pas la taille prévue");
        return im;
    };
    std::map<std::string, QImage> dessins;
    std::vector<QImage> desk;
    for (const auto& e : ressources::catalogue()) {
        QImage im = dessin(e, 1);
        if (e.profondeur == Profondeur::palette_commune)
            desk.push_back(im);
        dessins[e.nom] = im;
    }
    // One palette for the whole video mode 1 desk, taken from the 1x pictures
    // alone: the high-density copies are mapped onto it too, and the 1x ones
    // stay what they were before there were copies.
    const QList<QRgb> palette = palette_commune(desk, 256, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int echelle : {1, 2})
        for (const auto& e : ressources::catalogue()) {
            if (echelle > 1 && !e.double_densite)
                continue;
            const QImage im = echelle == 1 ? dessins[e.nom] : dessin(e, echelle);
            const QRgb fond = e.nom == "cloche" ? qRgb(255, 255, 255) : qRgb(212, 208, 200);
            QImage sortie;
            switch (e.profondeur) {
            case Profondeur::palette_commune:
                sortie = quantifie(im, palette, true);
                break;
            case Profondeur::couleurs_16:
                sortie = reduit(aplatit_bords(im, fond), 16);
                break;
            case Profondeur::couleurs_256:
                sortie = reduit(aplatit_bords(im, fond), 256);
                break;
            case Profondeur::vraies_couleurs:
                sortie = im.convertToFormat(im.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
                break;
            }
            const QString dossier =
                dossier_images + "/" +
                QString::fromStdString(ressources::dossier_echelle(e.dossier, echelle));
            QDir().mkpath(dossier);
            enregistre(sortie, dossier + "/" + QString::fromStdString(e.nom));
        }

    QDir().mkpath(dossier_donnees);
    const auto saints = fichiers_saints(lit_source_saints(lit(source_saints)));
    for (int m = 0; m < 12; ++m)
        ecrit(dossier_donnees + QStringLiteral("/SAINT%1").arg(m + 1, 2, 10, QLatin1Char('0')),
              saints[m]);
    ecrit(dossier_donnees + "/papier.wav", fichier_wav(son_papier()));
    ecrit(dossier_donnees + "/coucou.wav", fichier_wav(son_coucou()));
    const std::string aide = lit(source_aide);
    for (const char* ancre : {"sujet1", "sujet6", "sujet7", "sujet8"})
        if (aide.find(std::string("<a name=\"") + ancre + "\"") == std::string::npos)
            throw std::runtime_error(std::string("DOC.HLP : ancre manquante ") + ancre);
    ecrit(dossier_donnees + "/DOC.HLP", aide);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage : generateur_ressources <images> <donnees> <saints.txt> "
                             "<DOC.HLP>\n");
        return 2;
    }
    try {
        genere(args[1], args[2], args[3], args[4]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generateur_ressources : %s\n", e.what());
        return 1;
    }
    return 0;
}
