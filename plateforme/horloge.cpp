#include "horloge.hpp"

#include <chrono>
#include <ctime>

namespace quorvel {

Instant HorlogeSysteme::maintenant() const {
    std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return {lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_wday + 1,
            lt.tm_hour,        lt.tm_min,     lt.tm_sec};
}

long long HorlogeSysteme::millisecondes() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void HorlogeReglable::regle(int annee, int mois, int jour, int heure, int minute, int seconde) {
    using namespace std::chrono;
    const year_month_day ymd{year{annee}, month{static_cast<unsigned>(mois)},
                             day{static_cast<unsigned>(jour)}};
    const weekday wd{sys_days{ymd}};
    t_ = {annee, mois, jour, static_cast<int>(wd.c_encoding()) + 1, heure, minute, seconde};
}

void HorlogeReglable::avance(long long secondes) {
    using namespace std::chrono;
    if (secondes > 0)
        ms_ += secondes * 1000;
    const year_month_day ymd{year{t_.annee}, month{static_cast<unsigned>(t_.mois)},
                             day{static_cast<unsigned>(t_.jour)}};
    const auto debut = sys_days{ymd} + hours{t_.heure} + minutes{t_.minute} + seconds{t_.seconde};
    const auto fin = debut + seconds{secondes};
    const auto jour_fin = floor<days>(fin);
    const year_month_day d{jour_fin};
    const hh_mm_ss hms{fin - jour_fin};
    regle(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
          static_cast<int>(static_cast<unsigned>(d.day())), static_cast<int>(hms.hours().count()),
          static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
}

} // namespace quorvel
