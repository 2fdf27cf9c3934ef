// Where the balloon goes: each preferred direction near each screen edge and
// corner, the hand-over chain; the region tests and the shadow's dots.
#include "commun/essai.hpp"
#include "widgets/bulle_placement.hpp"

#include <utility>

using namespace quorvel;

// A 100 x 20 hint rectangle: window 116 wide, 40 high up, 49 high down.
static constexpr int rect_l = 100, rect_h = 20;
static const EcranBulle ecran_800{0, 0, 800, 600};

// Where the pointer tip lands on the screen.
static PointBulle pointe_ecran(const PlacementBulle& p) {
    const PointBulle t = geometrie_bulle(p.direction, p.largeur, p.hauteur).pointe[2];
    return {p.x + t.x, p.y + t.y};
}

TEST(PlacementBulle, BordsEtCoins) {
    using D = std::vector<THintDirection>;
    const EcranBulle second{1920, 0, 1280, 1024};
    struct Cas {
        THintDirection preferee;
        int px, py;
        THintDirection direction;
        int x, y;
        D essais;
        EcranBulle ecran = ecran_800;
    };
    const Cas cas[] = {
        // Middle of the screen: each direction as asked.
        {hdUpRight, 400, 300, hdUpRight, 400, 255, D{hdUpRight}},
        {hdUpLeft, 400, 300, hdUpLeft, 290, 255, D{hdUpLeft}},
        {hdDownRight, 400, 300, hdDownRight, 400, 315, D{hdDownRight}},
        {hdDownLeft, 400, 300, hdDownLeft, 290, 315, D{hdDownLeft}},
        // Right edge.
        {hdDownRight, 750, 300, hdDownLeft, 640, 315, D{hdDownRight, hdDownLeft}},
        {hdDownRight, 684, 300, hdDownRight, 684, 315, D{hdDownRight}}, // exactly fits
        {hdDownRight, 685, 300, hdDownLeft, 575, 315, D{hdDownRight, hdDownLeft}},
        // Left edge.
        {hdDownLeft, 50, 300, hdDownRight, 50, 315, D{hdDownLeft, hdDownRight}},
        {hdUpLeft, 110, 300, hdUpLeft, 0, 255, D{hdUpLeft}}, // exactly fits
        // Bottom edge.
        {hdDownRight, 400, 580, hdUpRight, 400, 535, D{hdDownRight, hdUpRight}},
        {hdDownRight, 400, 536, hdDownRight, 400, 551, D{hdDownRight}}, // exactly fits
        {hdDownRight, 400, 537, hdUpRight, 400, 492, D{hdDownRight, hdUpRight}},
        // Top edge.
        {hdUpRight, 400, 10, hdDownRight, 400, 25, D{hdUpRight, hdDownRight}},
        {hdUpRight, 400, 45, hdUpRight, 400, 0, D{hdUpRight}}, // exactly fits
        // Corners.
        {hdDownRight, 750, 580, hdUpLeft, 640, 535, D{hdDownRight, hdDownLeft, hdUpLeft}},
        {hdUpLeft, 50, 10, hdDownRight, 50, 25, D{hdUpLeft, hdUpRight, hdDownRight}},
        // A second screen right of the first: its edges, not the origin, count.
        {hdDownLeft, 1950, 500, hdDownRight, 1950, 515, D{hdDownLeft, hdDownRight}, second},
        {hdDownRight, 3180, 1000, hdUpLeft, 3070, 955, D{hdDownRight, hdDownLeft, hdUpLeft},
         second}};
    for (const Cas& c : cas) {
        const PlacementBulle p = place_bulle(c.preferee, c.px, c.py, rect_l, rect_h, c.ecran);
        const auto trace = ::testing::Message()
                           << "préférée " << c.preferee << " en (" << c.px << ", " << c.py << ")";
        EXPECT_EQ(p.direction, c.direction) << trace;
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << trace;
        EXPECT_EQ(p.essais, c.essais) << trace;
        EXPECT_EQ(p.largeur, 116);
        EXPECT_EQ(p.hauteur, direction_haute(p.direction) ? 40 : 49);
        // The tip on the pointer's column, 5 above or 15 below it.
        const PointBulle t = pointe_ecran(p);
        EXPECT_EQ(t.x, c.px) << trace;
        EXPECT_EQ(t.y, direction_haute(p.direction) ? c.py - 5 : c.py + 15) << trace;
    }
}

TEST(PlacementBulle, NulleParNeTient) {
    const struct {
        THintDirection preferee;
        EcranBulle ecran;
        int px, py, rl, rh, x, y;
    } cas[] = {// Too wide for either side: the chain cycles between right and left.
               {hdDownRight, {0, 0, 100, 100}, 50, 20, 200, 20, 0, 35},
               {hdUpLeft, {0, 0, 100, 100}, 50, 80, 200, 20, 0, 35},
               // Too high for above and below.
               {hdDownRight, {0, 0, 800, 100}, 400, 50, 50, 80, 400, 0},
               {hdUpRight, {0, 0, 800, 100}, 400, 50, 50, 80, 400, 0}};
    for (const auto& c : cas) {
        const PlacementBulle p = place_bulle(c.preferee, c.px, c.py, c.rl, c.rh, c.ecran);
        EXPECT_EQ(p.direction, c.preferee);
        EXPECT_EQ(std::set<THintDirection>(p.essais.begin(), p.essais.end()).size(), 4u);
        EXPECT_EQ(p.essais.size(), 4u);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.preferee;
    }
}
