#pragma once
// The desk's analog clock: a clock-face picture with three hands redrawn from
// the local time once a second.
#include "plateforme/horloge.hpp"

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <memory>

class QTimer;

namespace quorvel {

// Whole degrees (rounded, ties to even), reduced modulo 360, to radians.
double angle_radian(long double degres);

struct SegmentAiguille {
    int x1 = 0, y1 = 0; // the centre
    int x2 = 0, y2 = 0; // the tip, or the end of the tail
    int largeur = 1;    // pen width
    bool operator==(const SegmentAiguille&) const = default;
};

struct GeometrieHorloge {
    int taille_heure = 40, taille_minute = 50, taille_seconde = 60;
    int position_x = 77, position_y = 77;
};

// One hand: the segment to the tip at `longueur`, then its 10-pixel tail.
std::array<SegmentAiguille, 2> trace_aiguille(int cx, int cy, int angle, int longueur, int largeur);
// The six segments in drawing order: second hand and tail, minute hand and
// tail, hour hand and tail (drawn last, 2 pixels wide).
std::array<SegmentAiguille, 6> segments_aiguilles(const GeometrieHorloge& g, int heure, int minute,
                                                  int seconde);

class THORLOGE : public QWidget {
    Q_OBJECT
public:
    // Without a clock of its own the widget reads the system's local time.
    explicit THORLOGE(QWidget* parent = nullptr, const Horloge* horloge = nullptr);
    ~THORLOGE() override;

    QColor couleur_aiguille() const { return couleur_aiguille_; }
    void set_couleur_aiguille(const QColor& c) { couleur_aiguille_ = c; }
    int taille_heure() const { return geometrie_.taille_heure; }
    void set_taille_heure(int t) { geometrie_.taille_heure = t; }
    int taille_minute() const { return geometrie_.taille_minute; }
    void set_taille_minute(int t) { geometrie_.taille_minute = t; }
    int taille_seconde() const { return geometrie_.taille_seconde; }
    void set_taille_seconde(int t) { geometrie_.taille_seconde = t; }
    int position_x() const { return geometrie_.position_x; }
    void set_position_x(int x) { geometrie_.position_x = x; }
    int position_y() const { return geometrie_.position_y; }
    void set_position_y(int y) { geometrie_.position_y = y; }
    QPixmap texture() const { return texture_; }
    void set_texture(const QPixmap& texture);

    // The tick: reads the time, takes the hands from the properties as they
    // are now and repaints at once. Property changes show from the next tick.
    void affiche_heure();

    // What the last tick drew (empty before the first tick).
    const std::array<SegmentAiguille, 6>& segments() const { return segments_; }
    QColor couleur_tracee() const { return couleur_tracee_; }
    QTimer* minuterie() const { return minuterie_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::unique_ptr<HorlogeSysteme> horloge_systeme_;
    const Horloge* horloge_;
    QTimer* minuterie_;
    QColor couleur_aiguille_ = Qt::black;
    GeometrieHorloge geometrie_;
    QPixmap texture_;

    // State of the last tick, painted by paintEvent.
    bool a_aiguilles_ = false;
    std::array<SegmentAiguille, 6> segments_{};
    QColor couleur_tracee_ = Qt::black;
};

} // namespace quorvel
