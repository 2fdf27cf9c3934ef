#include "instance_unique.hpp"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quorvel {

namespace {

// flock, not fcntl locks: those are dropped by any close of the file in the
// process. The descriptors are close-on-exec so that a program started from
// Quorvel never keeps the folder locked.
int ouvre_verrou(const std::string& chemin) {
    const int fd = ::open(chemin.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    // A folder that can no longer be written still has its lock file.
    return ::open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
}

bool adresse(const std::string& chemin, sockaddr_un& a) {
    if (chemin.empty() || chemin.size() >= sizeof a.sun_path)
        return false;
    a = {};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, chemin.data(), chemin.size());
    return true;
}

} // namespace

InstanceUnique::InstanceUnique(const std::string& dossier, const std::string& dossier_prise) {
    const std::string base = dossier.empty() || dossier.back() == '/' ? dossier : dossier + '/';
    verrou_ = ouvre_verrou(base + ".quorvel.verrou");
    if (verrou_ < 0)
        return;
    if (::flock(verrou_, LOCK_EX | LOCK_NB) == 0) {
        etat_ = Etat::seule;
    } else if (errno == EWOULDBLOCK) {
        etat_ = Etat::deja_ouverte;
    } else {
        ::close(verrou_);
        verrou_ = -1;
        return;
    }
    // Named after the lock file itself, so that every path to the folder
    // (symbolic links included) meets the same socket.
    struct stat s;
    if (dossier_prise.empty()) {
        chemin_prise_ = base + ".quorvel.prise";
    } else if (::fstat(verrou_, &s) == 0) {
        char nom[64];
        std::snprintf(nom, sizeof nom, "quorvel-%" PRIxMAX "-%" PRIxMAX,
                      static_cast<std::uintmax_t>(s.st_dev), static_cast<std::uintmax_t>(s.st_ino));
        chemin_prise_ = dossier_prise + '/' + nom;
    }
    if (etat_ != Etat::seule)
        return;

    sockaddr_un a;
    if (!adresse(chemin_prise_, a))
        return;
    // A socket left by a holder that was killed goes; anything else is not ours.
    if (::lstat(chemin_prise_.c_str(), &s) == 0 &&
        (!S_ISSOCK(s.st_mode) || ::unlink(chemin_prise_.c_str()) != 0))
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return;
    }
    ::chmod(chemin_prise_.c_str(), 0600);
    if (::listen(fd, 8) != 0) {
        ::unlink(chemin_prise_.c_str());
        ::close(fd);
        return;
    }
    ecoute_ = fd;
}

InstanceUnique::~InstanceUnique() {
    // Removed while the lock is still held: it cannot be a later holder's.
    if (ecoute_ >= 0) {
        ::unlink(chemin_prise_.c_str());
        ::close(ecoute_);
    }
    if (verrou_ >= 0)
        ::close(verrou_);
}

void InstanceUnique::repond(const std::function<void()>& premier_plan) {
    if (ecoute_ < 0)
        return;
    // A request is the connection itself: nothing to read, so a caller that
    // says nothing cannot hold up the window.
    std::vector<int> demandes;
    for (int fd; (fd = ::accept4(ecoute_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;)
        demandes.push_back(fd);
    if (demandes.empty())
        return;
    premier_plan();
    for (const int fd : demandes) {
        const char fait = 'Q';
        ::send(fd, &fait, 1, MSG_NOSIGNAL);
        ::close(fd);
    }
}

bool InstanceUnique::demande_premier_plan(std::chrono::milliseconds delai) const {
    using horloge = std::chrono::steady_clock;
    sockaddr_un a;
    if (!adresse(chemin_prise_, a))
        return false;
    const auto fin = horloge::now() + delai;
    // The holder takes the lock a moment before it listens: two starts close
    // together may find no one listening yet.
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
            const auto reste =
                std::chrono::duration_cast<std::chrono::milliseconds>(fin - horloge::now());
            pollfd attente{fd, POLLIN, 0};
            char reponse;
            const bool fait =
                ::poll(&attente, 1, static_cast<int>(std::max<long long>(reste.count(), 0))) == 1 &&
                ::recv(fd, &reponse, 1, 0) == 1;
            ::close(fd);
            return fait;
        }
        ::close(fd);
        if (horloge::now() >= fin)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace quorvel
