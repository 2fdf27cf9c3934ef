// The program killed outright (SIGKILL) at spread-out moments while it saves a
// long note pad, a day page, the settings and the alarm file. After each kill
// every file holds a whole version the program wrote, never an empty or cut
// one; the next start clears what the killed save left and reads everything.
#include "plateforme/cp1252.hpp"
#include "shell/banc.hpp"

#include <array>
#include <atomic>
#include <csignal>
#include <sys/mman.h>
#include <sys/wait.h>

using namespace quorvel;
using namespace quorvel::test;
using namespace std::chrono;

namespace {

const char* const etapes[] = {"bloc-notes", "page du jour", "réglages", "alarmes"};
constexpr int nombre_etapes = 4;

// Where the saving child is, seen by the parent across the fork.
struct Partage {
    std::atomic<int> etape{-1};
};

// The two versions of everything, written in turn.
struct Versions {
    std::array<std::string, 2> bloc_note, note, agenda, reglages;
    EnregistrementAlarme a, b, c;
    // The alarm file goes round abc -> ac -> acb -> ab -> abc, deleting the
    // second record then adding the one that is missing.
    std::set<std::string> alarmes;

    explicit Versions(const std::string& repertoire) {
        for (int v = 0; v < 2; ++v) {
            bloc_note[v] = std::string(longueur_bloc, v ? '\xE9' : 'a');
            note[v] = std::string(2000 + 500 * v, v ? 'x' : '\xE0');
            EnregistrementAgenda ag;
            for (int k = 1; k <= nombre_creneaux; ++k)
                ag.regle_texte(k, std::string(60, static_cast<char>('a' + k + v)));
            ag.regle_cloche(7, v == 1);
            agenda[v] = octets_de(ag);
            Reglages r;
            config_defaut(r, repertoire);
            r.regle_son_page(v == 0);
            r.regle_couleur(CouleurReglee::jour, v ? 0x00FF00 : 0x800000);
            reglages[v] = octets_de(r);
        }
        for (auto [r, heure] : {std::pair{&a, "07:00"}, {&b, "08:00"}, {&c, "09:00"}})
            *r = alarme(heure, std::string(200, heure[1]), true, "");
        alarmes = {octets_de({a, b, c}), octets_de({a, c}), octets_de({a, c, b}),
                   octets_de({a, b})};
    }
};

// The child: the note pad, the page, the settings dialog and the alarm list
// saving in turn for ever through the program's own routines, from the given
// step on. sur_disque: the version each of the first three files holds; each
// save writes the other one.
[[noreturn]] void sauve_sans_fin(const std::string& rep, const Versions& versions, int etape,
                                 std::array<int, 3> sur_disque, Partage& partage) {
    try {
        for (;; etape = (etape + 1) % nombre_etapes) {
            partage.etape = etape;
            if (etape == 0) {
                sauve_texte(rep + fichier_bloc_note, versions.bloc_note[sur_disque[0] ^= 1]);
            } else if (etape == 1) {
                const int v = sur_disque[1] ^= 1;
                EnregistrementAgenda agenda;
                auto f = ouvre_agenda(rep, jour_du(3, 3, 2026), agenda);
                sauve_texte(rep + fichier_note_jour(jour_du(3, 3, 2026)), versions.note[v]);
                std::copy(versions.agenda[v].begin(), versions.agenda[v].end(),
                          agenda.octets.begin());
                ecrit_agenda(f, agenda);
                f.ferme();
            } else if (etape == 2) {
                Reglages r;
                const std::string& octets = versions.reglages[sur_disque[2] ^= 1];
                std::copy(octets.begin(), octets.end(), r.octets.begin());
                ecrit_reglages(rep, r);
            } else {
                const auto alarmes = lit_alarmes(rep);
                EnregistrementAlarme courante;
                if (alarmes.size() == 3)
                    supprime_alarme(rep, 1, courante);
                else
                    ajoute_alarme(rep,
                                  alarmes[1].octets == versions.b.octets ? versions.c : versions.b);
            }
        }
    } catch (...) {
        ::_exit(2);
    }
}

TEST(Mort, ChaqueFichierResteEntierQuandLeProgrammeEstTue) {
    Banc b(2026, 3, 3, 10, 0);
    const RepertoireTemp& rep = b.rep;
    const std::string r = rep.chemin();
    const Versions v(r);
    const std::string pad = fichier_bloc_note, note = fichier_note_jour(jour_du(3, 3, 2026)),
                      agenda = fichier_agenda_jour(jour_du(3, 3, 2026)), reglages = "PAD.CFG";
    std::vector<std::string> noms = {pad, note, agenda, reglages, "ALARME"};
    std::sort(noms.begin(), noms.end());
    const std::map<std::string, std::set<std::string>> permis = {
        {pad, {nul(v.bloc_note[0]), nul(v.bloc_note[1])}},
        {note, {nul(v.note[0]), nul(v.note[1])}},
        {agenda, {v.agenda[0], v.agenda[1]}},
        {reglages, {v.reglages[0], v.reglages[1]}},
        {"ALARME", v.alarmes}};
    // What a first run leaves, version 0 of everything.
    sauve_texte(r + pad, v.bloc_note[0]);
    sauve_texte(r + note, v.note[0]);
    rep.ecrit(agenda, v.agenda[0]);
    rep.ecrit(reglages, v.reglages[0]);
    for (const EnregistrementAlarme* a : {&v.a, &v.b, &v.c})
        ajoute_alarme(r, *a);
    ASSERT_EQ(rep.fichiers(), noms);

    void* zone =
        ::mmap(nullptr, sizeof(Partage), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(zone, MAP_FAILED);
    auto* partage = new (zone) Partage;
    std::mt19937 hasard(20260303);
    // From a microsecond, inside the shortest write, to 20 ms, past a whole turn.
    std::uniform_real_distribution<double> logarithme(0.0, std::log(20000.0));
    std::array<int, nombre_etapes> tues_par_etape{};
    int tues = 0;
    // One kill aimed at a step; true when it left a temporary.
    const auto tue = [&] {
        partage->etape = -1;
        const int visee = tues % nombre_etapes;
        const std::array<int, 3> sur_disque = {rep.lit(pad) == nul(v.bloc_note[1]),
                                               rep.lit(note) == nul(v.note[1]),
                                               rep.lit(reglages) == v.reglages[1]};
        const pid_t enfant = ::fork();
        if (enfant == 0)
            sauve_sans_fin(r, v, visee, sur_disque, *partage);
        if (enfant < 0) {
            ADD_FAILURE() << "fork";
            return false;
        }
        for (const auto limite = steady_clock::now() + seconds(2);
             partage->etape != visee && steady_clock::now() < limite;)
            std::this_thread::yield();
        const auto attente = microseconds(static_cast<long>(std::exp(logarithme(hasard))));
        for (const auto t = steady_clock::now() + attente; steady_clock::now() < t;)
            if (attente > milliseconds(1))
                std::this_thread::sleep_for(microseconds(100));
        ::kill(enfant, SIGKILL);
        int statut = 0;
        ::waitpid(enfant, &statut, 0);
        EXPECT_TRUE(WIFSIGNALED(statut)) << "le programme s'est arrêté de lui-même";
        const int etape = std::max(partage->etape.load(), 0);
        ++tues;
        ++tues_par_etape[etape];
        for (const auto& [nom, versions] : permis)
            EXPECT_TRUE(versions.contains(rep.lit(nom)))
                << nom << " de " << rep.taille(nom) << " octets après le coup " << tues
                << ", pendant : " << etapes[etape];
        return rep.fichiers() != noms;
    };
    const auto fin = steady_clock::now() + seconds(6);
    while (!HasFailure() && (tues < 100 || (tues < 400 && steady_clock::now() < fin))) {
        tue();
        efface_provisoires(r);
        ASSERT_EQ(rep.fichiers(), noms) << "après le coup " << tues;
    }
    // A last kill that leaves a temporary, for the real start to clear.
    bool laisse = false;
    for (int essais = 0; !HasFailure() && !laisse && essais < 200; ++essais)
        laisse = tue();
    EXPECT_TRUE(laisse);
    for (int e = 0; e < nombre_etapes; ++e)
        EXPECT_GE(tues_par_etape[e], 1) << etapes[e];

    Programme p = b.lance();
    noms.push_back("SAINT03"); // made by the start to find the saint of the day
    EXPECT_EQ(rep.fichiers(), noms);
    EXPECT_TRUE(b.dialogues.erreurs.empty());
    EXPECT_TRUE(permis.at(reglages).contains(octets_de(p.etat.reglages)));
    EXPECT_TRUE(permis.at(agenda).contains(octets_de(p.etat.page.agenda())));
    EXPECT_TRUE(
        permis.at(note).contains(nul(vers_cp1252(p.form1->edit_bloc_calendrier->toPlainText()))));
    EXPECT_TRUE(permis.at(pad).contains(nul(charge_texte(r + pad))));
    EXPECT_TRUE(v.alarmes.contains(octets_de(lit_alarmes(r))));
    ::munmap(zone, sizeof(Partage));
}

} // namespace
