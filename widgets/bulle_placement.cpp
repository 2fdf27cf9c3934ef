#include "bulle_placement.hpp"

#include <algorithm>

namespace quorvel {

int largeur_bulle(int largeur_rect) {
    return largeur_rect + 16;
}

int hauteur_bulle(int hauteur_rect, THintDirection d) {
    return hauteur_rect + (direction_haute(d) ? 20 : 29);
}

namespace {

struct Essai {
    bool tient_horizontalement, tient_verticalement;
    THintDirection sinon_horizontal, sinon_vertical;
    int x, y;
};

// One placement routine: its two fits, its hand-overs and its position.
Essai essai(THintDirection d, int px, int py, int w, int h_haut, int h_bas, const EcranBulle& e) {
    const int droite_ecran = e.gauche + e.largeur;
    const int bas_ecran = e.haut + e.hauteur;
    const bool a_droite = px + w <= droite_ecran;
    const bool a_gauche = px + 6 - w >= e.gauche;
    const bool en_haut = py - 5 - h_haut >= e.haut;
    const bool en_bas = py + 15 + h_bas <= bas_ecran;
    switch (d) {
    case hdUpRight:
        return {a_droite, en_haut, hdUpLeft, hdDownRight, px, py - 5 - h_haut};
    case hdUpLeft:
        return {a_gauche, en_haut, hdUpRight, hdDownLeft, px + 6 - w, py - 5 - h_haut};
    case hdDownRight:
        return {a_droite, en_bas, hdDownLeft, hdUpRight, px, py + 15};
    case hdDownLeft:
        break;
    }
    return {a_gauche, en_bas, hdDownRight, hdUpLeft, px + 6 - w, py + 15};
}

} // namespace

PlacementBulle place_bulle(THintDirection preferee, int px, int py, int largeur_rect,
                           int hauteur_rect, const EcranBulle& ecran) {
    const int w = largeur_bulle(largeur_rect);
    const int h_haut = hauteur_bulle(hauteur_rect, hdUpRight);
    const int h_bas = hauteur_bulle(hauteur_rect, hdDownRight);
    PlacementBulle p;
    p.largeur = w;
    const auto retient = [&](THintDirection d, int x, int y) {
        p.direction = d;
        p.x = x;
        p.y = y;
        p.hauteur = direction_haute(d) ? h_haut : h_bas;
        return p;
    };
    const auto deja_essayee = [&](THintDirection d) {
        return std::find(p.essais.begin(), p.essais.end(), d) != p.essais.end();
    };

    THintDirection d = preferee;
    while (!deja_essayee(d)) {
        p.essais.push_back(d);
        const Essai e = essai(d, px, py, w, h_haut, h_bas, ecran);
        if (!e.tient_horizontalement)
            d = e.sinon_horizontal;
        else if (!e.tient_verticalement)
            d = e.sinon_vertical;
        else
            return retient(d, e.x, e.y);
    }
    for (const THintDirection autre : {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft}) {
        if (deja_essayee(autre))
            continue;
        p.essais.push_back(autre);
        const Essai e = essai(autre, px, py, w, h_haut, h_bas, ecran);
        if (e.tient_horizontalement && e.tient_verticalement)
            return retient(autre, e.x, e.y);
    }
    // Fits nowhere: the preferred direction, kept on the screen.
    const Essai e = essai(preferee, px, py, w, h_haut, h_bas, ecran);
    retient(preferee, e.x, e.y);
    p.x = std::max(ecran.gauche, std::min(p.x, ecran.gauche + ecran.largeur - p.largeur));
    p.y = std::max(ecran.haut, std::min(p.y, ecran.haut + ecran.hauteur - p.hauteur));
    return p;
}

GeometrieBulle geometrie_bulle(THintDirection d, int W, int H) {
    GeometrieBulle g;
    switch (d) {
    case hdUpRight:
        g.pointe = {{{10, H - 15}, {20, H - 15}, {0, H}}};
        g.ombre_pointe = {{{12, H - 15}, {25, H - 15}, {12, H}}};
        break;
    case hdUpLeft:
        g.pointe = {{{W - 26, H - 15}, {W - 16, H - 15}, {W - 6, H}}};
        g.ombre_pointe = {{{W - 33, H - 15}, {W - 11, H - 15}, {W - 6, H}}};
        break;
    case hdDownRight:
        g.pointe = {{{10, 15}, {20, 15}, {0, 0}}};
        break;
    case hdDownLeft:
        g.pointe = {{{W - 26, 15}, {W - 16, 15}, {W - 6, 0}}};
        break;
    }
    if (direction_haute(d)) {
        g.texte = {8, 3, W, H};
        g.corps = {0, 0, W - 6, H - 14};
        g.ombre = {10, 8, W, H - 9};
        g.a_ombre_pointe = true;
    } else {
        g.texte = {8, 18, W, H};
        g.corps = {0, 15, W - 6, H - 8};
        g.ombre = {10, 23, W, H - 2};
    }
    return g;
}

bool dans_rectangle_arrondi(int x, int y, const BordsBulle& r, int ellipse_l, int ellipse_h) {
    if (x < r.gauche || x >= r.droite || y < r.haut || y >= r.bas)
        return false;
    // Work in half pixels so that pixel centres and half-ellipses stay integral.
    const long long cx = 2LL * x + 1, cy = 2LL * y + 1;
    const long long rx = ellipse_l, ry = ellipse_h; // radii in half pixels
    long long ex = cx, ey = cy;
    if (cx < 2LL * r.gauche + rx)
        ex = 2LL * r.gauche + rx;
    else if (cx > 2LL * r.droite - rx)
        ex = 2LL * r.droite - rx;
    if (cy < 2LL * r.haut + ry)
        ey = 2LL * r.haut + ry;
    else if (cy > 2LL * r.bas - ry)
        ey = 2LL * r.bas - ry;
    if (ex == cx || ey == cy || rx == 0 || ry == 0)
        return true;
    const long long dx = cx - ex, dy = cy - ey;
    return dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
}

bool dans_triangle(int x, int y, const std::array<PointBulle, 3>& t) {
    // Pixel centre against the three edges, in half pixels; either winding.
    const long long cx = 2LL * x + 1, cy = 2LL * y + 1;
    const auto cote = [&](const PointBulle& a, const PointBulle& b) {
        return (2LL * b.x - 2LL * a.x) * (cy - 2LL * a.y) -
               (2LL * b.y - 2LL * a.y) * (cx - 2LL * a.x);
    };
    const long long c1 = cote(t[0], t[1]), c2 = cote(t[1], t[2]), c3 = cote(t[2], t[0]);
    return (c1 >= 0 && c2 >= 0 && c3 >= 0) || (c1 <= 0 && c2 <= 0 && c3 <= 0);
}

std::vector<PointBulle> points_ombre(THintDirection d, int W, int H) {
    const GeometrieBulle g = geometrie_bulle(d, W, H);
    std::vector<PointBulle> points;
    const auto damier = [](int x, int y) { return (x + y) % 2 == 0; };
    // Right strip, then bottom strip; the strips overlap on one row.
    const int haut = g.ombre.haut, bas_droite = direction_haute(d) ? H - 14 : H - 8;
    const int bas = direction_haute(d) ? H - 9 : H - 2;
    const auto dans_bandes = [&](int x, int y) {
        const bool bande = (x >= W - 14 && y >= haut && y <= bas_droite) ||
                           (x >= 10 && x <= W && y >= bas_droite && y <= bas);
        return bande && dans_rectangle_arrondi(x, y, g.ombre, 8, 8);
    };
    for (int x = W - 14; x <= W; ++x)
        for (int y = haut; y <= bas_droite; ++y)
            if (damier(x, y) && dans_bandes(x, y))
                points.push_back({x, y});
    for (int x = 10; x <= W; ++x)
        for (int y = bas_droite; y <= bas; ++y)
            if ((x < W - 14 || y > bas_droite) && damier(x, y) && dans_bandes(x, y))
                points.push_back({x, y});
    if (g.a_ombre_pointe) {
        const auto& s = g.ombre_pointe;
        for (int x = s[0].x; x <= s[1].x; ++x)
            for (int y = s[0].y; y <= s[2].y; ++y)
                if (damier(x, y) && !dans_bandes(x, y) && dans_triangle(x, y, s))
                    points.push_back({x, y});
    }
    return points;
}

} // namespace quorvel
