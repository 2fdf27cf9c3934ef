#pragma once
// The alarm clock: once a minute, which alarms fall due, their sounds, and the
// text of the last due alarm that shows its text.
#include "alarms/alarme.hpp"
#include "plateforme/horloge.hpp"

#include <QObject>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace quorvel {

struct Contexte;
class Tmessage_alarme;

// Minutes since 1 January 1970 in local time; consecutive minutes differ by one.
std::int64_t numero_minute(const Instant& t);
// The minute back as a date and time (seconds 0, weekday filled in).
Instant instant_de_minute(std::int64_t numero);

// Longest gap, in minutes, between two checks that is only a late tick: its
// minutes ring as if on time. A longer one means the machine slept or the clock
// was set forward: its minutes still ring, once, but their boards say they are
// late.
constexpr std::int64_t rattrapage_max = 5;
// Longest such wake made up for. After a longer one only the minute of the check
// rings: a day's backlog is no longer a reminder.
constexpr std::int64_t reveil_max = 1440;
// Minutes whose check failed (the alarm file could not be read) are checked
// again once it can, as far back as one day.
constexpr std::int64_t reprise_max = 1440;
// A checked minute is remembered for one day on either side of the clock, so a
// clock set back by up to a day (summer time ending, a correction) does not ring
// its alarms again. A clock set back further was wrong: its minutes ring anew.
constexpr std::int64_t memoire_max = 1440;

// Which minutes the alarm clock has checked, from one check to the next.
class SuiviMinutes {
public:
    // derniere: the minute of the last check, when there was one.
    explicit SuiviMinutes(std::optional<std::int64_t> derniere = std::nullopt)
        : derniere_(derniere) {}

    // The minutes the check at maintenant looks at, in increasing order: those
    // after the last check up to now (only now after a gap longer than a wake or
    // when the clock went back), and the failed ones of the last day; never a
    // minute checked already.
    std::vector<std::int64_t> a_verifier(std::int64_t maintenant) const;
    // Whether minute, looked at by the check at maintenant, rings late: before
    // now, after a wake or more than a late tick ago.
    bool en_retard(std::int64_t minute, std::int64_t maintenant) const;
    // What came of the check at maintenant of these minutes.
    void reussie(const std::vector<std::int64_t>& minutes, std::int64_t maintenant);
    void echouee(const std::vector<std::int64_t>& minutes, std::int64_t maintenant);

private:
    bool verifiee(std::int64_t minute) const;
    // The last check is at maintenant; what lies more than a day away is forgotten.
    void oublie(std::int64_t maintenant);

    std::optional<std::int64_t> derniere_;
    // Disjoint, in increasing order, both ends included.
    std::vector<std::pair<std::int64_t, std::int64_t>> verifiees_;
    std::vector<std::int64_t> echouees_; // increasing
};

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

// Each alarm due in one of these minutes, by minute, then in file order.
struct Echeance {
    std::int64_t minute;
    std::int32_t alarme; // record number
};
std::vector<Echeance> echeances(const std::vector<EnregistrementAlarme>& alarmes,
                                const std::vector<std::int64_t>& minutes);

// The last minute the alarm clock checked, kept from one run to the next in a
// small file of the data directory, so that a start sees which minutes passed
// while the program was closed. Neither ever throws: a file missing, damaged or
// unwritable means only that nothing is made up at the next start.
inline constexpr const char* fichier_derniere_minute = ".alarmes-verifiees";
std::optional<std::int64_t> lit_derniere_minute(const std::string& repertoire);
void ecrit_derniere_minute(const std::string& repertoire, std::int64_t minute);
// The minutes after derniere and before maintenant that a start makes up for:
// none when derniere is unknown, in the future or more than a day back.
std::vector<std::int64_t> minutes_fermees(std::optional<std::int64_t> derniere,
                                          std::int64_t maintenant);

// A one-date alarm whose date and time, well formed, are before this minute:
// no check will ever find it due.
bool alarme_passee(const EnregistrementAlarme& a, const Instant& maintenant);

// The main window's Timer2Timer calls position_main() then verifie() every
// 60 s. A check that cannot read the alarm file rings nothing, reports the
// error in a box shown after the tick has returned, so that the clock goes on
// checking while it is open (one box at a time), and its minutes are checked
// again once the file can be read.
class PlanificateurAlarmes {
public:
    // The minute of creation is the first one checked. The board is asked for
    // only when a text is due, so that a desk that never shows one never makes
    // it; error boxes go over parent.
    PlanificateurAlarmes(Contexte& ctx, std::function<Tmessage_alarme&()> message, QWidget* parent);
    PlanificateurAlarmes(Contexte& ctx, Tmessage_alarme& message);
    void verifie();
    // At start: one board listing the alarms that came due while the program
    // was closed (no sound), once; the next start begins from this one.
    void annonce_fermeture();

private:
    void signale(std::exception_ptr erreur);
    // The board and the desktop's notification for one text.
    void annonce(const std::string& texte, const QString& entete);

    Contexte& ctx_;
    std::function<Tmessage_alarme&()> message_;
    QWidget* parent_;
    SuiviMinutes suivi_;
    std::optional<std::int64_t> fermeture_; // the last minute of the last run
    bool boite_ouverte_ = false;
    QObject vie_; // pending reports die with the scheduler
};

} // namespace quorvel
