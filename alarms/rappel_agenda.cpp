#include "rappel_agenda.hpp"

#include <chrono>

namespace quorvel {

int creneau_courant(int heure) {
    if (heure <= 8)
        return 1;
    if (heure >= 20)
        return 13;
    return heure - 7;
}

int numero_heure(const Instant& t) {
    using namespace std::chrono;
    const year_month_day ymd{year{t.annee}, month{static_cast<unsigned>(t.mois)},
                             day{static_cast<unsigned>(t.jour)}};
    return static_cast<int>(sys_days{ymd}.time_since_epoch().count()) * 24 + t.heure;
}

int nouvelle_heure_agenda(const Instant& t, int& derniere_heure) {
    const int numero = numero_heure(t);
    if (t.heure < 8 || t.heure > 20 || numero == derniere_heure)
        return 0;
    derniere_heure = numero;
    return t.heure - 7;
}

} // namespace quorvel
