#include "jeu_essai.hpp"

#include "alarms/alarme.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/cp1252.hpp"

#include <map>
#include <tuple>

namespace quorvel::test {

namespace {
std::string cp1252(const std::string& utf8) {
    return vers_cp1252(QString::fromStdString(utf8));
}
} // namespace

const std::vector<LigneEssai>& lignes_essai() {
    static const std::vector<LigneEssai> lignes = {
        {8, 12, 2026, 8, "Réunion à l'école", true},
        {8, 12, 2026, 10, "Dentiste", false},
        {8, 12, 2026, 14, "Appeler le garage : révision, pneus, vidange, essuie-glaces.", false},
        {8, 12, 2026, 20, "Dîner chez Zoé\u00a0: apporter le gâteau", true},
        {24, 12, 2026, 19, "Réveillon chez Œdipe — 50 €", true},
        {15, 3, 2026, 9, "Vieux rendez-vous", false}, // older than the purge: kept
        {15, 6, 2026, 11, "Dans la purge", false},    // the next start deletes it
    };
    return lignes;
}

const std::vector<NoteEssai>& notes_essai() {
    static const std::vector<NoteEssai> notes = {
        {8, 12, 2026, "Penser à l'anniversaire\r\nd'Élise\u00a0: 18h"},
        {7, 12, 2026, "Aujourd'hui\u00a0: courses\r\n"},
    };
    return notes;
}

const std::string& bloc_notes_essai() {
    static const std::string texte = "Liste de courses\u00a0:\r\n- pain\r\n- café";
    return texte;
}

const std::vector<AlarmeEssai>& alarmes_essai() {
    static const std::vector<AlarmeEssai> alarmes = {
        {"07:30", "Réveil", "01/01/2026", true, 0},
        {"09:15", "Réunion d'équipe\r\nsalle 2", "01/01/2026", true, 2}, // Mondays
        {"08:00", "Noël chez mamie", "25/12/2026", false, 0},
    };
    return alarmes;
}

void remplit_dossier(const std::string& dossier) {
    std::map<std::tuple<int, int, int>, EnregistrementAgenda> agendas;
    for (const LigneEssai& l : lignes_essai()) {
        EnregistrementAgenda& a = agendas[{l.jour, l.mois, l.annee}];
        a.regle_texte(l.heure - 7, cp1252(l.texte));
        a.regle_cloche(l.heure - 7, l.cloche);
    }
    agendas[{8, 12, 2026}].regle_cloche(15 - 7, true);
    agendas[{10, 12, 2026}];
    agendas[{31, 2, 2026}].regle_texte(1, "Jamais");
    for (const auto& [date, a] : agendas) {
        const auto [j, m, an] = date;
        remplace_atomiquement(
            dossier + fichier_agenda_jour(jour_du(j, m, an)),
            std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size()));
    }
    for (const NoteEssai& n : notes_essai())
        sauve_texte(dossier + fichier_note_jour(jour_du(n.jour, n.mois, n.annee)), cp1252(n.texte));
    sauve_texte(dossier + fichier_note_jour(jour_du(10, 12, 2026)), "");
    sauve_texte(dossier + fichier_bloc_note, cp1252(bloc_notes_essai()));
    std::vector<AlarmeEssai> alarmes = alarmes_essai();
    alarmes.push_back({"99:99", "Cassée", "", true, 0});
    for (const AlarmeEssai& a : alarmes) {
        EnregistrementAlarme r;
        r.regle_heure(a.heure);
        r.regle_texte(cp1252(a.texte));
        r.regle_date(a.date);
        r.regle_repete(a.repete);
        r.regle_frequence(static_cast<std::int16_t>(a.frequence));
        ajoute_alarme(dossier, r);
    }
}

} // namespace quorvel::test
