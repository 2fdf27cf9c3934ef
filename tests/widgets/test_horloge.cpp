// The analog clock: the six segments of the hands at telling times, and when a
// tick takes the properties. The digital clock's caption.
#include "commun/essai.hpp"
#include "plateforme/horloge.hpp"
#include "widgets/digital.hpp"
#include "widgets/horloge.hpp"

using namespace quorvel;

static SegmentAiguille seg(int x2, int y2, int largeur = 1) {
    return {77, 77, x2, y2, largeur};
}

static QPixmap cadran_uni() {
    QPixmap p(154, 154);
    p.fill(Qt::white);
    return p;
}

// Centre (77, 77), hands 60, 50 and 40 long: the ends of the second hand and
// tail, minute hand and tail, hour hand and tail (2 pixels wide); angles past
// 360 reduced, the ends rounded.
TEST(THORLOGE, SegmentsAuxHeuresRemarquables) {
    // Hour, minute, second, then the twelve ends.
    const int cas[][15] = {{12, 0, 0, 77, 17, 77, 87, 77, 27, 77, 87, 77, 37, 77, 87},
                           {3, 0, 0, 77, 17, 77, 87, 77, 27, 77, 87, 117, 77, 67, 77},
                           {9, 0, 45, 17, 77, 87, 77, 77, 27, 77, 87, 37, 77, 87, 77},
                           {6, 30, 30, 77, 137, 77, 67, 77, 127, 77, 67, 67, 116, 80, 67},
                           {3, 30, 0, 77, 17, 77, 87, 77, 127, 77, 67, 116, 87, 67, 74},
                           {1, 10, 5, 107, 25, 72, 86, 120, 52, 68, 82, 100, 44, 71, 85}};
    for (const auto& c : cas) {
        const auto s = segments_aiguilles(GeometrieHorloge{}, c[0], c[1], c[2]);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(s[i], seg(c[3 + 2 * i], c[4 + 2 * i], i < 4 ? 1 : 2))
                << c[0] << ":" << c[1] << ":" << c[2] << " segment " << i << " -> (" << s[i].x2
                << ", " << s[i].y2 << ")";
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
    for (int k = 0; k < 12 * 60; ++k)
        EXPECT_EQ(bout(k / 60, k % 60), bout(k / 60 + 12, k % 60)) << k / 60 << ":" << k % 60;
    // A hand of length 0: a point, its 10-pixel tail still drawn.
    const auto a = trace_aiguille(73, 69, 90, 0, 1);
    EXPECT_EQ(a[0], (SegmentAiguille{73, 69, 73, 69, 1}));
    EXPECT_EQ(a[1], (SegmentAiguille{73, 69, 63, 69, 1}));
}

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
