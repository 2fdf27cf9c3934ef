#include "alarms/planificateur.hpp"

#include "alarms/message_alarme.hpp"
#include "calendar/contexte.hpp"
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/garde.hpp"

#include <QTimer>
#include <algorithm>
#include <chrono>

namespace quorvel {

std::int64_t numero_minute(const Instant& t) {
    using namespace std::chrono;
    const std::int64_t jours = sys_days{date_de(t)}.time_since_epoch().count();
    return jours * 1440 + t.heure * 60 + t.minute;
}

Instant instant_de_minute(std::int64_t numero) {
    using namespace std::chrono;
    std::int64_t jours = numero / 1440;
    std::int64_t reste = numero % 1440;
    if (reste < 0) {
        reste += 1440;
        --jours;
    }
    const sys_days d{days{jours}};
    const Jour j{d};
    Instant t{annee_de(j), mois_de(j), jour_de(j)};
    t.jour_semaine = static_cast<int>(weekday{d}.c_encoding()) + 1;
    t.heure = static_cast<int>(reste / 60);
    t.minute = static_cast<int>(reste % 60);
    return t;
}

bool SuiviMinutes::verifiee(std::int64_t minute) const {
    for (const auto& [debut, fin] : verifiees_)
        if (minute >= debut && minute <= fin)
            return true;
    return false;
}

std::vector<std::int64_t> SuiviMinutes::a_verifier(std::int64_t maintenant) const {
    std::vector<std::int64_t> minutes;
    for (std::int64_t m : echouees_)
        if (m > maintenant - reprise_max && m <= maintenant)
            minutes.push_back(m);
    const bool a_la_suite =
        derniere_ && *derniere_ < maintenant && maintenant - *derniere_ <= rattrapage_max;
    for (std::int64_t m = a_la_suite ? *derniere_ + 1 : maintenant; m <= maintenant; ++m)
        minutes.push_back(m);
    std::sort(minutes.begin(), minutes.end());
    minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());
    std::erase_if(minutes, [this](std::int64_t m) { return verifiee(m); });
    return minutes;
}

void SuiviMinutes::reussie(const std::vector<std::int64_t>& minutes, std::int64_t maintenant) {
    for (std::int64_t m : minutes) {
        // The first interval that m falls in, extends or comes before.
        auto it = std::lower_bound(verifiees_.begin(), verifiees_.end(), m,
                                   [](const auto& p, std::int64_t x) { return p.second < x - 1; });
        if (it == verifiees_.end() || it->first > m + 1) {
            verifiees_.insert(it, {m, m});
            continue;
        }
        it->first = std::min(it->first, m);
        it->second = std::max(it->second, m);
        if (const auto suivant = it + 1;
            suivant != verifiees_.end() && suivant->first <= it->second + 1) {
            it->second = std::max(it->second, suivant->second);
            verifiees_.erase(suivant);
        }
    }
    echouees_.clear();
    oublie(maintenant);
}

void SuiviMinutes::echouee(const std::vector<std::int64_t>& minutes, std::int64_t maintenant) {
    echouees_.insert(echouees_.end(), minutes.begin(), minutes.end());
    std::sort(echouees_.begin(), echouees_.end());
    echouees_.erase(std::unique(echouees_.begin(), echouees_.end()), echouees_.end());
    std::erase_if(echouees_, [&](std::int64_t m) { return m <= maintenant - reprise_max; });
    oublie(maintenant);
}

void SuiviMinutes::oublie(std::int64_t maintenant) {
    derniere_ = maintenant;
    const std::int64_t bas = maintenant - memoire_max, haut = maintenant + memoire_max;
    std::erase_if(verifiees_, [&](const auto& p) { return p.second < bas || p.first > haut; });
    for (auto& [debut, fin] : verifiees_) {
        debut = std::max(debut, bas);
        fin = std::min(fin, haut);
    }
}

MinuteVerifiee minute_verifiee(const Instant& t) {
    return {nombre_zeros(t.heure, 2) + ":" + nombre_zeros(t.minute, 2), texte_date_de(date_de(t)),
            t.jour_semaine};
}

bool alarme_due(const EnregistrementAlarme& a, const MinuteVerifiee& minute) {
    if (a.heure().substr(0, longueur_heure) != minute.heure)
        return false;
    if (a.repete()) {
        const std::int16_t f = a.frequence();
        return f == tous_les_jours || f == minute.jour_semaine;
    }
    return a.date().substr(0, longueur_date) == minute.date;
}

bool alarme_due(const EnregistrementAlarme& a, const std::vector<MinuteVerifiee>& minutes) {
    for (const MinuteVerifiee& m : minutes)
        if (alarme_due(a, m))
            return true;
    return false;
}

Echeances alarmes_dues(const std::vector<EnregistrementAlarme>& alarmes,
                       const std::vector<MinuteVerifiee>& minutes) {
    Echeances e;
    for (std::size_t i = 0; i < alarmes.size(); ++i) {
        if (!alarme_due(alarmes[i], minutes))
            continue;
        e.dues.push_back(static_cast<std::int32_t>(i));
        if (alarmes[i].affiche_texte())
            e.texte = static_cast<std::int32_t>(i);
    }
    return e;
}

bool alarme_passee(const EnregistrementAlarme& a, const Instant& maintenant) {
    if (a.repete())
        return false;
    const std::string heure = a.heure().substr(0, longueur_heure);
    const std::string date = a.date().substr(0, longueur_date);
    const auto chiffres = [](const std::string& s, std::size_t debut, std::size_t n) {
        return s.size() >= debut + n && std::all_of(s.begin() + debut, s.begin() + debut + n,
                                                    [](char c) { return c >= '0' && c <= '9'; });
    };
    // A field that is not all digits names no minute.
    if (!chiffres(heure, 0, 2) || !chiffres(heure, 3, 2) || !chiffres(date, 0, 2) ||
        !chiffres(date, 3, 2) || !chiffres(date, 6, 4))
        return false;
    const Jour d = jour_du_texte(date);
    if (jour_de(d) < 1 || !d.month().ok())
        return false;
    Instant t{annee_de(d), mois_de(d), jour_de(d)};
    t.heure = std::stoi(heure.substr(0, 2));
    t.minute = std::stoi(heure.substr(3, 2));
    // A minute that does not spell back the same (31/02, 24:00, 12:60) never comes.
    const std::int64_t n = numero_minute(t);
    const MinuteVerifiee m = minute_verifiee(instant_de_minute(n));
    return m.heure == heure && m.date == date && n < numero_minute(maintenant);
}

namespace {

struct Sonneries {
    std::vector<std::string> sons; // file order
    std::optional<std::string> texte;
};

// The file read at once into a buffer of our own: the alarm being edited in
// the entry dialog is never touched.
Sonneries lit_sonneries(const std::string& repertoire, const std::vector<MinuteVerifiee>& minutes) {
    const std::vector<EnregistrementAlarme> alarmes = lit_alarmes(repertoire);
    const Echeances e = alarmes_dues(alarmes, minutes);
    Sonneries s;
    for (std::int32_t i : e.dues)
        s.sons.push_back(chemin_son(alarmes[static_cast<std::size_t>(i)], repertoire));
    if (e.texte >= 0)
        s.texte = alarmes[static_cast<std::size_t>(e.texte)].texte();
    return s;
}

} // namespace

PlanificateurAlarmes::PlanificateurAlarmes(Contexte& ctx, std::function<Tmessage_alarme&()> message,
                                           QWidget* parent)
    : ctx_(ctx), message_(std::move(message)), parent_(parent),
      suivi_(numero_minute(ctx.horloge.maintenant()) - 1) {}

PlanificateurAlarmes::PlanificateurAlarmes(Contexte& ctx, Tmessage_alarme& message)
    : PlanificateurAlarmes(
          ctx, [&message]() -> Tmessage_alarme& { return message; }, message.parentWidget()) {}

void PlanificateurAlarmes::verifie() {
    const std::int64_t maintenant = numero_minute(ctx_.horloge.maintenant());
    const std::vector<std::int64_t> numeros = suivi_.a_verifier(maintenant);
    if (numeros.empty())
        return;                    // every minute up to now has been checked already
    ctx_.dates.relit_aujourdhui(); // every tick refreshes today's date
    std::vector<MinuteVerifiee> minutes;
    for (std::int64_t m : numeros)
        minutes.push_back(minute_verifiee(instant_de_minute(m)));

    Sonneries s;
    try {
        s = lit_sonneries(ctx_.repertoire, minutes);
    } catch (...) {
        suivi_.echouee(numeros, maintenant);
        signale(std::current_exception());
        return;
    }
    suivi_.reussie(numeros, maintenant);
    for (const std::string& son : s.sons)
        joue_son(ctx_.son, son);
    if (s.texte)
        message_().annonce(*s.texte);
}

void PlanificateurAlarmes::signale(std::exception_ptr erreur) {
    if (boite_ouverte_)
        return; // the box already open tells it; the minutes wait all the same
    boite_ouverte_ = true;
    // Shown from the event loop rather than from the tick: a box waiting inside
    // the timer's handler would hold the timer until it is closed.
    QTimer::singleShot(0, &vie_, [this, erreur] {
        garde(ctx_.dialogues, parent_, QString::fromStdString(ctx_.titre),
              [erreur] { std::rethrow_exception(erreur); });
        boite_ouverte_ = false;
    });
}

} // namespace quorvel
