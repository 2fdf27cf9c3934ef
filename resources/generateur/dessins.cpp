#include "dessins.hpp"

#include "matieres.hpp"
#include "plateforme/version.hpp"

#include <QConicalGradient>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace quorvel::generateur {
namespace {

// Where the widgets sit on the main window, so that their textures continue
// the desk under them.
constexpr QPointF origine_horloge1{252, 4}, centre_horloge1{73, 69};
constexpr QPointF origine_horloge2{251, 4}, centre_horloge2{77, 74};
constexpr QPointF origine_calculette{14, 16};
constexpr QRectF zone_page{11, 147, 387, 278};

const QColor laiton(214, 172, 84);
const QColor vert_touche(74, 178, 78);
const QColor rouge_touche(212, 40, 34);
const QColor kaki_touche(190, 176, 104);

// Device pixels per unit of the picture being drawn: 1, or 2 for the copy of
// high-density screens. Every picture is laid out in its 1x units; its
// device pixel ratio scales the painters, and the per-pixel fills follow it.
int echelle = 1;

QImage vierge(int w, int h, int e = echelle) {
    QImage im(w * e, h * e, QImage::Format_ARGB32_Premultiplied);
    im.setDevicePixelRatio(e);
    im.fill(Qt::transparent);
    return im;
}

// A piece of a picture, in its units.
QImage decoupe(const QImage& image, int x, int y, int w, int h) {
    return image.copy(x * echelle, y * echelle, w * echelle, h * echelle);
}

QFont police(const char* nom, int pixels, bool gras, bool italique = false) {
    QFont f(QString::fromLatin1(nom));
    f.setPixelSize(pixels);
    f.setBold(gras);
    f.setItalic(italique);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QPainterPath cercle(QPointF c, double r) {
    QPainterPath p;
    p.addEllipse(c, r, r);
    return p;
}

QPainterPath rectangle_arrondi(const QRectF& r, double rayon) {
    QPainterPath p;
    p.addRoundedRect(r, rayon, rayon);
    return p;
}

// ---------------------------------------------------------------- the desk

const QImage& bureau_nu() {
    static std::map<int, QImage> bureaux;
    QImage& bureau = bureaux[echelle];
    if (bureau.isNull()) {
        bureau = vierge(411, 455);
        remplit(bureau, marbre_rouge);
        eclairage(bureau, QRectF(0, 0, 411, 455), 1.0);
    }
    return bureau;
}

QImage decoupe_bureau(QPointF origine, int w, int h) {
    return decoupe(bureau_nu(), static_cast<int>(origine.x()), static_cast<int>(origine.y()), w, h);
}

// Clock face: a brass rim set in the marble, a pale marble dial, twelve studs
// and a knob at the centre.
void dessine_cadran(QImage& im, QPointF c, bool riche) {
    const double r_ext = 64, r_int = 55;
    ombre(im, cercle(c, r_ext), QPointF(3, 4), 8, 0.8);
    remplit_forme(im, cercle(c, r_int), [&](double x, double y) {
        return marbre_creme(x - c.x() + 300, y - c.y() + 120);
    });
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    // Hollow of the dial: darker toward the rim.
    QRadialGradient creux(c, r_int);
    creux.setColorAt(0.72, QColor(0, 0, 0, 0));
    creux.setColorAt(0.93, QColor(60, 40, 20, riche ? 60 : 45));
    creux.setColorAt(1.0, QColor(40, 20, 10, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(creux);
    p.drawEllipse(c, r_int, r_int);
    // Brass rim lit like polished metal.
    QPainterPath anneau = cercle(c, r_ext).subtracted(cercle(c, r_int));
    QConicalGradient eclat(c, 135);
    const QColor base = riche ? QColor(222, 178, 86) : laiton;
    eclat.setColorAt(0.0, melange(base, Qt::white, 0.7));
    eclat.setColorAt(0.12, base);
    eclat.setColorAt(0.3, base.darker(150));
    eclat.setColorAt(0.5, base.darker(210));
    eclat.setColorAt(0.62, base.darker(140));
    eclat.setColorAt(0.8, base);
    eclat.setColorAt(0.9, melange(base, Qt::white, 0.45));
    eclat.setColorAt(1.0, melange(base, Qt::white, 0.7));
    p.setBrush(eclat);
    p.drawPath(anneau);
    // Mouldings of the rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(base.darker(260), 1.2));
    p.drawEllipse(c, r_ext - 0.5, r_ext - 0.5);
    p.setPen(QPen(base.darker(200), 1.0));
    p.drawEllipse(c, r_int + 0.5, r_int + 0.5);
    p.setPen(QPen(QColor(255, 244, 210, 150), 1.0));
    p.drawEllipse(c, (r_ext + r_int) / 2 + 1.5, (r_ext + r_int) / 2 + 1.5);
    p.setPen(QPen(QColor(90, 60, 20, 110), 0.8));
    p.drawEllipse(c, (r_ext + r_int) / 2 - 0.5, (r_ext + r_int) / 2 - 0.5);
    // Engraved chapter ring.
    p.setPen(QPen(QColor(120, 100, 80, 120), 0.8));
    p.drawEllipse(c, 50.5, 50.5);
    p.drawEllipse(c, 41.5, 41.5);
    // Minute dots between the studs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 90, 70, 170));
    for (int m = 0; m < 60; ++m) {
        if (m % 5 == 0)
            continue;
        const double a = m * M_PI / 30;
        p.drawEllipse(c + QPointF(std::sin(a), -std::cos(a)) * 46, 0.8, 0.8);
    }
    for (int h = 0; h < 12; ++h) {
        const double a = h * M_PI / 6;
        const double r = (h % 3 == 0) ? 3.8 : 2.9;
        bille(p, c + QPointF(std::sin(a), -std::cos(a)) * 46, r, base);
    }
    if (riche) {
        // Glass reflection over the upper left of the dial.
        QPainterPath reflet;
        reflet.addEllipse(c + QPointF(-20, -26), 30, 18);
        reflet = reflet.intersected(cercle(c, r_int - 2));
        QLinearGradient g(c + QPointF(-40, -45), c + QPointF(0, -5));
        g.setColorAt(0.0, QColor(255, 255, 255, 70));
        g.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawPath(reflet);
    }
    bille(p, c, 5.5, base);
}

// Calculator case: pale marble slab with a bevel, a recessed display slot,
// and a ball or a pill under every key label.
void dessine_calculette(QImage& im, bool riche) {
    const QRectF caisse(1, 1, 213, 117);
    const QPainterPath forme = rectangle_arrondi(caisse, 10);
    ombre(im, forme, QPointF(2.5, 3), 5, 0.85);
    remplit_forme(im, forme, [](double x, double y) { return marbre_creme(x + 40, y + 300); });
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient relief(caisse.topLeft(), caisse.bottomRight());
    relief.setColorAt(0.0, QColor(255, 255, 255, riche ? 70 : 50));
    relief.setColorAt(0.5, QColor(255, 255, 255, 0));
    relief.setColorAt(1.0, QColor(0, 0, 0, riche ? 70 : 55));
    p.setPen(Qt::NoPen);
    p.setBrush(relief);
    p.drawPath(forme);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.5));
    p.drawRoundedRect(caisse.adjusted(1.5, 1.5, -1.5, -1.5), 9, 9);
    p.setPen(QPen(QColor(80, 60, 40, 160), 1.0));
    p.drawPath(forme);
    // Brass inlay along the edge.
    p.setPen(QPen(riche ? QColor(200, 160, 70) : laiton.darker(110), 1.0));
    p.drawRoundedRect(caisse.adjusted(4.5, 4.5, -4.5, -4.5), 7, 7);
    // Display slot: a dark bevel around the program's black strip.
    const QRectF fente(8, 8, 205, 27);
    p.setPen(Qt::NoPen);
    QLinearGradient g(fente.topLeft(), fente.bottomLeft());
    g.setColorAt(0.0, QColor(40, 30, 25));
    g.setColorAt(1.0, QColor(150, 135, 120));
    p.setBrush(g);
    p.drawRoundedRect(fente, 4, 4);
    p.setBrush(QColor(10, 12, 10));
    p.drawRect(QRectF(11, 11, 199, 21));
    const int gauches[] = {7, 41, 75, 109, 147, 181};
    const int hauts[] = {39, 66, 93};
    for (int rang = 0; rang < 3; ++rang)
        for (int col = 0; col < 6; ++col) {
            if (rang == 2 && col >= 4)
                continue;
            const QPointF centre(gauches[col] + 15, hauts[rang] + 11);
            QColor couleur = vert_touche;
            if (rang == 0 && col == 3)
                couleur = rouge_touche;
            if (col >= 4)
                couleur = kaki_touche;
            if (riche)
                couleur = couleur.lighter(106);
            bille(p, centre, 11.5, couleur);
        }
    pilule(p, QRectF(148, 93.5, 61, 21), riche ? kaki_touche.lighter(106) : kaki_touche);
}

void ombre_page(QImage& im) {
    ombre(im, rectangle_arrondi(zone_page, 3), QPointF(3, 4), 9, 0.9);
}

QImage fond_calendrier();

QImage fond1() {
    QImage im = bureau_nu();
    ombre_page(im);
    QImage cadran = decoupe_bureau(origine_horloge1, 154, 154);
    dessine_cadran(cadran, centre_horloge1, false);
    QImage calc = decoupe_bureau(origine_calculette, 218, 122);
    dessine_calculette(calc, false);
    QPainter p(&im);
    p.drawImage(origine_horloge1, cadran);
    p.drawImage(origine_calculette, calc);
    p.drawImage(zone_page.topLeft(), fond_calendrier());
    p.end();
    // The three painted bar buttons under the labels.
    barre(im, QRectF(15, 427, 143, 25), QColor(236, 134, 32));
    barre(im, QRectF(169, 426, 143, 25), QColor(70, 168, 66));
    barre(im, QRectF(320, 426, 79, 25), QColor(122, 72, 38));
    return im;
}

QImage horloge(bool riche) {
    QImage im = decoupe_bureau(riche ? origine_horloge2 : origine_horloge1, 154, 154);
    dessine_cadran(im, riche ? centre_horloge2 : centre_horloge1, riche);
    return im;
}

QImage calculette(bool riche) {
    QImage im = decoupe_bureau(origine_calculette, 218, 122);
    dessine_calculette(im, riche);
    return im;
}

// ------------------------------------------------------------- wood frames

// A moulded wooden frame of width `largeur` around the image, the grain
// following each side and the corners mitred.
void cadre_bois(QImage& im, double largeur, double teinte) {
    const double w = im.deviceIndependentSize().width(), h = im.deviceIndependentSize().height();
    QPainterPath haut, bas, gauche, droite;
    haut.moveTo(0, 0);
    haut.lineTo(w, 0);
    haut.lineTo(w - largeur, largeur);
    haut.lineTo(largeur, largeur);
    bas.moveTo(0, h);
    bas.lineTo(w, h);
    bas.lineTo(w - largeur, h - largeur);
    bas.lineTo(largeur, h - largeur);
    gauche.moveTo(0, 0);
    gauche.lineTo(largeur, largeur);
    gauche.lineTo(largeur, h - largeur);
    gauche.lineTo(0, h);
    droite.moveTo(w, 0);
    droite.lineTo(w - largeur, largeur);
    droite.lineTo(w - largeur, h - largeur);
    droite.lineTo(w, h);
    remplit_forme(im, haut, [&](double x, double y) { return bois(x, y + 900, true, teinte); });
    remplit_forme(im, bas, [&](double x, double y) { return bois(x + 50, y + 300, true, teinte); });
    remplit_forme(im, gauche, [&](double x, double y) { return bois(x + 700, y, false, teinte); });
    remplit_forme(im, droite,
                  [&](double x, double y) { return bois(x + 100, y + 40, false, teinte); });
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    // Light from the top left: the top and left sides catch it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 210, 45));
    p.drawPath(haut);
    p.drawPath(gauche);
    p.setBrush(QColor(0, 0, 0, 55));
    p.drawPath(bas);
    p.drawPath(droite);
    // Moulding: a rounded bead in the middle of the frame, and the joints.
    p.setBrush(Qt::NoBrush);
    const QRectF milieu(largeur / 2, largeur / 2, w - largeur, h - largeur);
    p.setPen(QPen(QColor(255, 235, 200, 90), 1.2));
    p.drawRect(milieu.translated(-0.6, -0.6));
    p.setPen(QPen(QColor(40, 20, 5, 110), 1.0));
    p.drawRect(milieu.translated(0.6, 0.6));
    p.setPen(QPen(QColor(30, 15, 5, 140), 1.0));
    p.drawLine(QPointF(0.5, 0.5), QPointF(largeur, largeur));
    p.drawLine(QPointF(w - 0.5, 0.5), QPointF(w - largeur, largeur));
    p.drawLine(QPointF(0.5, h - 0.5), QPointF(largeur, h - largeur));
    p.drawLine(QPointF(w - 0.5, h - 0.5), QPointF(w - largeur, h - largeur));
    p.setPen(QPen(QColor(20, 10, 0, 170), 1.0));
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    p.setPen(QPen(QColor(20, 10, 0, 150), 1.0));
    p.drawRect(QRectF(largeur - 0.5, largeur - 0.5, w - 2 * largeur + 1, h - 2 * largeur + 1));
}

// A sheet of paper with a soft shadow and the stack of sheets under it.
void feuille(QImage& im, const QRectF& r, int epaisseur_pile) {
    ombre(im, rectangle_arrondi(r.adjusted(0, 0, 0, epaisseur_pile * 1.3), 1), QPointF(2, 3), 6,
          0.7);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = epaisseur_pile; k >= 1; --k) {
        p.setPen(QPen(QColor(150, 145, 135), 0.8));
        p.setBrush(QColor(238 - 7 * k, 236 - 7 * k, 230 - 7 * k));
        p.drawRect(r.translated(0, k * 1.3));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(r);
}

// A turned-up page corner with an arrow on its back; `gauche` for the bottom
// left corner, otherwise the bottom right one. a is on the page edge, b on
// the bottom edge.
void corne(QImage& im, QPointF coin, QPointF a, QPointF b, bool gauche) {
    // The flap is the corner folded over the line a-b.
    const QPointF d = b - a;
    const double t = QPointF::dotProduct(coin - a, d) / QPointF::dotProduct(d, d);
    const QPointF pied = a + d * t;
    const QPointF rabat = pied * 2 - coin;
    QPainterPath dessous;
    dessous.moveTo(a);
    dessous.lineTo(coin);
    dessous.lineTo(b);
    dessous.closeSubpath();
    QPainterPath pli;
    pli.moveTo(a);
    pli.lineTo(rabat);
    pli.lineTo(b);
    pli.closeSubpath();
    {
        QPainter p(&im);
        p.setRenderHint(QPainter::Antialiasing);
        // What shows where the corner was: the next page, in its shade.
        QLinearGradient g(coin, pied);
        g.setColorAt(0.0, QColor(214, 210, 200));
        g.setColorAt(1.0, QColor(170, 165, 155));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(dessous);
    }
    ombre(im, pli, QPointF(gauche ? 2 : -2, -1.5), 4, 0.55);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient dos(pied, rabat);
    dos.setColorAt(0.0, QColor(250, 248, 242));
    dos.setColorAt(0.6, QColor(232, 228, 218));
    dos.setColorAt(1.0, QColor(205, 200, 188));
    p.setPen(QPen(QColor(150, 144, 132), 0.8));
    p.setBrush(dos);
    p.drawPath(pli);
    // The arrow, pointing the way the page turns.
    const QPointF centre = (a + b + rabat) / 3.0;
    const double sens = gauche ? -1 : 1;
    QPainterPath fleche;
    fleche.moveTo(centre + QPointF(sens * 6, 0));
    fleche.lineTo(centre + QPointF(sens * 0.5, -4.5));
    fleche.lineTo(centre + QPointF(sens * 0.5, -1.8));
    fleche.lineTo(centre + QPointF(-sens * 5.5, -1.8));
    fleche.lineTo(centre + QPointF(-sens * 5.5, 1.8));
    fleche.lineTo(centre + QPointF(sens * 0.5, 1.8));
    fleche.lineTo(centre + QPointF(sens * 0.5, 4.5));
    fleche.closeSubpath();
    p.setPen(QPen(QColor(110, 10, 10), 0.8));
    p.setBrush(QColor(196, 30, 30));
    p.drawPath(fleche.translated(0.5, 1));
}

QImage fond_calendrier() {
    QImage im = vierge(387, 278);
    remplit(im, [](double x, double y) { return bois(x + 400, y + 200, true, 0.35); });
    eclairage(im, QRectF(0, 0, 387, 278), 0.6);
    cadre_bois(im, 8, 0.3);
    const QRectF gauche(12, 11, 180, 257), droite(196, 11, 179, 257);
    feuille(im, gauche, 3);
    feuille(im, droite, 3);
    {
        QPainter p(&im);
        p.setRenderHint(QPainter::Antialiasing);
        // The pages curve down into the binding.
        QLinearGradient pli_g(gauche.right() - 12, 0, gauche.right(), 0);
        pli_g.setColorAt(0.0, QColor(0, 0, 0, 0));
        pli_g.setColorAt(1.0, QColor(60, 50, 40, 70));
        p.fillRect(QRectF(gauche.right() - 12, gauche.top(), 12, gauche.height()), pli_g);
        QLinearGradient pli_d(droite.left(), 0, droite.left() + 12, 0);
        pli_d.setColorAt(0.0, QColor(60, 50, 40, 70));
        pli_d.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(droite.left(), droite.top(), 12, droite.height()), pli_d);
        // Agenda ruling: one line under each hour, a red margin after the hours.
        p.setPen(QPen(QColor(176, 192, 214), 1.0));
        for (int k = 0; k < 13; ++k) {
            const double y = 39.5 + 18 * k;
            p.drawLine(QPointF(216, y), QPointF(373, y));
        }
        p.setPen(QPen(QColor(220, 120, 120), 1.0));
        p.drawLine(QPointF(249.5, 14), QPointF(249.5, 262));
        // Header rule of the left page, printed in the page's red.
        p.setPen(QPen(QColor(200, 60, 50, 160), 1.0));
        p.drawLine(QPointF(16, 14.5), QPointF(168, 14.5));
        p.drawLine(QPointF(216, 14.5), QPointF(373, 14.5));
    }
    corne(im, QPointF(12, 268), QPointF(12, 245), QPointF(36, 268), true);
    corne(im, QPointF(375, 268), QPointF(375, 245), QPointF(351, 268), false);
    // Rings through the punched holes of both pages.
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < 8; ++k) {
        const double y = 24 + 32 * k;
        p.setPen(Qt::NoPen);
        for (double x : {181.0, 206.0}) {
            QRadialGradient trou(QPointF(x, y), 3.5);
            trou.setColorAt(0.0, QColor(70, 45, 25));
            trou.setColorAt(1.0, QColor(120, 90, 60));
            p.setBrush(trou);
            p.drawEllipse(QPointF(x, y), 3.0, 3.4);
        }
        QPainterPath arc;
        arc.moveTo(181, y + 1);
        arc.cubicTo(183, y - 12, 204, y - 12, 206, y + 1);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0, 60), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(arc.translated(1.5, 3));
        metal(p, arc, 3.6, QColor(205, 210, 218));
    }
    return im;
}

QImage fond_note() {
    QImage im = vierge(387, 278);
    remplit(im, [](double x, double y) { return bois(x + 40, y + 650, true, 0.35); });
    eclairage(im, QRectF(0, 0, 387, 278), 0.6);
    cadre_bois(im, 7, 0.3);
    const QRectF papier(12, 20, 363, 250);
    feuille(im, papier, 4);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    // Head band of the pad.
    QLinearGradient bande(0, papier.top(), 0, papier.top() + 22);
    bande.setColorAt(0.0, QColor(232, 236, 244));
    bande.setColorAt(1.0, QColor(255, 255, 255));
    p.fillRect(QRectF(papier.left(), papier.top(), papier.width(), 22), bande);
    // The ruling is drawn by the note box itself, from its font's lines.
    p.setPen(QPen(QColor(226, 110, 110), 1.0));
    p.drawLine(QPointF(22.5, papier.top() + 20), QPointF(22.5, papier.bottom()));
    p.drawLine(QPointF(24.5, papier.top() + 20), QPointF(24.5, papier.bottom()));
    // Spiral binding: a coil through every hole along the top.
    for (double x = 22; x < papier.right() - 6; x += 13) {
        p.setPen(Qt::NoPen);
        QRadialGradient trou(QPointF(x, 33), 3.2);
        trou.setColorAt(0.0, QColor(60, 40, 25));
        trou.setColorAt(1.0, QColor(130, 110, 90));
        p.setBrush(trou);
        p.drawEllipse(QPointF(x, 33), 2.6, 3.0);
        QPainterPath spire;
        spire.moveTo(x + 1.5, 34);
        spire.cubicTo(x + 3, 22, x + 6, 8, x + 2, 9);
        spire.cubicTo(x - 2, 10, x - 2, 20, x - 0.5, 24);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0, 70), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(spire.translated(1.5, 2));
        metal(p, spire, 2.8, QColor(200, 204, 212));
    }
    return im;
}

// --------------------------------------------------- menu and message boards

QImage menu(bool riche) {
    QImage im = vierge(132, 232);
    remplit(im, [](double x, double y) { return bois(x + 300, y + 80, false, 0.45); });
    eclairage(im, QRectF(0, 0, 132, 232), riche ? 0.9 : 0.6);
    cadre_bois(im, 6, 0.25);
    struct Entree {
        const char* nom;
        double haut, hauteur;
    };
    const Entree entrees[] = {{"Saint", 14, 19}, {"Alarme", 52, 16},    {"Configuration", 88, 19},
                              {"Aide", 124, 16}, {"A propos", 160, 16}, {"Annuler", 196, 16}};
    for (int i = 0; i < 6; ++i) {
        const double cy = entrees[i].haut + entrees[i].hauteur / 2;
        const QRectF ovale(11, cy - 13.5, 110, 27);
        QPainterPath forme;
        forme.addEllipse(ovale);
        ombre(im, forme, QPointF(2, 3), 4, 0.8);
        QPainter p(&im);
        p.setRenderHint(QPainter::Antialiasing);
        QColor couleur = i == 5 ? QColor(206, 44, 36) : QColor(64, 170, 70);
        if (riche)
            couleur = i == 5 ? QColor(226, 52, 40) : QColor(56, 186, 84);
        if (riche) {
            // A brass bezel around each button.
            p.setPen(Qt::NoPen);
            QLinearGradient g(ovale.topLeft(), ovale.bottomRight());
            g.setColorAt(0.0, QColor(250, 226, 150));
            g.setColorAt(0.5, QColor(196, 150, 64));
            g.setColorAt(1.0, QColor(110, 76, 24));
            p.setBrush(g);
            p.drawEllipse(ovale);
        }
        const QRectF face = riche ? ovale.adjusted(2, 2, -2, -2) : ovale;
        QRadialGradient g(face.center(), face.width() / 2,
                          face.center() + QPointF(-face.width() * 0.18, -face.height() * 0.3));
        g.setColorAt(0.0, melange(couleur, Qt::white, riche ? 0.6 : 0.45));
        g.setColorAt(0.5, couleur);
        g.setColorAt(1.0, couleur.darker(riche ? 230 : 200));
        p.setPen(QPen(couleur.darker(300), 0.8));
        p.setBrush(g);
        p.drawEllipse(face);
        QRectF reflet(face.left() + 14, face.top() + 2, face.width() - 28, face.height() * 0.42);
        QLinearGradient h(reflet.topLeft(), reflet.bottomLeft());
        h.setColorAt(0.0, QColor(255, 255, 255, riche ? 190 : 140));
        h.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(h);
        p.drawEllipse(reflet);
        if (!riche) {
            p.setFont(police("Times New Roman", 15, true));
            p.setPen(Qt::black);
            p.drawText(QRectF(0, entrees[i].haut, i == 0 ? 132 : 131, entrees[i].hauteur),
                       Qt::AlignCenter, QString::fromUtf8(entrees[i].nom));
        }
    }
    return im;
}

QImage message(bool riche) {
    QImage im = vierge(231, 161);
    remplit(im, [](double x, double y) { return bois(x + 120, y + 520, true, 0.85); });
    eclairage(im, QRectF(0, 0, 231, 161), riche ? 0.7 : 0.45);
    cadre_bois(im, 11, riche ? 0.2 : 0.28);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    // Sunken panel edge inside the moulding.
    p.setPen(QPen(QColor(90, 60, 30, 140), 1.0));
    p.drawRect(QRectF(14.5, 14.5, 202, 132));
    p.setPen(QPen(QColor(255, 245, 225, 150), 1.0));
    p.drawRect(QRectF(15.5, 15.5, 200, 130));
    p.end();
    // Oval brass plate under "OK".
    const QRectF plaque(78, 120, 79, 21);
    QPainterPath forme;
    forme.addEllipse(plaque);
    ombre(im, forme, QPointF(1.5, 2), 3, 0.7);
    QPainter q(&im);
    q.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(plaque.topLeft(), plaque.bottomLeft());
    g.setColorAt(0.0, riche ? QColor(255, 236, 170) : QColor(240, 214, 140));
    g.setColorAt(0.5, riche ? QColor(218, 172, 80) : QColor(206, 166, 86));
    g.setColorAt(1.0, QColor(140, 100, 36));
    q.setPen(QPen(QColor(96, 64, 20), 1.0));
    q.setBrush(g);
    q.drawEllipse(plaque);
    q.setPen(QPen(QColor(255, 246, 210, 170), 0.8));
    q.setBrush(Qt::NoBrush);
    q.drawEllipse(plaque.adjusted(2.5, 2.5, -2.5, -2.5));
    return im;
}

// ------------------------------------------------------ logo, splash, about

// The emblem: a globe turning on its axis, a brass ring around it and a small
// moon on the ring that goes round once every 13 frames.
void globe(QPainter& p, QPointF c, double r, int image) {
    const double phase = image * (2 * M_PI / 12) / 13.0; // meridians 30 degrees apart
    const double orbite = image * 2 * M_PI / 13.0;
    const double inclinaison = -18.0;
    const double ra = r * 1.45, rb = r * 0.38;
    auto point_anneau = [&](double a) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(inclinaison);
        return t.map(QPointF(ra * std::cos(a), rb * std::sin(a)));
    };
    auto anneau = [&](double de, double a) {
        QPainterPath chemin;
        const int n = 48;
        for (int i = 0; i <= n; ++i) {
            const QPointF q = point_anneau(de + (a - de) * i / n);
            if (i == 0)
                chemin.moveTo(q);
            else
                chemin.lineTo(q);
        }
        return chemin;
    };
    const QPointF lune = point_anneau(orbite);
    const bool lune_devant = std::sin(orbite) > 0;
    p.setRenderHint(QPainter::Antialiasing);
    metal(p, anneau(M_PI, 2 * M_PI), r * 0.09, QColor(206, 164, 76));
    if (!lune_devant)
        bille(p, lune, r * 0.16, QColor(236, 226, 200));
    // Sphere.
    QRadialGradient mer(c, r, c + QPointF(-r * 0.35, -r * 0.4));
    mer.setColorAt(0.0, QColor(120, 190, 235));
    mer.setColorAt(0.5, QColor(28, 92, 170));
    mer.setColorAt(0.95, QColor(10, 34, 80));
    mer.setColorAt(1.0, QColor(5, 20, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(mer);
    p.drawEllipse(c, r, r);
    p.save();
    p.translate(c);
    p.rotate(inclinaison);
    p.setClipPath(cercle(QPointF(0, 0), r));
    p.setBrush(Qt::NoBrush);
    // Latitudes.
    p.setPen(QPen(QColor(236, 200, 110, 200), std::max(0.8, r * 0.03)));
    for (double lat : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
        const double phi = lat * M_PI / 180;
        p.drawLine(QPointF(-r * std::cos(phi), -r * std::sin(phi)),
                   QPointF(r * std::cos(phi), -r * std::sin(phi)));
    }
    // Meridians on the visible side, turning with the frame.
    for (int m = 0; m < 12; ++m) {
        const double lambda = m * M_PI / 6 + phase;
        if (std::cos(lambda) < 0)
            continue;
        QPainterPath chemin;
        for (int i = 0; i <= 40; ++i) {
            const double phi = -M_PI / 2 + M_PI * i / 40;
            const QPointF q(r * std::sin(lambda) * std::cos(phi), -r * std::sin(phi));
            if (i == 0)
                chemin.moveTo(q);
            else
                chemin.lineTo(q);
        }
        const int alpha = static_cast<int>(90 + 130 * std::cos(lambda));
        p.setPen(QPen(QColor(236, 200, 110, alpha), std::max(0.8, r * 0.03)));
        p.drawPath(chemin);
    }
    p.restore();
    // Night side and gloss.
    QRadialGradient nuit(c + QPointF(r * 0.5, r * 0.5), r * 1.3);
    nuit.setColorAt(0.0, QColor(0, 0, 20, 110));
    nuit.setColorAt(0.6, QColor(0, 0, 20, 0));
    p.setBrush(nuit);
    p.drawEllipse(c, r, r);
    QRadialGradient eclat(c + QPointF(-r * 0.4, -r * 0.45), r * 0.45);
    eclat.setColorAt(0.0, QColor(255, 255, 255, 200));
    eclat.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(eclat);
    p.drawEllipse(c + QPointF(-r * 0.4, -r * 0.45), r * 0.42, r * 0.34);
    metal(p, anneau(0, M_PI), r * 0.09, QColor(220, 178, 86));
    if (lune_devant)
        bille(p, lune, r * 0.16, QColor(236, 226, 200));
}

// A red marble panel with a gilt fillet, as the splash and the about box use.
QImage panneau_marbre(int w, int h, QPointF origine) {
    QImage im = vierge(w, h);
    remplit(im, marbre_rouge, origine.x(), origine.y());
    eclairage(im, QRectF(0, 0, w, h), 1.0);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 84, 24), 3.0));
    p.drawRect(QRectF(5.5, 5.5, w - 11, h - 11));
    p.setPen(QPen(QColor(236, 196, 100), 1.6));
    p.drawRect(QRectF(5, 5, w - 10.5, h - 10.5));
    p.setPen(QPen(QColor(236, 196, 100, 150), 0.8));
    p.drawRect(QRectF(9.5, 9.5, w - 19, h - 19));
    return im;
}

void plaque_creme(QImage& im, const QRectF& r) {
    QPainterPath forme = rectangle_arrondi(r, r.height() / 2);
    ombre(im, forme, QPointF(2, 3), 5, 0.8);
    remplit_forme(im, forme, [](double x, double y) { return marbre_creme(x + 500, y + 60); });
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(255, 255, 255, 70));
    g.setColorAt(1.0, QColor(0, 0, 0, 50));
    p.setPen(QPen(QColor(170, 126, 50), 1.4));
    p.setBrush(g);
    p.drawPath(forme);
}

QImage splash() {
    QImage im = panneau_marbre(324, 200, QPointF(40, 250));
    {
        QImage halo = vierge(324, 200);
        QPainter p(&halo);
        QRadialGradient g(QPointF(162, 52), 70);
        g.setColorAt(0.0, QColor(255, 220, 180, 70));
        g.setColorAt(1.0, QColor(255, 220, 180, 0));
        p.fillRect(halo.rect(), g);
        p.end();
        QPainter q(&im);
        q.drawImage(0, 0, halo);
    }
    QPainter p(&im);
    globe(p, QPointF(162, 54), 34, 2);
    p.end();
    plaque_creme(im, QRectF(58, 170, 208, 26));
    return im;
}

QImage a_propos_vraies_couleurs() {
    static std::map<int, QImage> caches;
    QImage& cache = caches[echelle];
    if (!cache.isNull())
        return cache;
    QImage im = panneau_marbre(322, 213, QPointF(300, 480));
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(police("Times New Roman", 24, true, true));
    p.setPen(QColor(60, 10, 10, 160));
    p.drawText(QRectF(119, 23, 190, 34), Qt::AlignCenter, QStringLiteral("Agenda de bureau"));
    p.setPen(QColor(240, 204, 112));
    p.drawText(QRectF(118, 22, 190, 34), Qt::AlignCenter, QStringLiteral("Agenda de bureau"));
    p.setFont(police("Times New Roman", 13, false, true));
    p.setPen(QColor(250, 230, 210));
    p.drawText(QRectF(118, 56, 190, 20), Qt::AlignCenter,
               QString::fromUtf8("Calendrier \u00b7 Horloge \u00b7 Alarmes"));
    p.end();
    plaque_creme(im, QRectF(70, 170, 182, 28));
    QPainter q(&im);
    q.setRenderHint(QPainter::TextAntialiasing);
    q.setFont(police("Times New Roman", 15, true, true));
    q.setPen(QColor(130, 20, 20));
    q.drawText(QRectF(70, 170, 182, 28), Qt::AlignCenter,
               QStringLiteral("Version " QUORVEL_VERSION));
    q.end();
    cache = im;
    return im;
}

QImage a_propos() {
    return a_propos_vraies_couleurs();
}

QImage logo(int image) {
    // The logo sits at (12, 4) in the about box's panel, whose picture starts
    // at (1, 1): each frame carries the piece of background it covers.
    QImage im = decoupe(a_propos_vraies_couleurs(), 11, 3, 100, 100);
    QPainter p(&im);
    globe(p, QPointF(50, 50), 30, image - 1);
    return im;
}

// ---------------------------------------------------------------- buttons

// Button glyphs: drawn with anti-aliasing on a transparent ground.
QImage glyphe(int w, int h, const std::function<void(QPainter&, QRectF)>& dessin) {
    QImage im = vierge(w, h);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    dessin(p, QRectF(0, 0, w, h));
    return im;
}

// A thick glossy shape: dark outline, colour body, light upper half.
void forme_brillante(QPainter& p, const QPainterPath& forme, QColor couleur) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawPath(forme.translated(1, 1.2));
    const QRectF b = forme.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, melange(couleur, Qt::white, 0.5));
    g.setColorAt(0.5, couleur);
    g.setColorAt(1.0, couleur.darker(190));
    p.setPen(QPen(couleur.darker(260), 1.0));
    p.setBrush(g);
    p.drawPath(forme);
    p.restore();
}

QPainterPath croix(QPointF c, double bras, double epaisseur) {
    QPainterPath h, v;
    h.addRoundedRect(QRectF(c.x() - bras, c.y() - epaisseur / 2, 2 * bras, epaisseur), 1.5, 1.5);
    v.addRoundedRect(QRectF(c.x() - epaisseur / 2, c.y() - bras, epaisseur, 2 * bras), 1.5, 1.5);
    return h.united(v);
}

QPainterPath tiret(QPointF c, double bras, double epaisseur) {
    QPainterPath h;
    h.addRoundedRect(QRectF(c.x() - bras, c.y() - epaisseur / 2, 2 * bras, epaisseur), 1.5, 1.5);
    return h;
}

QImage coche(int w, int h) {
    return glyphe(w, h, [](QPainter& p, QRectF r) {
        const double s = std::min(r.width(), r.height());
        const QPointF o(r.center().x() - s / 2, r.center().y() - s / 2);
        QPainterPath trait;
        trait.moveTo(o + QPointF(s * 0.12, s * 0.52));
        trait.lineTo(o + QPointF(s * 0.38, s * 0.80));
        trait.lineTo(o + QPointF(s * 0.90, s * 0.16));
        QPainterPathStroker contour;
        contour.setWidth(s * 0.2);
        contour.setCapStyle(Qt::RoundCap);
        contour.setJoinStyle(Qt::RoundJoin);
        forme_brillante(p, contour.createStroke(trait).simplified(), QColor(40, 160, 50));
    });
}

QImage plus(int w, int h) {
    return glyphe(w, h, [](QPainter& p, QRectF r) {
        const double s = std::min(r.width(), r.height());
        forme_brillante(p, croix(r.center(), s * 0.4, s * 0.26), QColor(40, 160, 50));
    });
}

QImage moins(int w, int h) {
    return glyphe(w, h, [](QPainter& p, QRectF r) {
        const double s = std::min(r.width(), r.height());
        forme_brillante(p, tiret(r.center(), s * 0.4, s * 0.26), QColor(210, 40, 34));
    });
}

QImage plus_moins(int w, int h) {
    return glyphe(w, h, [](QPainter& p, QRectF r) {
        const double s = std::min(r.width(), r.height());
        const QPointF c = r.center();
        forme_brillante(p, croix(c + QPointF(-s * 0.12, -s * 0.17), s * 0.27, s * 0.18),
                        QColor(40, 160, 50));
        forme_brillante(p, tiret(c + QPointF(s * 0.12, s * 0.33), s * 0.27, s * 0.18),
                        QColor(210, 40, 34));
    });
}

QImage fleche(int w, int h, bool gauche) {
    return glyphe(w, h, [gauche](QPainter& p, QRectF r) {
        const QRectF z =
            r.adjusted(r.width() * 0.08, r.height() * 0.1, -r.width() * 0.1, -r.height() * 0.12);
        const double pointe = z.height() * 0.9;
        QPainterPath f;
        f.moveTo(z.right(), z.center().y());
        f.lineTo(z.right() - pointe, z.top());
        f.lineTo(z.right() - pointe, z.top() + z.height() * 0.28);
        f.lineTo(z.left(), z.top() + z.height() * 0.28);
        f.lineTo(z.left(), z.bottom() - z.height() * 0.28);
        f.lineTo(z.right() - pointe, z.bottom() - z.height() * 0.28);
        f.lineTo(z.right() - pointe, z.bottom());
        f.closeSubpath();
        if (gauche) {
            QTransform miroir;
            miroir.translate(r.width(), 0);
            miroir.scale(-1, 1);
            f = miroir.map(f);
        }
        forme_brillante(p, f, QColor(36, 84, 186));
    });
}

QImage haut_parleur() {
    return glyphe(16, 15, [](QPainter& p, QRectF) {
        QPainterPath corps;
        corps.moveTo(1.5, 5);
        corps.lineTo(4.5, 5);
        corps.lineTo(8.5, 1.5);
        corps.lineTo(8.5, 13.5);
        corps.lineTo(4.5, 10);
        corps.lineTo(1.5, 10);
        corps.closeSubpath();
        QLinearGradient g(0, 1, 0, 14);
        g.setColorAt(0.0, QColor(200, 200, 210));
        g.setColorAt(1.0, QColor(70, 70, 80));
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(g);
        p.drawPath(corps);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(20, 20, 120), 1.2));
        p.drawArc(QRectF(6.5, 4.5, 6, 6), -50 * 16, 100 * 16);
        p.drawArc(QRectF(5, 2, 10, 11), -50 * 16, 100 * 16);
    });
}

QImage cloche() {
    return glyphe(11, 11, [](QPainter& p, QRectF) {
        QPainterPath b;
        b.moveTo(5.5, 1);
        b.cubicTo(8.3, 1, 8.4, 4, 8.6, 6.5);
        b.lineTo(10.3, 8.8);
        b.lineTo(0.7, 8.8);
        b.lineTo(2.4, 6.5);
        b.cubicTo(2.6, 4, 2.7, 1, 5.5, 1);
        QLinearGradient g(1, 0, 10, 0);
        g.setColorAt(0.0, QColor(255, 236, 140));
        g.setColorAt(0.5, QColor(228, 170, 30));
        g.setColorAt(1.0, QColor(140, 90, 10));
        p.setPen(QPen(QColor(100, 60, 0), 0.8));
        p.setBrush(g);
        p.drawPath(b);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 70, 0));
        p.drawEllipse(QPointF(5.5, 9.6), 1.2, 1.1);
    });
}

// ------------------------------------------------------------------ icon

QImage icone(int taille) {
    // Drawn at 256 pixels; the small icon, 1x or 2x, is reduced from that.
    QImage im = vierge(256, 256, taille == 256 ? echelle : 1);
    const QPainterPath tuile = rectangle_arrondi(QRectF(12, 12, 232, 232), 40);
    ombre(im, tuile, QPointF(4, 6), 10, 0.6);
    remplit_forme(im, tuile, [](double x, double y) { return marbre_rouge(x * 0.8, y * 0.8); });
    {
        QPainter p(&im);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(12, 12, 244, 244);
        g.setColorAt(0.0, QColor(255, 255, 255, 60));
        g.setColorAt(1.0, QColor(0, 0, 0, 80));
        p.setPen(QPen(QColor(236, 196, 100), 5));
        p.setBrush(g);
        p.drawPath(tuile);
    }
    const QRectF page(48, 58, 160, 160);
    ombre(im, rectangle_arrondi(page, 8), QPointF(5, 7), 10, 0.7);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(page, 8, 8);
    p.setBrush(QColor(196, 28, 30));
    p.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), 42), 8, 8);
    p.drawRect(QRectF(page.left(), page.top() + 20, page.width(), 22));
    // Day square and agenda lines, as on the desk's page.
    p.setBrush(QColor(196, 28, 30));
    p.drawRect(QRectF(68, 120, 56, 56));
    p.setPen(QPen(QColor(150, 170, 205), 7));
    for (int k = 0; k < 4; ++k)
        p.drawLine(QPointF(138, 126 + 16 * k), QPointF(192, 126 + 16 * k));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(84, 136, 24, 24));
    for (double x : {88.0, 168.0}) {
        QPainterPath anneau;
        anneau.moveTo(x, 74);
        anneau.cubicTo(x - 2, 40, x + 22, 40, x + 20, 74);
        metal(p, anneau, 12, QColor(210, 214, 222));
    }
    p.end();
    if (taille == 256)
        return im;
    QImage petite = im.scaled(taille * echelle, taille * echelle, Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
    petite.setDevicePixelRatio(echelle);
    return petite;
}

// ---------------------------------------------------------------- cursors

// A pointing hand as pixel art: black outline, white inside. (u, v) are taken
// along the finger (u = 0 at the fingertip) and across it (v > 0 toward the
// palm side); `place` maps them to the picture.
QImage main_pointant(const std::function<QPoint(int u, int v)>& place) {
    auto dans = [](int u, int v) {
        auto boite = [&](int u0, int u1, int v0, int v1) {
            return u >= u0 && u <= u1 && v >= v0 && v <= v1;
        };
        // Index finger, its tip rounded.
        if (boite(0, 13, -2, 2) && !(u == 0 && std::abs(v) == 2))
            return true;
        // The three folded fingers, one knuckle row each.
        if (boite(10, 22, 2, 5) && !(u == 10 && v == 5))
            return true;
        if (boite(11, 22, 5, 8) && !(u == 11 && v == 8))
            return true;
        if (boite(12, 22, 8, 11) && !(u == 12 && v == 11))
            return true;
        // Thumb, on the other side.
        if (boite(14, 20, -5, -2) && !(u == 14 && v == -5) && !(u == 20 && v == -5))
            return true;
        // Palm and cuff.
        if (boite(17, 23, -3, 11))
            return true;
        if (boite(24, 28, -2, 10))
            return true;
        return false;
    };
    QImage im(32, 32, QImage::Format_ARGB32);
    im.fill(Qt::transparent);
    for (int u = -1; u <= 30; ++u)
        for (int v = -8; v <= 14; ++v) {
            if (!dans(u, v))
                continue;
            const bool bord = !dans(u - 1, v) || !dans(u + 1, v) || !dans(u, v - 1) ||
                              !dans(u, v + 1) ||
                              // a seam between the fingers and at the cuff
                              ((v == 5 || v == 8) && u <= 18) || u == 24;
            const QPoint q = place(u, v);
            if (q.x() < 0 || q.y() < 0 || q.x() > 31 || q.y() > 31)
                continue;
            im.setPixel(q, bord ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return im;
}

QImage curseur(const std::string& nom) {
    if (nom == "main_haut")
        return main_pointant([](int u, int v) { return QPoint(12 + v, 2 + u); });
    if (nom == "main_gauche")
        return main_pointant([](int u, int v) { return QPoint(0 + u, 11 + v); });
    return main_pointant([](int u, int v) { return QPoint(31 - u, 11 + v); });
}

} // namespace

QImage dessine(const std::string& nom, int echelle_voulue) {
    echelle = echelle_voulue;
    static const std::map<std::string, std::function<QImage()>> dessins = {
        {"fond1", fond1},
        {"fond_calendrier1", fond_calendrier},
        {"fond_note1", fond_note},
        {"splash", splash},
        {"a_propos", a_propos},
        {"horloge1", [] { return horloge(false); }},
        {"horloge2", [] { return horloge(true); }},
        {"calculette1", [] { return calculette(false); }},
        {"calculette2", [] { return calculette(true); }},
        {"menu1", [] { return menu(false); }},
        {"menu2", [] { return menu(true); }},
        {"message1", [] { return message(false); }},
        {"message2", [] { return message(true); }},
        {"cloche", cloche},
        {"coche1", [] { return coche(25, 25); }},
        {"coche2", [] { return coche(40, 38); }},
        {"plus1", [] { return plus(32, 32); }},
        {"plus2", [] { return plus(40, 38); }},
        {"pm1", [] { return plus_moins(32, 32); }},
        {"pm2", [] { return plus_moins(40, 38); }},
        {"moins1", [] { return moins(32, 32); }},
        {"moins2", [] { return moins(40, 38); }},
        {"fleche_g1", [] { return fleche(63, 39, true); }},
        {"fleche_d1", [] { return fleche(63, 39, false); }},
        {"fleche_g2", [] { return fleche(50, 35, true); }},
        {"fleche_d2", [] { return fleche(50, 36, false); }},
        {"haut_parleur", haut_parleur},
        {"icone", [] { return icone(32); }},
        {"icone_grande", [] { return icone(256); }},
        {"main_gauche", [] { return curseur("main_gauche"); }},
        {"main_droite", [] { return curseur("main_droite"); }},
        {"main_haut", [] { return curseur("main_haut"); }},
    };
    if (nom.size() >= 2 && nom[0] == 'l' && std::isdigit(static_cast<unsigned char>(nom[1])))
        return logo(std::stoi(nom.substr(1)));
    const auto it = dessins.find(nom);
    if (it == dessins.end())
        throw std::runtime_error("image inconnue : " + nom);
    return it->second();
}

} // namespace quorvel::generateur
