#include "rappel_agenda.hpp"

namespace quorvel {

int creneau_courant(int heure) {
    if (heure <= 8) return 1;
    if (heure >= 20) return 13;
    return heure - 7;
}

int nouvelle_heure_agenda(int heure, int& derniere_heure) {
    if (heure < 8 || heure > 20 || heure == derniere_heure) return 0;
    derniere_heure = heure;
    return heure - 7;
}

} // namespace quorvel
