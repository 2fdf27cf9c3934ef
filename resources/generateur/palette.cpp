#include "palette.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace quorvel::generateur {
namespace {

// Histogram of 5-bit-per-channel colours.
struct Case {
    std::uint32_t cle;
    double nombre;
};

int canal(std::uint32_t cle, int c) {
    return static_cast<int>((cle >> (10 - 5 * c)) & 31);
}

QList<QRgb> coupe_mediane(std::vector<Case> cases, int nombre) {
    struct Boite {
        std::vector<Case> cases;
    };
    auto etendue = [](const Boite& b, int& meilleur) {
        int plus = -1;
        for (int c = 0; c < 3; ++c) {
            int mn = 31, mx = 0;
            for (const auto& k : b.cases) {
                mn = std::min(mn, canal(k.cle, c));
                mx = std::max(mx, canal(k.cle, c));
            }
            // Green counts most to the eye, blue least.
            const int poids = (mx - mn) * (c == 1 ? 4 : c == 0 ? 3 : 2);
            if (poids > plus) {
                plus = poids;
                meilleur = c;
            }
        }
        return plus;
    };
    auto population = [](const Boite& b) {
        double n = 0;
        for (const auto& k : b.cases)
            n += k.nombre;
        return n;
    };
    std::vector<Boite> boites{{std::move(cases)}};
    while (static_cast<int>(boites.size()) < nombre) {
        int choisie = -1, canal_coupe = 0;
        double score_max = 0;
        for (std::size_t i = 0; i < boites.size(); ++i) {
            if (boites[i].cases.size() < 2)
                continue;
            int c = 0;
            const int e = etendue(boites[i], c);
            // The square root keeps large flat areas (white paper) from taking
            // every entry while rare accents (a red ball) still get theirs.
            const double score = e * std::sqrt(population(boites[i]));
            if (score > score_max) {
                score_max = score;
                choisie = static_cast<int>(i);
                canal_coupe = c;
            }
        }
        if (choisie < 0)
            break;
        auto& b = boites[choisie].cases;
        std::sort(b.begin(), b.end(), [&](const Case& a, const Case& d) {
            return canal(a.cle, canal_coupe) < canal(d.cle, canal_coupe);
        });
        const double moitie = population(boites[choisie]) / 2;
        double cumul = 0;
        std::size_t coupe = 1;
        for (std::size_t i = 0; i + 1 < b.size(); ++i) {
            cumul += b[i].nombre;
            coupe = i + 1;
            if (cumul >= moitie)
                break;
        }
        Boite seconde{std::vector<Case>(b.begin() + static_cast<long>(coupe), b.end())};
        b.resize(coupe);
        boites.push_back(std::move(seconde));
    }
    QList<QRgb> palette;
    for (const auto& b : boites) {
        double r = 0, g = 0, bl = 0, n = 0;
        for (const auto& k : b.cases) {
            r += canal(k.cle, 0) * k.nombre;
            g += canal(k.cle, 1) * k.nombre;
            bl += canal(k.cle, 2) * k.nombre;
            n += k.nombre;
        }
        auto v = [n](double s) { return static_cast<int>(std::lround(s / n * 255.0 / 31.0)); };
        palette.push_back(qRgb(v(r), v(g), v(bl)));
    }
    return palette;
}

std::vector<Case> histogramme(const std::vector<QImage>& images, bool opaques_seulement) {
    std::vector<double> comptes(32768, 0.0);
    for (const auto& image : images) {
        const QImage im = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < im.height(); ++y) {
            const auto* l = reinterpret_cast<const QRgb*>(im.constScanLine(y));
            for (int x = 0; x < im.width(); ++x) {
                if (opaques_seulement && qAlpha(l[x]) < 128)
                    continue;
                const std::uint32_t cle =
                    (qRed(l[x]) >> 3) << 10 | (qGreen(l[x]) >> 3) << 5 | (qBlue(l[x]) >> 3);
                comptes[cle] += 1;
            }
        }
    }
    std::vector<Case> cases;
    for (std::uint32_t i = 0; i < comptes.size(); ++i)
        if (comptes[i] > 0)
            cases.push_back({i, comptes[i]});
    return cases;
}

class Plus_proche {
public:
    explicit Plus_proche(const QList<QRgb>& palette, int premier = 0)
        : palette_(palette), premier_(premier), cache_(262144, -1) {}
    int operator()(int r, int g, int b) {
        r = std::clamp(r, 0, 255);
        g = std::clamp(g, 0, 255);
        b = std::clamp(b, 0, 255);
        const int cle = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
        if (cache_[cle] >= 0)
            return cache_[cle];
        int meilleur = premier_;
        long dmin = -1;
        for (int i = premier_; i < palette_.size(); ++i) {
            const long dr = r - qRed(palette_[i]), dg = g - qGreen(palette_[i]),
                       db = b - qBlue(palette_[i]);
            const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (dmin < 0 || d < dmin) {
                dmin = d;
                meilleur = i;
            }
        }
        cache_[cle] = meilleur;
        return meilleur;
    }

private:
    const QList<QRgb>& palette_;
    int premier_;
    std::vector<int> cache_;
};

} // namespace

QList<QRgb> palette_commune(const std::vector<QImage>& images, int nombre,
                            const QList<QRgb>& imposees) {
    QList<QRgb> palette = imposees;
    for (QRgb c : coupe_mediane(histogramme(images, false), nombre - imposees.size()))
        if (!palette.contains(c))
            palette.push_back(c);
    while (palette.size() < nombre)
        palette.push_back(qRgb(0, 0, 0));
    return palette;
}

QImage quantifie(const QImage& source, const QList<QRgb>& palette, bool tramage) {
    const QImage im = source.convertToFormat(QImage::Format_RGB32);
    const int w = im.width(), h = im.height();
    QImage sortie(w, h, QImage::Format_Indexed8);
    sortie.setColorTable(palette);
    Plus_proche proche(palette);
    // Error rows for Floyd-Steinberg, damped a little so flat areas stay calm.
    std::vector<std::array<double, 3>> courante(w + 2), suivante(w + 2);
    const double amorti = 0.85;
    for (int y = 0; y < h; ++y) {
        std::fill(suivante.begin(), suivante.end(), std::array<double, 3>{0, 0, 0});
        const auto* l = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        uchar* o = sortie.scanLine(y);
        const bool gauche_droite = (y % 2) == 0;
        for (int i = 0; i < w; ++i) {
            const int x = gauche_droite ? i : w - 1 - i;
            const int pas = gauche_droite ? 1 : -1;
            double c[3] = {qRed(l[x]) + courante[x + 1][0], qGreen(l[x]) + courante[x + 1][1],
                           qBlue(l[x]) + courante[x + 1][2]};
            if (!tramage) {
                c[0] = qRed(l[x]);
                c[1] = qGreen(l[x]);
                c[2] = qBlue(l[x]);
            }
            const int k =
                proche(static_cast<int>(std::lround(c[0])), static_cast<int>(std::lround(c[1])),
                       static_cast<int>(std::lround(c[2])));
            o[x] = static_cast<uchar>(k);
            if (!tramage)
                continue;
            const double e[3] = {(c[0] - qRed(palette[k])) * amorti,
                                 (c[1] - qGreen(palette[k])) * amorti,
                                 (c[2] - qBlue(palette[k])) * amorti};
            for (int j = 0; j < 3; ++j) {
                courante[x + 1 + pas][j] += e[j] * 7 / 16;
                suivante[x + 1 - pas][j] += e[j] * 3 / 16;
                suivante[x + 1][j] += e[j] * 5 / 16;
                suivante[x + 1 + pas][j] += e[j] * 1 / 16;
            }
        }
        std::swap(courante, suivante);
    }
    return sortie;
}

QImage reduit(const QImage& source, int nombre) {
    const QImage im = source.convertToFormat(QImage::Format_ARGB32);
    bool transparente = false;
    for (int y = 0; y < im.height() && !transparente; ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        for (int x = 0; x < im.width(); ++x)
            if (qAlpha(l[x]) < 128) {
                transparente = true;
                break;
            }
    }
    QList<QRgb> palette;
    if (transparente)
        palette.push_back(qRgba(0, 0, 0, 0));
    palette += coupe_mediane(histogramme({im}, true), nombre - static_cast<int>(palette.size()));
    QImage sortie(im.width(), im.height(), QImage::Format_Indexed8);
    sortie.setColorTable(palette);
    Plus_proche proche(palette, transparente ? 1 : 0);
    for (int y = 0; y < im.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        uchar* o = sortie.scanLine(y);
        for (int x = 0; x < im.width(); ++x)
            o[x] = (transparente && qAlpha(l[x]) < 128)
                       ? 0
                       : static_cast<uchar>(proche(qRed(l[x]), qGreen(l[x]), qBlue(l[x])));
    }
    return sortie;
}

} // namespace quorvel::generateur
