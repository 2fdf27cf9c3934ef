#include "matieres.hpp"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace quorvel::generateur {
namespace {

// A fixed shuffle so that every build draws the same desk.
const std::array<int, 512>& permutation() {
    static const std::array<int, 512> p = [] {
        std::array<int, 256> base{};
        for (int i = 0; i < 256; ++i)
            base[i] = i;
        std::uint32_t etat = 20021998u;
        for (int i = 255; i > 0; --i) {
            etat = etat * 1664525u + 1013904223u;
            std::swap(base[i], base[(etat >> 8) % static_cast<std::uint32_t>(i + 1)]);
        }
        std::array<int, 512> p2{};
        for (int i = 0; i < 512; ++i)
            p2[i] = base[i & 255];
        return p2;
    }();
    return p;
}

double lisse(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

double gradient(int h, double x, double y) {
    switch (h & 7) {
    case 0:
        return x + y;
    case 1:
        return -x + y;
    case 2:
        return x - y;
    case 3:
        return -x - y;
    case 4:
        return x;
    case 5:
        return -x;
    case 6:
        return y;
    default:
        return -y;
    }
}

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
double borne(double v) {
    return std::clamp(v, 0.0, 1.0);
}
double lisse_entre(double a, double b, double v) {
    const double t = borne((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}

struct Rvb {
    double r, g, b;
};
Rvb mix(Rvb a, Rvb b, double t) {
    t = borne(t);
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}
QRgb vers_rgb(Rvb c) {
    auto o = [](double v) { return static_cast<int>(std::clamp(std::lround(v), 0L, 255L)); };
    return qRgb(o(c.r), o(c.g), o(c.b));
}

// Thin veins: 1 on the crest of a warped sine, falling off quickly.
double veine(double t, double finesse) {
    const double v = std::abs(std::sin(t * M_PI));
    return std::pow(1.0 - v, finesse);
}

void flou_alpha(QImage& image, int rayon) {
    // Three box blurs approach a Gaussian.
    const int w = image.width(), h = image.height();
    std::vector<double> a(static_cast<std::size_t>(w * h)), t(a.size());
    int gauche = w, droite = -1, haut = h, bas = -1;
    for (int y = 0; y < h; ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            a[y * w + x] = qAlpha(l[x]);
            if (qAlpha(l[x]) != 0) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
                haut = std::min(haut, y);
                bas = std::max(bas, y);
            }
        }
    }
    const int r = std::max(1, rayon / 2);
    // The three passes spread the shape by 3r pixels: everything farther stays
    // zero, and the zeros the windows skip there add nothing to their sums.
    const int x0 = std::max(0, gauche - 3 * r), x1 = std::min(w - 1, droite + 3 * r);
    const int y0 = std::max(0, haut - 3 * r), y1 = std::min(h - 1, bas + 3 * r);
    for (int passe = 0; passe < 3; ++passe) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                double s = 0;
                for (int k = std::max(x0, x - r); k <= std::min(x1, x + r); ++k)
                    s += a[y * w + k];
                t[y * w + x] = s / (std::min(w - 1, x + r) - std::max(0, x - r) + 1);
            }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                double s = 0;
                for (int k = std::max(y0, y - r); k <= std::min(y1, y + r); ++k)
                    s += t[k * w + x];
                a[y * w + x] = s / (std::min(h - 1, y + r) - std::max(0, y - r) + 1);
            }
    }
    for (int y = 0; y < h; ++y) {
        auto* l = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            l[x] = qRgba(0, 0, 0, static_cast<int>(a[y * w + x]));
    }
}

} // namespace

double bruit(double x, double y) {
    const auto& p = permutation();
    const int xi = static_cast<int>(std::floor(x)) & 255;
    const int yi = static_cast<int>(std::floor(y)) & 255;
    const double xf = x - std::floor(x), yf = y - std::floor(y);
    const double u = lisse(xf), v = lisse(yf);
    const int aa = p[p[xi] + yi], ab = p[p[xi] + yi + 1];
    const int ba = p[p[xi + 1] + yi], bb = p[p[xi + 1] + yi + 1];
    const double x1 = lerp(gradient(aa, xf, yf), gradient(ba, xf - 1, yf), u);
    const double x2 = lerp(gradient(ab, xf, yf - 1), gradient(bb, xf - 1, yf - 1), u);
    return lerp(x1, x2, v);
}

double fbm(double x, double y, int octaves) {
    double somme = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        somme += amplitude * bruit(x, y);
        total += amplitude;
        x = x * 2.03 + 17.1;
        y = y * 2.03 + 9.7;
        amplitude *= 0.5;
    }
    return somme / total * 1.6;
}

QRgb marbre_rouge(double x, double y) {
    const double nuage = fbm(x / 140 + 5, y / 140 + 3, 5);
    const double tache = fbm(x / 60 + 33, y / 60 + 71, 4);
    const double grain = fbm(x / 7 + 40, y / 7 + 40, 2);
    const double torsion = fbm(x / 95, y / 95, 6);
    // A network of veins: the crests of ridged noise.
    const double reseau = 1.0 - std::abs(fbm(x / 150 + 8, y / 110 + 2, 6));
    const double v0 =
        std::pow(reseau, 34) * lisse_entre(-0.2, 0.4, fbm(x / 100 + 90, y / 100 + 9, 3));
    const double halo0 = std::pow(reseau, 7);
    // Long white veins running diagonally, wandering with the turbulence.
    const double t1 = (x * 0.55 + y * 0.83) / 60 + torsion * 2.6;
    const double force1 = lisse_entre(-0.3, 0.35, fbm(x / 130 + 20, y / 130 + 31, 3));
    const double v1 = veine(t1, 30) * force1;
    const double halo1 = veine(t1, 4) * force1;
    // Fine crossing veins, darker, for depth.
    const double t2 = (-x * 0.72 + y * 0.69) / 31 + fbm(x / 55 + 11, y / 55 + 7, 5) * 3.1;
    const double v2 = veine(t2, 60) * lisse_entre(-0.1, 0.5, fbm(x / 90 + 3, y / 90 + 50, 3));
    // Hair-thin pale threads.
    const double t3 = (x * 0.95 + y * 0.3) / 23 + fbm(x / 40 + 61, y / 40 + 2, 4) * 4.0;
    const double v3 = veine(t3, 110) * 0.6;

    const Rvb sombre{70, 5, 10}, moyen{140, 20, 24}, clair{196, 50, 44};
    Rvb c = nuage < 0 ? mix(moyen, sombre, -nuage * 2.0) : mix(moyen, clair, nuage * 1.9);
    c = mix(c, Rvb{110, 12, 18}, lisse_entre(0.15, 0.6, tache) * 0.5);
    c = mix(c, Rvb{c.r * 0.84, c.g * 0.78, c.b * 0.78}, grain * 0.5 + 0.5);
    c = mix(c, Rvb{214, 96, 84}, halo1 * 0.3 + halo0 * 0.12);
    c = mix(c, Rvb{50, 3, 6}, v2 * 0.75);
    c = mix(c, Rvb{230, 176, 164}, v3 * 0.55);
    c = mix(c, Rvb{236, 196, 182}, v0 * 0.6);
    c = mix(c, Rvb{248, 226, 214}, v1 * 0.95);
    return vers_rgb(c);
}

QRgb marbre_creme(double x, double y) {
    const double nuage = fbm(x / 70 + 91, y / 70 + 13, 5);
    const double torsion = fbm(x / 60 + 7, y / 60 + 77, 5);
    const double t1 = (x * 0.8 + y * 0.6) / 40 + torsion * 2.2;
    const double v1 = veine(t1, 40) * lisse_entre(-0.3, 0.4, fbm(x / 80 + 5, y / 80 + 5, 3));
    const double t2 = (-x * 0.5 + y * 0.86) / 21 + fbm(x / 30 + 3, y / 30 + 3, 4) * 3;
    const double v2 = veine(t2, 90) * 0.5;
    Rvb c = mix(Rvb{240, 233, 218}, Rvb{214, 204, 186}, nuage * 0.6 + 0.4);
    c = mix(c, Rvb{166, 152, 136}, v2 * 0.6);
    c = mix(c, Rvb{128, 116, 104}, v1 * 0.8);
    return vers_rgb(c);
}

QRgb bois(double x, double y, bool along_x, double teinte) {
    if (!along_x)
        std::swap(x, y);
    const double ondulation = fbm(x / 220 + 3, y / 30 + 8, 4);
    const double cernes = std::sin((y + ondulation * 22) * 0.42 + fbm(x / 80, y / 14, 3) * 2.5);
    const double r = std::pow(0.5 + 0.5 * cernes, 2.5);
    const double fibre = fbm(x / 45 + 12, y * 1.1 + 3, 3);
    const double noeud = std::pow(std::max(0.0, fbm(x / 300 + 40, y / 40 + 40, 2)), 3) * 3;
    const Rvb clair = mix(Rvb{150, 96, 52}, Rvb{232, 196, 146}, teinte);
    const Rvb fonce = mix(Rvb{72, 40, 20}, Rvb{184, 134, 82}, teinte);
    Rvb c = mix(clair, fonce, 0.5 * r + 0.3 * (fibre * 0.5 + 0.5) + noeud * 0.3);
    return vers_rgb(c);
}

void ombre(QImage& cible, const QPainterPath& forme, QPointF decalage, int rayon, double opacite) {
    QImage couche(cible.size(), QImage::Format_ARGB32);
    couche.setDevicePixelRatio(cible.devicePixelRatio());
    couche.fill(Qt::transparent);
    {
        QPainter p(&couche);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(decalage);
        p.fillPath(forme, QColor(0, 0, 0, 255));
    }
    flou_alpha(couche, static_cast<int>(std::lround(rayon * cible.devicePixelRatio())));
    QPainter p(&cible);
    p.setOpacity(opacite);
    p.drawImage(0, 0, couche);
}

void eclairage(QImage& cible, const QRectF& zone, double force) {
    QPainter p(&cible);
    p.setClipRect(zone);
    QLinearGradient g(zone.topLeft(), zone.bottomRight());
    g.setColorAt(0.0, QColor(255, 240, 230, static_cast<int>(70 * force)));
    g.setColorAt(0.45, QColor(255, 255, 255, 0));
    g.setColorAt(1.0, QColor(0, 0, 0, static_cast<int>(110 * force)));
    p.fillRect(zone, g);
    // A soft polished sheen crossing the slab.
    QLinearGradient reflet(zone.left(), zone.top(), zone.right(), zone.bottom() * 0.8);
    reflet.setColorAt(0.25, QColor(255, 255, 255, 0));
    reflet.setColorAt(0.33, QColor(255, 235, 230, static_cast<int>(34 * force)));
    reflet.setColorAt(0.40, QColor(255, 255, 255, 0));
    p.fillRect(zone, reflet);
    QRadialGradient vignette(zone.center(), std::max(zone.width(), zone.height()) * 0.75);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, static_cast<int>(90 * force)));
    p.fillRect(zone, vignette);
}

QColor melange(QColor a, QColor b, double t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

void bille(QPainter& p, QPointF centre, double rayon, QColor couleur) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Contact shadow under the ball.
    QRadialGradient ombre_sol(centre + QPointF(1.5, 2.5), rayon * 1.15);
    ombre_sol.setColorAt(0.75, QColor(0, 0, 0, 110));
    ombre_sol.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(ombre_sol);
    p.drawEllipse(centre + QPointF(1.5, 2.5), rayon * 1.15, rayon * 1.15);
    QRadialGradient g(centre, rayon, centre + QPointF(-rayon * 0.35, -rayon * 0.4));
    g.setColorAt(0.0, melange(couleur, Qt::white, 0.55));
    g.setColorAt(0.45, couleur);
    g.setColorAt(0.9, couleur.darker(190));
    g.setColorAt(1.0, couleur.darker(260));
    p.setBrush(g);
    p.drawEllipse(centre, rayon, rayon);
    // Light bounced from the desk on the lower rim.
    QRadialGradient rebond(centre + QPointF(0, rayon * 0.55), rayon * 0.6);
    rebond.setColorAt(0.0, QColor(255, 255, 255, 40));
    rebond.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(rebond);
    p.drawEllipse(centre, rayon, rayon);
    QRadialGradient eclat(centre + QPointF(-rayon * 0.38, -rayon * 0.45), rayon * 0.35);
    eclat.setColorAt(0.0, QColor(255, 255, 255, 230));
    eclat.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(eclat);
    p.drawEllipse(centre + QPointF(-rayon * 0.38, -rayon * 0.45), rayon * 0.35, rayon * 0.3);
    p.restore();
}

void pilule(QPainter& p, const QRectF& r, QColor couleur) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const double ry = r.height() / 2;
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(1.5, 2.5), ry, ry);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, melange(couleur, Qt::white, 0.5));
    g.setColorAt(0.45, couleur);
    g.setColorAt(1.0, couleur.darker(230));
    p.setBrush(g);
    p.drawRoundedRect(r, ry, ry);
    QRectF haut(r.left() + ry * 0.6, r.top() + 1.5, r.width() - ry * 1.2, r.height() * 0.38);
    QLinearGradient h(haut.topLeft(), haut.bottomLeft());
    h.setColorAt(0.0, QColor(255, 255, 255, 200));
    h.setColorAt(1.0, QColor(255, 255, 255, 10));
    p.setBrush(h);
    p.drawRoundedRect(haut, haut.height() / 2, haut.height() / 2);
    p.restore();
}

void barre(QImage& cible, const QRectF& r, QColor couleur) {
    QPainterPath forme;
    forme.addRoundedRect(r, 5, 5);
    ombre(cible, forme, QPointF(2, 3), 5, 0.75);
    QPainter p(&cible);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, melange(couleur, Qt::white, 0.45));
    g.setColorAt(0.5, couleur);
    g.setColorAt(0.52, couleur.darker(112));
    g.setColorAt(1.0, couleur.darker(170));
    p.setPen(QPen(couleur.darker(250), 1));
    p.setBrush(g);
    p.drawPath(forme);
    // Bevel: light on the top and left edge, dark on the bottom.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.2));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    p.setPen(QPen(QColor(0, 0, 0, 60), 1.0));
    p.drawLine(QPointF(r.left() + 4, r.bottom() - 1.5), QPointF(r.right() - 4, r.bottom() - 1.5));
}

void metal(QPainter& p, const QPainterPath& chemin, double epaisseur, QColor teinte) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(teinte.darker(260), epaisseur + 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(chemin);
    p.setPen(QPen(teinte.darker(130), epaisseur, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(chemin);
    p.setPen(QPen(teinte, epaisseur * 0.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(chemin.translated(-epaisseur * 0.12, -epaisseur * 0.15));
    p.setPen(QPen(melange(teinte, Qt::white, 0.75), std::max(0.8, epaisseur * 0.22), Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(chemin.translated(-epaisseur * 0.22, -epaisseur * 0.26));
    p.restore();
}

} // namespace quorvel::generateur
