#pragma once
// The local clock, read only. Tests freeze or step it.

namespace quorvel {

struct Instant {
    int annee = 0, mois = 0, jour = 0;
    int jour_semaine = 0; // 1 = Sunday ... 7 = Saturday
    int heure = 0, minute = 0, seconde = 0;
    bool operator==(const Instant&) const = default;
};

class Horloge {
public:
    virtual ~Horloge() = default;
    virtual Instant maintenant() const = 0;
    // Milliseconds of a clock that never jumps, for delays: the local time may
    // be set back or forward while the program runs.
    virtual long long millisecondes() const = 0;
};

class HorlogeSysteme final : public Horloge {
public:
    Instant maintenant() const override;
    long long millisecondes() const override;
};

// Test double: a clock that shows what it was set to and moves only when told.
class HorlogeReglable final : public Horloge {
public:
    HorlogeReglable() = default;
    HorlogeReglable(int annee, int mois, int jour, int heure = 12, int minute = 0,
                    int seconde = 0) {
        regle(annee, mois, jour, heure, minute, seconde);
    }
    Instant maintenant() const override { return t_; }
    long long millisecondes() const override { return ms_; }
    void regle(int annee, int mois, int jour, int heure = 12, int minute = 0, int seconde = 0);
    // The delay clock moves with the local time, never back; avance_ms moves it alone.
    void avance(long long secondes);
    void avance_ms(long long ms) { ms_ += ms; }

private:
    Instant t_;
    long long ms_ = 0;
};

} // namespace quorvel
