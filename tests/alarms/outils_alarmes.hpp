#pragma once
// Shared by the alarm tests: a record builder, the file image of a list of
// records, and the desk the dialogs open on.
#include "alarms/alarme.hpp"
#include "commun/bureau.hpp"

namespace quorvel::test {

inline EnregistrementAlarme alarme(const std::string& heure, const std::string& texte,
                                   bool repete = true, const std::string& date = "03/03/2026",
                                   std::int16_t frequence = 0,
                                   const std::string& son = "coucou.wav", bool affiche = false) {
    EnregistrementAlarme a;
    a.regle_heure(heure);
    a.regle_texte(texte);
    a.regle_affiche_texte(affiche);
    a.regle_repete(repete);
    a.regle_date(date);
    a.regle_frequence(frequence);
    EXPECT_TRUE(a.regle_son(son));
    return a;
}

inline std::string octets_de(const std::vector<EnregistrementAlarme>& v) {
    std::string s;
    for (const auto& a : v)
        s.append(reinterpret_cast<const char*>(a.octets.data()), a.octets.size());
    return s;
}

} // namespace quorvel::test
