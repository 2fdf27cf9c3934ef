#include "rappel_agenda.hpp"

#include "jour/fichiers_jour.hpp"

#include <algorithm>
#include <chrono>

namespace quorvel {

int creneau_courant(int heure) {
    return std::clamp(creneau_de_l_heure(heure), 1, nombre_creneaux);
}

int numero_heure(const Instant& t) {
    using namespace std::chrono;
    return static_cast<int>(sys_days{date_de(t)}.time_since_epoch().count()) * 24 + t.heure;
}

int nouvelle_heure_agenda(const Instant& t, int& derniere_heure) {
    const int numero = numero_heure(t);
    const int k = creneau_de_l_heure(t.heure);
    if (k < 1 || k > nombre_creneaux || numero == derniere_heure)
        return 0;
    derniere_heure = numero;
    return k;
}

} // namespace quorvel
