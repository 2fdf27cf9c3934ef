// The alarm clock: one full check (open, read every record, decide, close, note
// the minute) over 1000 alarms, the check after a wake of 23 hours (every
// skipped minute looked at), and the decision alone over the same alarms in
// memory.
#include "alarms/alarme.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "calendar/contexte.hpp"
#include "settings/reglages.hpp"
#include "tests/commun/dialogues_test.hpp"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace quorvel;

namespace {

constexpr int nombre = 1000;

// Alarms spread over the day and the week; some one-date, some showing no text.
EnregistrementAlarme alarme(int k) {
    EnregistrementAlarme a;
    const int minute_du_jour = (k * 37) % 1440;
    char heure[8];
    std::snprintf(heure, sizeof heure, "%02d:%02d", minute_du_jour / 60, minute_du_jour % 60);
    a.regle_heure(heure);
    a.regle_texte("Alarme " + std::to_string(k));
    a.regle_repete(k % 3 != 0);
    a.regle_frequence(static_cast<std::int16_t>(k % 8));
    a.regle_date("0" + std::to_string(1 + k % 9) + "/03/2026");
    a.regle_son("coucou.wav");
    return a;
}

class RepertoireBanc {
public:
    RepertoireBanc() {
        std::string modele =
            (std::filesystem::temp_directory_path() / "quorvel-banc-XXXXXX").string();
        if (!::mkdtemp(modele.data()))
            std::abort();
        chemin = modele + "/";
        for (int k = 0; k < nombre; ++k)
            ajoute_alarme(chemin, alarme(k));
    }
    ~RepertoireBanc() { std::filesystem::remove_all(chemin); }
    std::string chemin;
};

} // namespace

// The scheduler over the alarm file, with the clock moved `pas` seconds between checks.
struct Reveil {
    RepertoireBanc rep;
    HorlogeReglable horloge{2026, 3, 2, 0, 0, 30};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx{horloge, son, dialogues, rep.chemin};
    Reglages reglages = [] {
        Reglages r;
        r.regle_video(1);
        return r;
    }();
    Tmessage_alarme message{ctx, reglages};
    PlanificateurAlarmes planificateur{ctx, message};

    void mesure(benchmark::State& etat, int pas) {
        for (auto _ : etat) {
            horloge.avance(pas);
            planificateur.verifie();
            etat.PauseTiming();
            message.hide();
            son.appels.clear();
            etat.ResumeTiming();
        }
        etat.SetItemsProcessed(etat.iterations() * nombre * (pas / 60));
    }
};

// Each check has a minute of its own to look at.
void BM_VerificationComplete(benchmark::State& etat) {
    Reveil().mesure(etat, 60);
}
BENCHMARK(BM_VerificationComplete)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The first check after a 23-hour sleep looks at every minute skipped.
void BM_ReveilApres23Heures(benchmark::State& etat) {
    Reveil().mesure(etat, 23 * 3600);
}
BENCHMARK(BM_ReveilApres23Heures)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_DecisionSeule(benchmark::State& etat) {
    std::vector<EnregistrementAlarme> alarmes;
    for (int k = 0; k < nombre; ++k)
        alarmes.push_back(alarme(k));
    const std::vector<MinuteVerifiee> minute{
        minute_verifiee(HorlogeReglable(2026, 3, 2, 10, 0).maintenant())};
    for (auto _ : etat)
        benchmark::DoNotOptimize(alarmes_dues(alarmes, minute));
    etat.SetItemsProcessed(etat.iterations() * nombre);
}
BENCHMARK(BM_DecisionSeule)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
