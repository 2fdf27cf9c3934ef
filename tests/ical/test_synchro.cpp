// A synchronisation cut in the middle, against a real Radicale: once the
// server's changes are on the desk, another client changes the item the
// desk is about to write (a 412), or the server stops. The next run ends the
// work without losing the desk's text nor writing anything twice, and once
// nothing changes, a run costs one small request.
#include "radicale.hpp"

#include "ical/synchro.hpp"
#include "jour/fichiers_jour.hpp"

#include <algorithm>
#include <cstring>
#include <regex>

using namespace quorvel;

namespace {

const Jour le_9 = jour_du(9, 12, 2026);
const Jour aujourdhui = jour_du(8, 12, 2026);

void ecrit_lignes(test::RepertoireTemp& bureau,
                  std::initializer_list<std::pair<int, std::string>> lignes) {
    EnregistrementAgenda a;
    if (bureau.existe(fichier_agenda_jour(le_9)))
        std::memcpy(a.octets.data(), bureau.lit(fichier_agenda_jour(le_9)).data(), a.octets.size());
    for (const auto& [k, t] : lignes)
        a.regle_texte(k, t);
    bureau.ecrit(fichier_agenda_jour(le_9),
                 std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size()));
}

// The summaries of the server's items, sorted.
std::vector<std::string> resumes(const caldav::Compte& compte) {
    caldav::Client client(compte);
    std::vector<std::string> hrefs;
    for (const caldav::Ressource& r : client.liste())
        hrefs.push_back(r.href);
    std::vector<std::string> r;
    for (const caldav::Ressource& e : client.lit(hrefs)) {
        const std::size_t p = e.donnees.find("\nSUMMARY:");
        if (p != std::string::npos)
            r.push_back(e.donnees.substr(p + 9, e.donnees.find_first_of("\r\n", p + 1) - p - 9));
    }
    std::sort(r.begin(), r.end());
    return r;
}

// The href of the desk's 09h00 line on the server.
std::string client_href_dentiste(caldav::Client& client) {
    for (const caldav::Ressource& r : client.liste())
        if (r.href.find("0900") != std::string::npos || r.href.find("09h00") != std::string::npos)
            return r.href;
    return {};
}

using test::EssaiRadicale;

} // namespace

TEST_F(EssaiRadicale, UneSynchronisationCoupeeEnCheminSeTermineALaSuivante) {
    struct Cas {
        const char* quoi;
        bool course; // another client writes the item (412); otherwise the server stops
        std::vector<std::string> serveur;
    } const cas[] = {
        {"un autre client écrit l'élément entre-temps",
         true,
         {"Banque", "Coiffeur", "Dentiste \xC3\xA0 9h30",
          "Du serveur\xC2\xA0: 09h00 Dentiste annul\xC3\xA9"}},
        {"le serveur s'arrête avant les écritures",
         false,
         {"Banque", "Coiffeur", "Dentiste \xC3\xA0 9h30"}},
    };
    int n = 0;
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        test::RepertoireTemp bureau;
        const caldav::Compte compte = serveur->compte("agenda" + std::to_string(++n));
        ecrit_lignes(bureau, {{2, "Dentiste"}});
        {
            caldav::Client client(compte);
            ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        }
        ecrit_lignes(bureau, {{2, "Dentiste \xE0 9h30"}, {5, "Banque"}});
        // Something new on the server, for the run to have files to write.
        caldav::Client(compte).ecrit(
            "/lucie/agenda" + std::to_string(n) + "/coiffeur.ics",
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//essai//FR\r\nBEGIN:VEVENT\r\n"
            "UID:coiffeur\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261210T140000\r\n"
            "SUMMARY:Coiffeur\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
            "");

        // The second run, cut once the desk's files are written.
        const ical::PassageBureau coupe = [&](const std::function<std::vector<Jour>()>& travail) {
            travail();
            if (!c.course) {
                serveur->arrete();
                return;
            }
            caldav::Client autre(compte);
            for (const caldav::Ressource& r : autre.lit({client_href_dentiste(autre)}))
                autre.ecrit(r.href,
                            std::regex_replace(r.donnees, std::regex("SUMMARY:[^\r\n]*"),
                                               "SUMMARY:Dentiste annul\xC3\xA9"),
                            r.etag);
        };
        bool coupee = false;
        try {
            caldav::Client client(compte);
            const ical::BilanSynchro b =
                ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui, coupe);
            ASSERT_EQ(b.laisses.size(), 1u);
            EXPECT_NE(b.laisses[0].find("a changé sur le serveur pendant la synchronisation"),
                      std::string::npos);
        } catch (const caldav::ErreurCaldav&) {
            coupee = true;
        }
        EXPECT_EQ(coupee, !c.course);
        if (coupee)
            serveur->demarre();

        caldav::Client client(compte);
        ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        EXPECT_EQ(resumes(compte), c.serveur);
        const std::string eng = bureau.lit(fichier_agenda_jour(le_9));
        EXPECT_EQ(std::string(eng.c_str() + 61), "Dentiste \xE0 9h30");
        EXPECT_EQ(std::string(eng.c_str() + 4 * 61), "Banque");

        // Then nothing changes: one run lists what the last one sent, the next
        // asks only for the calendar's marks, and writes nothing.
        ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        const std::string etat = bureau.lit(ical::fichier_etat_synchro);
        caldav::Client calme(compte);
        const ical::BilanSynchro b =
            ical::synchronise(bureau.chemin(), calme, compte.url, aujourdhui);
        EXPECT_EQ(b.requetes, 1);
        EXPECT_TRUE(b.mouvements.empty());
        EXPECT_EQ(bureau.lit(ical::fichier_etat_synchro), etat);
    }
}

// A first run on a full calendar: the report names the first twenty of each
// part and counts the others.
TEST(Synchro, LeRapportNommeLesPremiersEtCompteLesAutres) {
    ical::BilanSynchro b;
    for (int i = 0; i < 25; ++i)
        b.mouvements.push_back({ical::Mouvement::Cote::bureau, ical::Mouvement::Genre::ajoute, le_9,
                                9, "R\xC3\xA9union " + std::to_string(i)});
    b.laisses = {"le 09/12/2026, un seul"};
    const std::string t = ical::texte_bilan(b);
    EXPECT_NE(t.find("Sur le bureau\xC2\xA0: 25 ajouts, 0 modification, 0 suppression.\n"),
              std::string::npos);
    EXPECT_NE(t.find("R\xC3\xA9union 19\xC2\xA0\xC2\xBB\n  \xE2\x80\xA6 et 5 autres.\n"),
              std::string::npos)
        << t;
    EXPECT_EQ(t.find("R\xC3\xA9union 20"), std::string::npos);
    EXPECT_NE(t.find("Laiss\xC3\xA9 de c\xC3\xB4t\xC3\xA9\xC2\xA0: le 09/12/2026, un seul.\n"),
              std::string::npos);
}
