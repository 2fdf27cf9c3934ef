// Start-up inside one process: the whole program (settings, purge, saint,
// today's page, every window) built on a data directory of a year of day files,
// shown, and its pending events processed. The whole-process figure, against a
// bare Qt program, comes from mesure_demarrage.sh.
#include "jour/fichiers_jour.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/son.hpp"
#include "shell/form1.hpp"
#include "shell/programme.hpp"
#include "tests/commun/dialogues_test.hpp"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

// Today and the 364 days before it, as a year of use leaves them.
void une_annee(const std::string& rep, const Horloge& h) {
    ServiceDates dates(h);
    const Jour aujourdhui = dates.relit_aujourdhui();
    for (int i = 0; i < 365; ++i) {
        const Jour d = plus_jours(aujourdhui, -i);
        std::ofstream(rep + fichier_note_jour(d), std::ios::binary) << "Note " << i << '\0';
        std::ofstream(rep + fichier_agenda_jour(d), std::ios::binary)
            << std::string(taille_agenda, '\0');
    }
}

void demarrage(benchmark::State& state, bool purge) {
    std::string rep = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (!mkdtemp(rep.data()))
        std::abort();
    rep += "/";
    HorlogeReglable horloge(2026, 12, 6, 10, 0);
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    une_annee(rep, horloge);
    for (auto _ : state) {
        if (purge) {
            state.PauseTiming();
            une_annee(rep, horloge);
            state.ResumeTiming();
        }
        Programme p(horloge, son, dialogues, rep);
        p.form1->show();
        QApplication::processEvents();
        state.PauseTiming();
        p.form1->hide();
        state.ResumeTiming();
    }
    if (!dialogues.erreurs.empty())
        state.SkipWithError("une erreur a été affichée");
    fs::remove_all(rep);
}

void BM_DemarrageAvecPurge(benchmark::State& state) {
    demarrage(state, true);
}
void BM_DemarrageSuivant(benchmark::State& state) {
    demarrage(state, false);
}
BENCHMARK(BM_DemarrageAvecPurge)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DemarrageSuivant)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
