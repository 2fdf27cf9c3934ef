#include "fin_de_session.hpp"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quorvel {

namespace {
// A signal handler may only write to a pipe; the event loop reads the other end.
int tube[2] = {-1, -1};
constexpr std::array<int, 3> signaux = {SIGTERM, SIGHUP, SIGINT};

extern "C" void note_signal(int numero) {
    const int sauve = errno;
    const char octet = static_cast<char>(numero);
    [[maybe_unused]] const auto n = ::write(tube[1], &octet, 1);
    errno = sauve;
}
} // namespace

TFinDeSession::TFinDeSession(std::function<void()> signal_recu, std::function<void()> sauvegarde,
                             QObject* parent)
    : QObject(parent), signal_recu_(std::move(signal_recu)) {
    if (tube[0] < 0 && ::pipe2(tube, O_CLOEXEC | O_NONBLOCK) != 0)
        tube[0] = tube[1] = -1;
    if (tube[0] >= 0) {
        notification_ = new QSocketNotifier(tube[0], QSocketNotifier::Read, this);
        connect(notification_, &QSocketNotifier::activated, this, &TFinDeSession::lit_signal);
        struct sigaction action {};
        action.sa_handler = note_signal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int s : signaux)
            ::sigaction(s, &action, nullptr);
    }
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::commitDataRequest, this,
                [sauvegarde = std::move(sauvegarde)](QSessionManager&) { sauvegarde(); });
}

TFinDeSession::~TFinDeSession() {
    for (const int s : signaux)
        std::signal(s, SIG_DFL);
}

void TFinDeSession::lit_signal() {
    char octets[16];
    bool recu = false;
    while (::read(tube[0], octets, sizeof octets) > 0)
        recu = true;
    if (recu)
        signal_recu_();
}

} // namespace quorvel
