#pragma once
// The alarm clock: once a minute, which alarms fall due, their sounds, and the
// text of the last due alarm that shows its text.
#include "alarms/alarme.hpp"
#include "plateforme/horloge.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct Contexte;
class Tmessage_alarme;

// Minutes since 1 January 1970 in local time; consecutive minutes differ by one.
std::int64_t numero_minute(const Instant& t);
// The minute back as a date and time (seconds 0, weekday filled in).
Instant instant_de_minute(std::int64_t numero);

// Longest gap, in minutes, that a check makes up for. A longer one means the
// machine slept or the clock was set: its backlog is not rung.
constexpr std::int64_t rattrapage_max = 5;

// The minutes one check looks at, in increasing order: those after the last
// minute checked up to now (none when now was already checked); only now when
// nothing was checked yet, when the clock went back, or after a longer gap.
std::vector<std::int64_t> minutes_a_verifier(std::optional<std::int64_t> derniere,
                                             std::int64_t maintenant);

// One minute as the alarm fields spell it.
struct MinuteVerifiee {
    std::string heure; // "HH:MM"
    std::string date;  // "JJ/MM/AAAA"
    int jour_semaine = 0;
};
MinuteVerifiee minute_verifiee(const Instant& t);

// Exact text of the time; a weekly alarm goes by the weekday of the system date.
bool alarme_due(const EnregistrementAlarme& a, const MinuteVerifiee& minute);
bool alarme_due(const EnregistrementAlarme& a, const std::vector<MinuteVerifiee>& minutes);

struct Echeances {
    std::vector<std::int32_t> dues; // record numbers, file order
    std::int32_t texte = -1;        // last due alarm that shows its text, -1 for none
    bool operator==(const Echeances&) const = default;
};
Echeances alarmes_dues(const std::vector<EnregistrementAlarme>& alarmes,
                       const std::vector<MinuteVerifiee>& minutes);

// The main window's Timer2Timer calls position_main() then verifie() every
// 60 s, inside its guard. A file failure throws before any sound starts, and
// the minutes are then looked at again by the next check.
class PlanificateurAlarmes {
public:
    // The minute of creation is the first one checked.
    PlanificateurAlarmes(Contexte& ctx, Tmessage_alarme& message);
    void verifie();

private:
    Contexte& ctx_;
    Tmessage_alarme& message_;
    std::optional<std::int64_t> derniere_;
};

} // namespace quorvel
