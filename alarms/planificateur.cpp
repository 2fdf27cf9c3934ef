#include "alarms/planificateur.hpp"

#include "alarms/message_alarme.hpp"
#include "calendar/contexte.hpp"
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/garde.hpp"

#include <QTimer>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

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
        derniere_ && *derniere_ < maintenant && maintenant - *derniere_ <= reveil_max;
    for (std::int64_t m = a_la_suite ? *derniere_ + 1 : maintenant; m <= maintenant; ++m)
        minutes.push_back(m);
    std::sort(minutes.begin(), minutes.end());
    minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());
    std::erase_if(minutes, [this](std::int64_t m) { return verifiee(m); });
    return minutes;
}

bool SuiviMinutes::en_retard(std::int64_t minute, std::int64_t maintenant) const {
    const bool reveil = derniere_ && maintenant - *derniere_ > rattrapage_max;
    return minute < maintenant && (reveil || maintenant - minute > rattrapage_max);
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

std::vector<Echeance> echeances(const std::vector<EnregistrementAlarme>& alarmes,
                                const std::vector<std::int64_t>& minutes) {
    std::vector<Echeance> e;
    for (std::int64_t m : minutes) {
        const MinuteVerifiee v = minute_verifiee(instant_de_minute(m));
        for (std::size_t i = 0; i < alarmes.size(); ++i)
            if (alarme_due(alarmes[i], v))
                e.push_back({m, static_cast<std::int32_t>(i)});
    }
    return e;
}

std::optional<std::int64_t> lit_derniere_minute(const std::string& repertoire) {
    const int fd = ::open((repertoire + fichier_derniere_minute).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    char octets[32];
    const ssize_t n = ::read(fd, octets, sizeof octets);
    ::close(fd);
    // One number and its line end, nothing else.
    if (n < 2 || n == sizeof octets || octets[n - 1] != '\n')
        return std::nullopt;
    std::int64_t minute = 0;
    const auto [fin, erreur] = std::from_chars(octets, octets + n - 1, minute);
    if (erreur != std::errc() || fin != octets + n - 1)
        return std::nullopt;
    return minute;
}

void ecrit_derniere_minute(const std::string& repertoire, std::int64_t minute) {
    // Written beside and renamed over, so a killed run leaves the old minute or
    // the new one; not flushed to the disk: once a minute, a lost one costs
    // only a reminder made up.
    const std::string chemin = repertoire + fichier_derniere_minute;
    const std::string provisoire = chemin + ".nouveau";
    const std::string texte = std::to_string(minute) + "\n";
    const int fd = ::open(provisoire.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const bool ecrit =
        ::write(fd, texte.data(), texte.size()) == static_cast<ssize_t>(texte.size());
    if (::close(fd) != 0 || !ecrit || ::rename(provisoire.c_str(), chemin.c_str()) != 0)
        ::unlink(provisoire.c_str());
}

std::vector<std::int64_t> minutes_fermees(std::optional<std::int64_t> derniere,
                                          std::int64_t maintenant) {
    std::vector<std::int64_t> minutes;
    if (derniere && *derniere < maintenant && maintenant - *derniere <= reveil_max)
        for (std::int64_t m = *derniere + 1; m < maintenant; ++m)
            minutes.push_back(m);
    return minutes;
}

namespace {

// "à 10:28", or "hier à 23:30" for a minute of the day before.
QString heure_dite(std::int64_t minute, std::int64_t maintenant) {
    const Instant t = instant_de_minute(minute);
    const QString heure = QString::fromStdString(minute_verifiee(t).heure);
    if (date_de(t) == date_de(instant_de_minute(maintenant)))
        return QStringLiteral("à ") + heure;
    return QStringLiteral("hier à ") + heure;
}

struct Sonneries {
    std::vector<std::string> sons;    // file order
    std::optional<std::string> texte; // the last of the minutes rung on time
    std::vector<std::pair<std::int64_t, std::string>> retards; // minute, text
};

// The file read at once into a buffer of our own: the alarm being edited in
// the entry dialog is never touched.
Sonneries lit_sonneries(const std::string& repertoire, const std::vector<std::int64_t>& numeros,
                        const SuiviMinutes& suivi, std::int64_t maintenant) {
    const std::vector<EnregistrementAlarme> alarmes = lit_alarmes(repertoire);
    std::vector<MinuteVerifiee> toutes, a_l_heure;
    std::vector<std::int64_t> tardives;
    for (std::int64_t m : numeros) {
        toutes.push_back(minute_verifiee(instant_de_minute(m)));
        if (suivi.en_retard(m, maintenant))
            tardives.push_back(m);
        else
            a_l_heure.push_back(toutes.back());
    }
    Sonneries s;
    for (std::int32_t i : alarmes_dues(alarmes, toutes).dues)
        s.sons.push_back(chemin_son(alarmes[static_cast<std::size_t>(i)], repertoire));
    if (const std::int32_t i = alarmes_dues(alarmes, a_l_heure).texte; i >= 0)
        s.texte = alarmes[static_cast<std::size_t>(i)].texte();
    for (const Echeance& e : echeances(alarmes, tardives))
        if (const EnregistrementAlarme& a = alarmes[static_cast<std::size_t>(e.alarme)];
            a.affiche_texte())
            s.retards.emplace_back(e.minute, a.texte());
    return s;
}

} // namespace

PlanificateurAlarmes::PlanificateurAlarmes(Contexte& ctx, std::function<Tmessage_alarme&()> message,
                                           QWidget* parent)
    : ctx_(ctx), message_(std::move(message)), parent_(parent),
      suivi_(numero_minute(ctx.horloge.maintenant()) - 1),
      fermeture_(lit_derniere_minute(ctx.repertoire)) {}

PlanificateurAlarmes::PlanificateurAlarmes(Contexte& ctx, Tmessage_alarme& message)
    : PlanificateurAlarmes(
          ctx, [&message]() -> Tmessage_alarme& { return message; }, message.parentWidget()) {}

void PlanificateurAlarmes::verifie() {
    const std::int64_t maintenant = numero_minute(ctx_.horloge.maintenant());
    const std::vector<std::int64_t> numeros = suivi_.a_verifier(maintenant);
    if (numeros.empty())
        return;                    // every minute up to now has been checked already
    ctx_.dates.relit_aujourdhui(); // every tick refreshes today's date

    Sonneries s;
    try {
        s = lit_sonneries(ctx_.repertoire, numeros, suivi_, maintenant);
    } catch (...) {
        suivi_.echouee(numeros, maintenant);
        signale(std::current_exception());
        return;
    }
    suivi_.reussie(numeros, maintenant);
    ecrit_derniere_minute(ctx_.repertoire, maintenant);
    for (const std::string& son : s.sons)
        joue_son(ctx_.son, son);
    for (const auto& [minute, texte] : s.retards)
        annonce(texte, QStringLiteral("En retard\u00a0: alarme prévue %1.")
                           .arg(heure_dite(minute, maintenant)));
    if (s.texte)
        annonce(*s.texte, {});
}

void PlanificateurAlarmes::annonce_fermeture() {
    const std::int64_t maintenant = numero_minute(ctx_.horloge.maintenant());
    const std::vector<std::int64_t> minutes = minutes_fermees(fermeture_, maintenant);
    fermeture_.reset();
    // This run checks from its first minute on; what came before is told now.
    ecrit_derniere_minute(ctx_.repertoire, maintenant - 1);
    if (minutes.empty())
        return;
    std::vector<EnregistrementAlarme> alarmes;
    try {
        alarmes = lit_alarmes(ctx_.repertoire);
    } catch (...) {
        signale(std::current_exception());
        return;
    }
    QString liste;
    for (const Echeance& e : echeances(alarmes, minutes)) {
        const EnregistrementAlarme& a = alarmes[static_cast<std::size_t>(e.alarme)];
        liste += QLatin1Char('\n') + heure_dite(e.minute, maintenant);
        if (a.affiche_texte() && !a.texte().empty())
            liste +=
                QStringLiteral("\u00a0: ") + texte_affiche(a.texte().c_str(), a.texte().size());
    }
    if (!liste.isEmpty())
        annonce({},
                QStringLiteral("Alarmes passées pendant que Quorvel était fermé\u00a0:") + liste);
}

void PlanificateurAlarmes::annonce(const std::string& texte, const QString& entete) {
    message_().annonce(texte, entete);
    if (ctx_.notificateur) {
        QString corps = texte_affiche(texte.c_str(), texte.size());
        if (!entete.isEmpty())
            corps = texte.empty() ? entete : entete + QLatin1Char('\n') + corps;
        ctx_.notificateur->notifie(corps.toStdString());
    }
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
