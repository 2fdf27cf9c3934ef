// Typed date and time texts, checked against an independent calendar, and the
// number reader on any text.
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "commun_fuzz.hpp"
#include "plateforme/erreurs.hpp"

#include <chrono>
#include <cmath>

using namespace quorvel;
namespace ch = std::chrono;

namespace {

int deux_chiffres(const std::string& t, std::size_t i) {
    const auto chiffre = [](char c) { return c >= '0' && c <= '9'; };
    return chiffre(t[i]) && chiffre(t[i + 1]) ? (t[i] - '0') * 10 + (t[i + 1] - '0') : -1;
}

bool heure_attendue(const std::string& t) {
    if (t.size() != 5 || t[2] != ':')
        return false;
    const int h = deux_chiffres(t, 0), m = deux_chiffres(t, 3);
    return h >= 0 && h <= 23 && m >= 0 && m <= 59;
}

bool date_attendue(const std::string& t) {
    if (t.size() != 10 || t[2] != '/' || t[5] != '/')
        return false;
    const int j = deux_chiffres(t, 0), m = deux_chiffres(t, 3);
    const int a1 = deux_chiffres(t, 6), a2 = deux_chiffres(t, 8);
    if (j < 0 || m < 0 || a1 < 0 || a2 < 0)
        return false;
    const int a = a1 * 100 + a2;
    return a >= 1982 && a <= 2098 &&
           ch::year_month_day(ch::year(a), ch::month(static_cast<unsigned>(m)),
                              ch::day(static_cast<unsigned>(j)))
               .ok();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string texte = fuzz::octets(data, size);
    VERIFIE(heure_valide(texte) == heure_attendue(texte));
    const bool date = date_valide(texte);
    VERIFIE(date == date_attendue(texte));
    if (date && size > 0) {
        // Day arithmetic goes there and back.
        const int n = data[size - 1] * 3;
        VERIFIE(date_moins_jours(date_plus_jours(texte, n), n) == texte);
    }
    try {
        const long double v = texte_en_reel(texte);
        (void)std::isnan(v);
    } catch (const ErreurQuorvel&) {
    }
    return 0;
}
