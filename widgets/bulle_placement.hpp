#pragma once
// Where a hint balloon goes and how its parts lie inside its window, in plain
// integers (screen pixels, window pixels) so that it is tested by table.
#include <array>
#include <vector>

namespace quorvel {

enum THintDirection { hdUpRight, hdUpLeft, hdDownRight, hdDownLeft };

inline bool direction_haute(THintDirection d) {
    return d == hdUpRight || d == hdUpLeft;
}

struct PointBulle {
    int x = 0, y = 0;
    bool operator==(const PointBulle&) const = default;
};

// Left, top, right, bottom; right and bottom exclusive.
struct BordsBulle {
    int gauche = 0, haut = 0, droite = 0, bas = 0;
    bool operator==(const BordsBulle&) const = default;
};

struct EcranBulle {
    int gauche = 0, haut = 0, largeur = 0, hauteur = 0;
};

// Window size for a hint rectangle of text size + (6, 2).
int largeur_bulle(int largeur_rect);
int hauteur_bulle(int hauteur_rect, THintDirection d);

struct PlacementBulle {
    THintDirection direction = hdUpRight;
    int x = 0, y = 0;                   // window's top-left corner, screen pixels
    int largeur = 0, hauteur = 0;       // window size
    std::vector<THintDirection> essais; // directions tried, in order
};

// Places the balloon whose pointer tip must land on the mouse pointer (px, py),
// trying `preferee` first and handing over as each direction's test fails. When
// the hand-over chain comes back to a direction already tried, the untried ones
// are tested too; when none fits, the preferred direction is kept and the window
// is pushed inside the screen.
PlacementBulle place_bulle(THintDirection preferee, int px, int py, int largeur_rect,
                           int hauteur_rect, const EcranBulle& ecran);

// The balloon's parts in window coordinates for a W x H window.
struct GeometrieBulle {
    BordsBulle texte;                 // where the text is wrapped
    BordsBulle corps;                 // body, rounded with a 9 x 9 corner ellipse
    BordsBulle ombre;                 // body shadow region, 8 x 8 corner ellipse
    std::array<PointBulle, 3> pointe; // P1, P2 on the body's outline, P3 the tip
    bool a_ombre_pointe = false;      // only the up directions cast one
    std::array<PointBulle, 3> ombre_pointe{};
};

GeometrieBulle geometrie_bulle(THintDirection d, int largeur, int hauteur);

// Region tests, pixel centres against the shapes; a rounded rectangle like the
// body's with corner ellipse ellipse_l x ellipse_h.
bool dans_rectangle_arrondi(int x, int y, const BordsBulle& r, int ellipse_l, int ellipse_h);
bool dans_triangle(int x, int y, const std::array<PointBulle, 3>& t);

// Every shadow dot: the two strips that stick out right of and below the body,
// and the pointer's shadow for the up directions, one pixel in two.
std::vector<PointBulle> points_ombre(THintDirection d, int largeur, int hauteur);

} // namespace quorvel
