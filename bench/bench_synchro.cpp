// Two-way CalDAV sync of a year of pages (365 dates of eight written lines,
// 2,920 events) with a real Radicale on loopback: the first run, which sends
// everything, and a run with nothing changed, which must send and receive no
// item (the counters say how many requests and bytes travelled).
//   bench_synchro --benchmark_repetitions=3
#include "ical/synchro.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/fichier.hpp"
#include "tests/commun/repertoire_temp.hpp"
#include "tests/ical/radicale.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace quorvel;

namespace {

const Jour aujourdhui = jour_du(8, 12, 2026);

void remplit_une_annee(const std::string& dossier) {
    for (int n = 0; n < 365; ++n) {
        const Jour j{std::chrono::sys_days{aujourdhui} + std::chrono::days{n}};
        EnregistrementAgenda a;
        vide_agenda(a);
        for (int k = 1; k <= 8; ++k) {
            a.regle_texte(k, "Rendez-vous " + std::to_string(n) + "-" + std::to_string(k));
            a.regle_cloche(k, k == 1);
        }
        remplace_atomiquement(dossier + fichier_agenda_jour(j),
                              std::string(a.octets.begin(), a.octets.end()));
    }
}

int calendriers = 0;

// A server of its own and a data folder holding a year of pages.
struct Banc {
    test::Radicale serveur;
    test::RepertoireTemp bureau;
    Banc() { remplit_une_annee(bureau.chemin()); }
};

void premiere(benchmark::State& etat) {
    if (!test::Radicale::present())
        return etat.SkipWithError("radicale n'est pas installé");
    Banc banc;
    auto& [serveur, bureau] = banc;
    for (auto _ : etat) {
        etat.PauseTiming();
        std::remove(bureau.fichier(ical::fichier_etat_synchro).c_str());
        const std::string nom = "agenda" + std::to_string(++calendriers);
        caldav::Compte compte = serveur.compte(nom);
        etat.ResumeTiming();
        caldav::Client client(compte);
        const ical::BilanSynchro b =
            ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        etat.counters["envoyes"] = static_cast<double>(b.mouvements.size());
        etat.counters["requetes"] = b.requetes;
    }
}
BENCHMARK(premiere)->Unit(benchmark::kMillisecond)->Iterations(1);

void sans_changement(benchmark::State& etat) {
    if (!test::Radicale::present())
        return etat.SkipWithError("radicale n'est pas installé");
    Banc banc;
    auto& [serveur, bureau] = banc;
    const caldav::Compte compte = serveur.compte();
    {
        caldav::Client client(compte);
        ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        caldav::Client encore(compte);
        ical::synchronise(bureau.chemin(), encore, compte.url, aujourdhui);
    }
    for (auto _ : etat) {
        caldav::Client client(compte);
        const ical::BilanSynchro b =
            ical::synchronise(bureau.chemin(), client, compte.url, aujourdhui);
        etat.counters["mouvements"] = static_cast<double>(b.mouvements.size());
        etat.counters["requetes"] = b.requetes;
        etat.counters["octets_recus"] = static_cast<double>(b.octets_recus);
    }
}
BENCHMARK(sans_changement)->Unit(benchmark::kMillisecond);

} // namespace
