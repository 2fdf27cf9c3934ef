// Week numbers are computed at every display of a day page.
#include "calendar/dates.hpp"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

struct Date {
    int j, m, a;
};

std::vector<Date> dates_au_hasard() {
    std::mt19937 alea(1998);
    std::uniform_int_distribution<int> annee(1981, 2098), mois(1, 12), jour(1, 28);
    std::vector<Date> d(4096);
    for (auto& x : d)
        x = {jour(alea), mois(alea), annee(alea)};
    return d;
}

void numero_semaine_au_hasard(benchmark::State& etat) {
    const auto dates = dates_au_hasard();
    std::size_t i = 0;
    for (auto _ : etat) {
        const Date& d = dates[i++ & 4095];
        benchmark::DoNotOptimize(quorvel::numero_semaine(d.j, d.m, d.a));
    }
}
BENCHMARK(numero_semaine_au_hasard)->Repetitions(9)->ReportAggregatesOnly(true);

void date_plus_un_jour(benchmark::State& etat) {
    std::string d = "31/12/1998";
    for (auto _ : etat)
        benchmark::DoNotOptimize(quorvel::date_plus_jours(d, 1));
}
BENCHMARK(date_plus_un_jour)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
