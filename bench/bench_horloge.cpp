// The analog clock: the cost of one repaint, and the idle CPU of the program's
// two clocks ticking in the event loop.
#include "plateforme/horloge.hpp"
#include "widgets/horloge.hpp"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace quorvel;

namespace {

QPixmap cadran() {
    QPixmap p(154, 154);
    p.fill(QColor(150, 40, 40));
    QPainter peintre(&p);
    peintre.setBrush(QColor(230, 220, 200));
    peintre.drawEllipse(7, 7, 140, 140);
    return p;
}

double secondes_cpu() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

} // namespace

// One tick's picture: the dial and six segments into an image.
void BM_RepeintHorloge(benchmark::State& etat) {
    HorlogeReglable h(2024, 3, 1, 10, 9, 37);
    THORLOGE horloge(nullptr, &h);
    horloge.set_texture(cadran());
    QImage image(154, 154, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : etat) {
        h.avance(1);
        horloge.affiche_heure();
        horloge.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepeintHorloge)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Both clocks shown and ticking on the system clock; the event loop idles
// otherwise. QUORVEL_DUREE_RALENTI sets the length in seconds (60 by default).
void BM_RalentiDeuxHorloges(benchmark::State& etat) {
    const int duree = qEnvironmentVariableIsSet("QUORVEL_DUREE_RALENTI")
                          ? qEnvironmentVariableIntValue("QUORVEL_DUREE_RALENTI")
                          : 60;
    for (auto _ : etat) {
        QWidget fenetre;
        fenetre.resize(411, 455);
        THORLOGE horloge1(&fenetre), horloge2(&fenetre);
        horloge1.set_texture(cadran());
        horloge2.set_texture(cadran());
        horloge2.move(240, 0);
        fenetre.show();
        const double debut = secondes_cpu();
        QTimer fin;
        fin.setSingleShot(true);
        QObject::connect(&fin, &QTimer::timeout, qApp, &QApplication::quit);
        fin.start(duree * 1000);
        QApplication::exec();
        const double cpu = secondes_cpu() - debut;
        etat.counters["cpu_pourcent"] = 100.0 * cpu / duree;
    }
}
BENCHMARK(BM_RalentiDeuxHorloges)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
