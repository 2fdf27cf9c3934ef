#include "alarms/planificateur.hpp"

#include "alarms/message_alarme.hpp"
#include "calendar/contexte.hpp"
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"

#include <chrono>

namespace quorvel {

std::int64_t numero_minute(const Instant& t) {
    using namespace std::chrono;
    const year_month_day ymd{year{t.annee}, month{static_cast<unsigned>(t.mois)},
                             day{static_cast<unsigned>(t.jour)}};
    const std::int64_t jours = sys_days{ymd}.time_since_epoch().count();
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
    const year_month_day ymd{d};
    Instant t;
    t.annee = static_cast<int>(ymd.year());
    t.mois = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.jour = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.jour_semaine = static_cast<int>(weekday{d}.c_encoding()) + 1;
    t.heure = static_cast<int>(reste / 60);
    t.minute = static_cast<int>(reste % 60);
    return t;
}

std::vector<std::int64_t> minutes_a_verifier(std::optional<std::int64_t> derniere,
                                             std::int64_t maintenant) {
    if (!derniere || maintenant < *derniere || maintenant - *derniere > rattrapage_max)
        return {maintenant};
    std::vector<std::int64_t> minutes;
    for (std::int64_t m = *derniere + 1; m <= maintenant; ++m)
        minutes.push_back(m);
    return minutes;
}

MinuteVerifiee minute_verifiee(const Instant& t) {
    return {nombre_zeros(t.heure, 2) + ":" + nombre_zeros(t.minute, 2),
            texte_date_de(t.jour, t.mois, t.annee), t.jour_semaine};
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

PlanificateurAlarmes::PlanificateurAlarmes(Contexte& ctx, Tmessage_alarme& message)
    : ctx_(ctx), message_(message), derniere_(numero_minute(ctx.horloge.maintenant()) - 1) {}

void PlanificateurAlarmes::verifie() {
    const std::int64_t maintenant = numero_minute(ctx_.horloge.maintenant());
    const std::vector<std::int64_t> numeros = minutes_a_verifier(derniere_, maintenant);
    if (numeros.empty())
        return;               // this minute has been checked already
    ctx_.dates.texte_date(3); // every tick refreshes today's date
    std::vector<MinuteVerifiee> minutes;
    for (std::int64_t m : numeros)
        minutes.push_back(minute_verifiee(instant_de_minute(m)));

    // One pass over the file into a buffer of our own: the alarm being edited
    // in the entry dialog is never touched.
    std::vector<std::string> sons;
    std::optional<std::string> texte;
    {
        auto f = ouvre_alarme(ctx_.repertoire);
        const std::int32_t c = nombre_alarmes(f);
        EnregistrementAlarme locale;
        for (std::int32_t i = 0; i < c; ++i) {
            lit_alarme(f, i, locale);
            if (!alarme_due(locale, minutes))
                continue;
            sons.push_back(chemin_son(locale, ctx_.repertoire));
            if (locale.affiche_texte())
                texte = locale.texte();
        }
        ferme_alarme(f);
    }
    derniere_ = maintenant;
    for (const std::string& son : sons)
        joue_son(ctx_.son, son);
    if (texte)
        message_.annonce(*texte);
}

} // namespace quorvel
