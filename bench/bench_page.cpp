// A page turn (save, step, heading, load) in a data directory of a year of day
// files, the start-up purge, and the bare file operations they are made of.
// Medians over repetitions: bench_page --benchmark_repetitions=10
#include "jour/fichiers_jour.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/son.hpp"
#include "shell/etat_application.hpp"
#include "shell/form1.hpp"
#include "shell/zone_texte.hpp"
#include "tests/commun/dialogues_test.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

// A data directory on the disk (not in memory: every save is flushed).
struct Repertoire {
    std::string chemin;
    Repertoire() {
        std::string modele = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
        if (!mkdtemp(modele.data()))
            std::abort();
        chemin = modele + "/";
    }
    ~Repertoire() { fs::remove_all(chemin); }
    void ecrit(const std::string& nom, const std::string& octets) const {
        std::ofstream(chemin + nom, std::ios::binary) << octets;
    }
};

std::string agenda_rempli(int n) {
    EnregistrementAgenda a;
    for (int k = 1; k <= nombre_creneaux; k += 3)
        a.regle_texte(k, "Rendez-vous " + std::to_string(n + k));
    a.regle_cloche(2, true);
    return std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size());
}

// The day files of every date from 364 days back to today (2026-12-06).
void une_annee(const Repertoire& rep) {
    HorlogeReglable h(2026, 12, 6);
    ServiceDates dates(h);
    const Jour aujourdhui = dates.relit_aujourdhui();
    for (int i = 0; i < 365; ++i) {
        const Jour d = plus_jours(aujourdhui, -i);
        rep.ecrit(fichier_note_jour(d), "Note du jour " + std::to_string(i) + '\0');
        rep.ecrit(fichier_agenda_jour(d), agenda_rempli(i));
    }
}

// The main window alone on an empty data directory, on 6 December 2026 at 10:00.
struct Page {
    Repertoire rep;
    HorlogeReglable horloge{2026, 12, 6, 10, 0};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    EtatApplication etat{horloge, son, dialogues, rep.chemin};
    TForm1 f{etat};
};

void BM_TourneLaPage(benchmark::State& state) {
    Repertoire rep;
    une_annee(rep);
    HorlogeReglable horloge(2026, 12, 6, 10, 0);
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    EtatApplication etat(horloge, son, dialogues, rep.chemin);
    TForm1 f(etat);
    bool arriere = true;
    for (auto _ : state) {
        // Something typed on each page, so that each turn really writes.
        f.champ[0]->setText(QStringLiteral("tapé"));
        f.champ[0]->setModified(true);
        if (arriere)
            f.corne_gaucheClick();
        else
            f.corne_droiteClick();
        arriere = !arriere;
    }
    if (!dialogues.erreurs.empty())
        state.SkipWithError("une erreur a été affichée");
}
BENCHMARK(BM_TourneLaPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key typed in an agenda line (0) or the day note (1): the save made by itself
// is only planned, no file is touched. Counter: file operations over the run (0).
void BM_Frappe(benchmark::State& state) {
    Page p;
    TForm1& f = p.f;
    f.show();
    QWidget* boite = state.range(0) ? static_cast<QWidget*>(f.edit_bloc_calendrier) : f.champ[0];
    pannes::desarme();
    int touches = 0;
    for (auto _ : state) {
        QKeyEvent appui(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent relache(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(boite, &appui);
        QApplication::sendEvent(boite, &relache);
        if (++touches % 50 == 0) { // a line's worth, within the agenda line's 60 characters
            state.PauseTiming();
            f.champ[0]->clear();
            f.edit_bloc_calendrier->clear();
            state.ResumeTiming();
        }
    }
    state.counters["operations_fichier"] = pannes::operations();
    if (pannes::operations() != 0)
        state.SkipWithError("une touche a touché un fichier");
}
BENCHMARK(BM_Frappe)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One save made by itself once its moment has come: the changed agenda line
// (0), its record written in place, or the changed day note (1), written whole
// beside, flushed and renamed in.
void BM_SauvegardeAuto(benchmark::State& state) {
    Page p;
    TForm1& f = p.f;
    const bool note = state.range(0) == 1;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++n;
        if (note) {
            f.edit_bloc_calendrier->setPlainText(QString(n % 100, 'a'));
            f.edit_bloc_calendrier->document()->setModified(true);
        } else {
            f.champ[0]->setText(QString(n % 50, 'a'));
            f.champ[0]->setModified(true);
        }
        p.horloge.avance_ms(RythmeSauvegarde::ecart_minimal);
        state.ResumeTiming();
        f.sauvegarde_auto();
    }
    if (f.champ[0]->isModified() || f.edit_bloc_calendrier->document()->isModified() ||
        !p.dialogues.erreurs.empty())
        state.SkipWithError("la page n'a pas été enregistrée");
}
BENCHMARK(BM_SauvegardeAuto)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The purge of a first start after a long absence: 175 dates, 350 files to delete.
void BM_PurgeAvecFichiers(benchmark::State& state) {
    Repertoire rep;
    HorlogeReglable horloge(2026, 12, 6);
    ServiceDates dates(horloge);
    for (auto _ : state) {
        state.PauseTiming();
        une_annee(rep);
        state.ResumeTiming();
        benchmark::DoNotOptimize(rafraichi_fichier(rep.chemin, dates));
    }
}
BENCHMARK(BM_PurgeAvecFichiers)->Unit(benchmark::kMillisecond)->UseRealTime();

// The purge of every other start: nothing left to delete, 350 checks.
void BM_PurgeSansFichier(benchmark::State& state) {
    Repertoire rep;
    HorlogeReglable horloge(2026, 12, 6);
    ServiceDates dates(horloge);
    for (auto _ : state)
        benchmark::DoNotOptimize(rafraichi_fichier(rep.chemin, dates));
}
BENCHMARK(BM_PurgeSansFichier)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The bare operations of a page turn.
void BM_SauveTexte(benchmark::State& state) {
    Repertoire rep;
    const std::string texte(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state)
        sauve_texte(rep.chemin + "PAD", texte);
}
BENCHMARK(BM_SauveTexte)->Arg(20)->Arg(5000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ChargeTexte(benchmark::State& state) {
    Repertoire rep;
    rep.ecrit("PAD", std::string(5000, 'x') + '\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(charge_texte(rep.chemin + "PAD"));
}
BENCHMARK(BM_ChargeTexte)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_LitAgenda(benchmark::State& state) {
    Repertoire rep;
    rep.ecrit(fichier_agenda_jour(jour_du(6, 12, 2026)), agenda_rempli(1));
    EnregistrementAgenda a;
    for (auto _ : state) {
        auto f = ouvre_agenda(rep.chemin, jour_du(6, 12, 2026), a);
        lit_agenda(f, a);
        f.ferme();
    }
}
BENCHMARK(BM_LitAgenda)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_EcritAgenda(benchmark::State& state) {
    Repertoire rep;
    rep.ecrit(fichier_agenda_jour(jour_du(6, 12, 2026)), agenda_rempli(1));
    EnregistrementAgenda a;
    for (auto _ : state) {
        auto f = ouvre_agenda(rep.chemin, jour_du(6, 12, 2026), a);
        ecrit_agenda(f, a);
        f.ferme();
    }
}
BENCHMARK(BM_EcritAgenda)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
