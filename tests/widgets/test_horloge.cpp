// The analog clock: degree reduction, the six segments of the hands at
// telling times, and what a tick paints. The digital clock's caption.
#include "plateforme/horloge.hpp"
#include "widgets/digital.hpp"
#include "widgets/horloge.hpp"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <numbers>

using namespace quorvel;

TEST(THORLOGE, AngleRadian) {
    struct Cas {
        long double degres;
        int attendu; // whole degrees after rounding and reduction
    };
    const Cas cas[] = {{0, 0},   {90, 90},   {359, 359}, {360, 0},     {465, 105},
                       {720, 0}, {1079, 359}, {0.5L, 0}, {1.5L, 2},   {2.5L, 2},
                       {359.5L, 0}, {-30, 30}, {-390, 30}, {89.4L, 89}};
    for (const Cas& c : cas)
        EXPECT_DOUBLE_EQ(angle_radian(c.degres), c.attendu * std::numbers::pi / 180)
            << static_cast<double>(c.degres);
}

namespace {

struct Aiguilles {
    int heure, minute, seconde;
    SegmentAiguille s, s_queue, m, m_queue, h, h_queue;
};

SegmentAiguille seg(int x2, int y2, int largeur = 1) {
    return {77, 77, x2, y2, largeur};
}

} // namespace

TEST(THORLOGE, SegmentsAuxHeuresRemarquables) {
    // The constructor's values: centre (77, 77), hands 40, 50 and 60; hours past 12
    // are checked against the morning's below.
    const GeometrieHorloge g;
    const Aiguilles cas[] = {
        {12, 0, 0, seg(77, 17), seg(77, 87), seg(77, 27), seg(77, 87), seg(77, 37, 2),
         seg(77, 87, 2)},
        {3, 0, 0, seg(77, 17), seg(77, 87), seg(77, 27), seg(77, 87), seg(117, 77, 2),
         seg(67, 77, 2)},
        {9, 0, 45, seg(17, 77), seg(87, 77), seg(77, 27), seg(77, 87), seg(37, 77, 2),
         seg(87, 77, 2)},
        {6, 30, 30, seg(77, 137), seg(77, 67), seg(77, 127), seg(77, 67), seg(67, 116, 2),
         seg(80, 67, 2)},
        {3, 30, 0, seg(77, 17), seg(77, 87), seg(77, 127), seg(77, 67), seg(116, 87, 2),
         seg(67, 74, 2)},
        {1, 10, 5, seg(107, 25), seg(72, 86), seg(120, 52), seg(68, 82), seg(100, 44, 2),
         seg(71, 85, 2)},
    };
    for (const Aiguilles& c : cas) {
        const auto s = segments_aiguilles(g, c.heure, c.minute, c.seconde);
        const std::array<SegmentAiguille, 6> attendu{c.s,       c.s_queue, c.m,
                                                     c.m_queue, c.h,       c.h_queue};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(s[i], attendu[i])
                << c.heure << ":" << c.minute << ":" << c.seconde << " segment " << i << " -> ("
                << s[i].x2 << ", " << s[i].y2 << ")";
    }
}

TEST(THORLOGE, AngleDeLAiguilleDesHeures) {
    // The hour hand moves one degree every two minutes: 09:59 is 299 degrees, 10:00 is 300.
    const GeometrieHorloge g{100, 50, 60, 0, 0};
    const auto bout = [&](int h, int m) { return segments_aiguilles(g, h, m, 0)[4]; };
    EXPECT_EQ(bout(9, 59), trace_aiguille(0, 0, 299, 100, 2)[0]);
    EXPECT_EQ(bout(10, 0), trace_aiguille(0, 0, 300, 100, 2)[0]);
    EXPECT_EQ(bout(9, 58), bout(9, 59));
    EXPECT_NE(bout(9, 57), bout(9, 58));
    for (int h = 0; h < 12; ++h)
        for (int m = 0; m < 60; ++m)
            EXPECT_EQ(bout(h, m), bout(h + 12, m)) << h << ":" << m;
    // A hand of length 0: a point, its 10-pixel tail still drawn.
    const auto a = trace_aiguille(73, 69, 90, 0, 1);
    EXPECT_EQ(a[0], (SegmentAiguille{73, 69, 73, 69, 1}));
    EXPECT_EQ(a[1], (SegmentAiguille{73, 69, 63, 69, 1}));
}

namespace {

QPixmap cadran_uni() {
    QPixmap p(154, 154);
    p.fill(Qt::white);
    return p;
}

} // namespace

TEST(THORLOGE, LeTopLitLHeureEtLesProprietes) {
    HorlogeReglable h(2024, 3, 1, 3, 0, 0);
    THORLOGE c(nullptr, &h);
    EXPECT_TRUE(c.minuterie()->isActive());
    EXPECT_EQ(c.minuterie()->interval(), 1000);
    c.set_texture(cadran_uni());
    c.set_couleur_aiguille(Qt::red);
    c.affiche_heure();
    EXPECT_EQ(c.segments()[4], seg(117, 77, 2));

    // A property change waits for the next tick, even across a repaint.
    c.set_taille_heure(20);
    c.set_couleur_aiguille(Qt::blue);
    EXPECT_EQ(c.grab().toImage().pixelColor(100, 77), QColor(Qt::red));
    EXPECT_EQ(c.segments()[4], seg(117, 77, 2));
    h.avance(1);
    c.affiche_heure();
    EXPECT_EQ(c.segments()[4], seg(97, 77, 2));
    EXPECT_EQ(c.segments()[0], seg(83, 17));
    EXPECT_EQ(c.couleur_tracee(), QColor(Qt::blue));

    // Hidden, the clock still follows the time.
    c.hide();
    h.avance(14);
    c.affiche_heure();
    EXPECT_EQ(c.segments()[0], seg(137, 77));
}

TEST(THORLOGE, Peinture) {
    HorlogeReglable h(2024, 3, 1, 3, 0, 0);
    THORLOGE c(nullptr, &h);
    c.set_texture(cadran_uni());
    c.set_couleur_aiguille(Qt::red);

    // Before the first tick only the dial shows.
    QImage vue = c.grab().toImage();
    EXPECT_EQ(vue.pixelColor(77, 50), QColor(Qt::white));

    c.affiche_heure();
    vue = c.grab().toImage();
    const QColor rouge(Qt::red), blanc(Qt::white);
    // Second and minute hands up, one pixel wide; the second hand reaches y = 18.
    EXPECT_EQ(vue.pixelColor(77, 50), rouge);
    EXPECT_EQ(vue.pixelColor(77, 18), rouge);
    EXPECT_EQ(vue.pixelColor(76, 50), blanc);
    EXPECT_EQ(vue.pixelColor(78, 50), blanc);
    EXPECT_EQ(vue.pixelColor(77, 15), blanc);
    // The hour hand points right, two pixels wide, with its tail to the left.
    EXPECT_EQ(vue.pixelColor(116, 77), rouge);
    EXPECT_EQ(vue.pixelColor(69, 77), rouge);
    int epaisseur = 0;
    for (int y = 70; y < 85; ++y)
        epaisseur += vue.pixelColor(100, y) == rouge;
    EXPECT_EQ(epaisseur, 2);
    // The tails of the second and minute hands go 10 pixels down.
    EXPECT_EQ(vue.pixelColor(77, 85), rouge);
    EXPECT_EQ(vue.pixelColor(77, 92), blanc);
}

TEST(THORLOGE, SansTexture) {
    HorlogeReglable h(2024, 3, 1, 12, 0, 0);
    THORLOGE c(nullptr, &h);
    c.affiche_heure();
    QImage image(154, 154, QImage::Format_ARGB32);
    image.fill(Qt::green);
    c.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(77, 40), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::green));
}

TEST(THORLOGE_DIGITAL, LeTopDeChaqueSecondeSuitLHorlogeMemeCachee) {
    HorlogeReglable h(2026, 3, 2, 23, 59, 59);
    THORLOGE_DIGITAL digital(nullptr, &h);
    ASSERT_FALSE(digital.isVisible());
    h.avance(1); // the system time changes: shown at the next tick
    EXPECT_EQ(digital.text(), "23:59:59");
    EXPECT_TRUE(QTest::qWaitFor([&] { return digital.text() == "00:00:00"; }, 2500));
}
