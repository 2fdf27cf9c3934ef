#include "horloge.hpp"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace quorvel {

double angle_radian(long double degres) {
    const long long n = std::llrint(degres); // default rounding: nearest, ties to even
    const long long r = std::llabs(n % 360);
    constexpr long double pi = 3.14159265358979323846L;
    constexpr long double un_sur_180 = 0.00555555555555555556L;
    return static_cast<double>(static_cast<long double>(r) * pi * un_sur_180);
}

namespace {

int arrondi(long double v) {
    return static_cast<int>(std::llrint(v));
}

SegmentAiguille rayon(int cx, int cy, int angle_ecran, int longueur, int largeur) {
    const long double phi = angle_radian(angle_ecran);
    return {cx, cy, cx + arrondi(longueur * std::cos(phi)), cy + arrondi(longueur * std::sin(phi)),
            largeur};
}

} // namespace

std::array<SegmentAiguille, 2> trace_aiguille(int cx, int cy, int angle, int longueur,
                                              int largeur) {
    // +270 turns "clockwise from twelve" into the screen's angle; +90 is the opposite side.
    return {rayon(cx, cy, angle + 270, longueur, largeur), rayon(cx, cy, angle + 90, 10, largeur)};
}

std::array<SegmentAiguille, 6> segments_aiguilles(const GeometrieHorloge& g, int heure, int minute,
                                                  int seconde) {
    const auto s = trace_aiguille(g.position_x, g.position_y, 6 * seconde, g.taille_seconde, 1);
    const auto m = trace_aiguille(g.position_x, g.position_y, 6 * minute, g.taille_minute, 1);
    // The hour hand steps one degree every two minutes.
    const int angle_heure = 30 * heure + minute * 6 / 12;
    const auto h = trace_aiguille(g.position_x, g.position_y, angle_heure, g.taille_heure, 2);
    return {s[0], s[1], m[0], m[1], h[0], h[1]};
}

THORLOGE::THORLOGE(QWidget* parent, const Horloge* horloge)
    : QWidget(parent), horloge_(horloge), minuterie_(new QTimer(this)) {
    if (!horloge_) {
        horloge_systeme_ = std::make_unique<HorlogeSysteme>();
        horloge_ = horloge_systeme_.get();
    }
    setGeometry(0, 0, 154, 154);
    minuterie_->setInterval(1000);
    connect(minuterie_, &QTimer::timeout, this, &THORLOGE::affiche_heure);
    minuterie_->start();
}

THORLOGE::~THORLOGE() = default;

void THORLOGE::set_texture(const QPixmap& texture) {
    texture_ = texture;
    update();
}

void THORLOGE::affiche_heure() {
    const Instant t = horloge_->maintenant();
    segments_ = segments_aiguilles(geometrie_, t.heure, t.minute, t.seconde);
    couleur_tracee_ = couleur_aiguille_;
    a_aiguilles_ = true;
    // A hidden clock keeps its state; it is painted when shown.
    if (isVisible())
        repaint();
}

void THORLOGE::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!texture_.isNull())
        p.drawPixmap(0, 0, texture_);
    if (!a_aiguilles_)
        return;
    for (const SegmentAiguille& s : segments_) {
        // A one-pixel line stops short of its end point, a wider one has round ends.
        QPen stylo(couleur_tracee_, s.largeur, Qt::SolidLine,
                   s.largeur > 1 ? Qt::RoundCap : Qt::FlatCap);
        p.setPen(stylo);
        p.drawLine(s.x1, s.y1, s.x2, s.y2);
    }
}

} // namespace quorvel
