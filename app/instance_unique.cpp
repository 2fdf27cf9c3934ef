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

namespace {

const std::string mot_premier_plan = "premier-plan\n", mot_synchronise = "synchronise ";

// The request of a connection, as soon as it is whole: "premier-plan\n", or
// "synchronise N\n" and the N bytes of a password. Nothing said within the
// delay, or anything else: the older request, to come forward.
InstanceUnique::Requete lit_requete(int fd) {
    using horloge = std::chrono::steady_clock;
    const auto fin = horloge::now() + std::chrono::milliseconds(500);
    std::string lu;
    InstanceUnique::Requete r;
    for (;;) {
        const std::size_t ligne = lu.find('\n');
        if (ligne != std::string::npos) {
            if (!lu.starts_with(mot_synchronise))
                return r;
            const std::string nombre =
                lu.substr(mot_synchronise.size(), ligne - mot_synchronise.size());
            if (nombre.empty() || nombre.size() > 5 ||
                nombre.find_first_not_of("0123456789") != std::string::npos)
                return r;
            const std::size_t taille = std::stoul(nombre);
            if (lu.size() - ligne - 1 >= taille) {
                r.genre = InstanceUnique::Requete::Genre::synchronise;
                r.mot_de_passe = lu.substr(ligne + 1, taille);
                return r;
            }
        } else if (lu.size() > 64) {
            return r;
        }
        const auto reste =
            std::chrono::duration_cast<std::chrono::milliseconds>(fin - horloge::now()).count();
        pollfd attente{fd, POLLIN, 0};
        char tampon[4096];
        if (reste <= 0 || ::poll(&attente, 1, static_cast<int>(reste)) != 1)
            return r;
        const ssize_t n = ::recv(fd, tampon, sizeof tampon, 0);
        if (n <= 0)
            return r;
        lu.append(tampon, static_cast<std::size_t>(n));
    }
}

} // namespace

InstanceUnique::Reponse::~Reponse() {
    if (fd_ >= 0)
        ::close(fd_);
}

void InstanceUnique::Reponse::envoie(const std::string& octets) {
    if (fd_ < 0)
        return;
    // A caller that stopped reading holds the desk a second at most.
    const int bloquant = ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK;
    ::fcntl(fd_, F_SETFL, bloquant);
    const timeval une_seconde{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &une_seconde, sizeof une_seconde);
    for (std::size_t fait = 0; fait < octets.size();) {
        const ssize_t n = ::send(fd_, octets.data() + fait, octets.size() - fait, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        fait += static_cast<std::size_t>(n);
    }
    ::close(std::exchange(fd_, -1));
}

void InstanceUnique::repond(const std::function<void(const Requete&, Reponse)>& traite) {
    if (ecoute_ < 0)
        return;
    for (int fd; (fd = ::accept4(ecoute_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;) {
        Reponse reponse(fd);
        traite(lit_requete(fd), std::move(reponse));
    }
}

std::optional<std::string> InstanceUnique::demande(const std::string& requete,
                                                   std::chrono::milliseconds delai) const {
    using horloge = std::chrono::steady_clock;
    sockaddr_un a;
    if (!adresse(chemin_prise_, a))
        return std::nullopt;
    const auto fin = horloge::now() + delai;
    const auto fin_connexion =
        horloge::now() + std::min<std::chrono::milliseconds>(delai, std::chrono::seconds(3));
    const auto reste = [&fin] {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(fin - horloge::now()).count();
        return static_cast<int>(std::clamp<long long>(ms, 0, 1 << 30));
    };
    // The holder takes the lock a moment before it listens: two starts close
    // together may find no one listening yet.
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return std::nullopt;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
            std::optional<std::string> reponse;
            if (::send(fd, requete.data(), requete.size(), MSG_NOSIGNAL) ==
                static_cast<ssize_t>(requete.size())) {
                std::string lu;
                char tampon[4096];
                for (;;) {
                    pollfd attente{fd, POLLIN, 0};
                    if (::poll(&attente, 1, reste()) != 1)
                        break;
                    const ssize_t n = ::recv(fd, tampon, sizeof tampon, 0);
                    if (n < 0)
                        break;
                    if (n == 0) {
                        if (!lu.empty())
                            reponse = std::move(lu);
                        break;
                    }
                    lu.append(tampon, static_cast<std::size_t>(n));
                }
            }
            ::close(fd);
            return reponse;
        }
        ::close(fd);
        if (horloge::now() >= fin_connexion)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool InstanceUnique::demande_premier_plan(std::chrono::milliseconds delai) const {
    return demande(mot_premier_plan, delai).has_value();
}

std::optional<std::string>
InstanceUnique::demande_synchronisation(const std::string& mot_de_passe,
                                        std::chrono::milliseconds delai) const {
    return demande(mot_synchronise + std::to_string(mot_de_passe.size()) + "\n" + mot_de_passe,
                   delai);
}

} // namespace quorvel
