// Starts a program and times it from the fork to the mapping of its first
// window of the given size, then to the end of its start-up work (no CPU used
// for a while). Prints "carte_ms repos_ms rss_max_ko", or with --repos S the
// share of one core the program used over S seconds of idling, in percent.
//   chrono_fenetre [--repos S] <width> <height> <program> [args...]
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using horloge = std::chrono::steady_clock;

double ms(horloge::time_point a, horloge::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// utime + stime of a process, in clock ticks.
long long temps_cpu(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string ligne;
    std::getline(f, ligne);
    const auto fin_nom = ligne.rfind(')');
    if (fin_nom == std::string::npos)
        return -1;
    std::istringstream champs(ligne.substr(fin_nom + 2));
    std::string c;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && champs >> c; ++i) {
        if (i == 14)
            utime = std::stoll(c);
        if (i == 15)
            stime = std::stoll(c);
    }
    return utime + stime;
}

[[noreturn]] void meurt(const char* pourquoi) {
    std::fprintf(stderr, "chrono_fenetre : %s\n", pourquoi);
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    int a = 1;
    int repos = 0;
    if (argc > 2 && std::strcmp(argv[1], "--repos") == 0) {
        repos = std::atoi(argv[2]);
        a = 3;
    }
    if (argc - a < 3)
        meurt("usage : chrono_fenetre [--repos S] <largeur> <hauteur> <programme> [args]");
    const int largeur = std::atoi(argv[a]), hauteur = std::atoi(argv[a + 1]);
    char** commande = argv + a + 2;

    Display* d = XOpenDisplay(nullptr);
    if (!d)
        meurt("pas d'écran X");
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const auto debut = horloge::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(commande[0], commande);
        _exit(127);
    }
    horloge::time_point carte{};
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    while (carte == horloge::time_point{}) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != MapNotify)
                continue;
            XWindowAttributes attributs;
            if (XGetWindowAttributes(d, e.xmap.window, &attributs) && attributs.width == largeur &&
                attributs.height == hauteur) {
                carte = horloge::now();
                break;
            }
        }
        if (carte != horloge::time_point{})
            break;
        if (poll(&p, 1, 30000) <= 0) {
            kill(pid, SIGKILL);
            meurt("aucune fenêtre de cette taille en 30 s");
        }
    }
    // Start-up is over when the program has used no CPU for 200 ms.
    auto repos_depuis = horloge::now();
    auto dernier_travail = carte;
    long long cpu = temps_cpu(pid);
    while (ms(repos_depuis, horloge::now()) < 200) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const long long c = temps_cpu(pid);
        if (c != cpu) {
            cpu = c;
            dernier_travail = horloge::now();
            repos_depuis = dernier_travail;
        }
    }
    if (repos > 0) {
        const long long avant = temps_cpu(pid);
        std::this_thread::sleep_for(std::chrono::seconds(repos));
        const long long apres = temps_cpu(pid);
        const double pourcent = 100.0 * static_cast<double>(apres - avant) /
                                static_cast<double>(sysconf(_SC_CLK_TCK)) / repos;
        std::printf("%.3f\n", pourcent);
    }
    kill(pid, SIGTERM);
    int statut = 0;
    rusage usage{};
    wait4(pid, &statut, 0, &usage);
    if (repos == 0)
        std::printf("%.1f %.1f %ld\n", ms(debut, carte), ms(debut, dernier_travail),
                    usage.ru_maxrss);
    XCloseDisplay(d);
    return 0;
}
