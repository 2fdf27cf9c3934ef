#include "fichier.hpp"

#include "erreurs.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quorvel {

namespace {

struct EtatPannes {
    int compteur = 0;
    int echeance = 0; // 0: disarmed
    int erreur = 0;
};
EtatPannes& etat_pannes() {
    static EtatPannes e;
    return e;
}

// Called before each system call; true when the injected fault falls on it.
// Sets errno to the injected value (0 for a short read). A short read armed on
// a call that reads nothing waits for the next read: an open or a rename cannot
// come back short, and would otherwise report a meaningless "Erreur E/S".
bool panne(bool lecture = false) {
    EtatPannes& e = etat_pannes();
    ++e.compteur;
    if (e.echeance != 0 && e.compteur == e.echeance && e.erreur == 0 && !lecture) {
        ++e.echeance;
        return false;
    }
    if (e.echeance != 0 && e.compteur == e.echeance) {
        e.echeance = 0;
        errno = e.erreur;
        return true;
    }
    return false;
}

[[noreturn]] void echoue() { throw ErreurES(code_depuis_errno(errno)); }

int ouvre_fd(const std::string& chemin, int drapeaux) {
    if (panne()) return -1;
    int fd;
    do {
        fd = ::open(chemin.c_str(), drapeaux | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

namespace pannes {
void arme(int operation, int erreur) {
    EtatPannes& e = etat_pannes();
    e.compteur = 0;
    e.echeance = operation;
    e.erreur = erreur;
}
void desarme() { etat_pannes() = EtatPannes{}; }
int operations() { return etat_pannes().compteur; }
} // namespace pannes

FichierEnregistrements::FichierEnregistrements(int fd, std::string chemin, std::size_t taille)
    : fd_(fd), chemin_(std::move(chemin)), taille_(taille == 0 ? 1 : taille) {}

FichierEnregistrements::FichierEnregistrements(FichierEnregistrements&& autre) noexcept
    : fd_(std::exchange(autre.fd_, -1)), chemin_(std::move(autre.chemin_)), taille_(autre.taille_) {}

FichierEnregistrements& FichierEnregistrements::operator=(FichierEnregistrements&& autre) noexcept {
    if (this != &autre) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(autre.fd_, -1);
        chemin_ = std::move(autre.chemin_);
        taille_ = autre.taille_;
    }
    return *this;
}

FichierEnregistrements::~FichierEnregistrements() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<FichierEnregistrements> FichierEnregistrements::ouvre(const std::string& chemin,
                                                                    std::size_t taille) {
    const int fd = ouvre_fd(chemin, O_RDWR);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        echoue();
    }
    return FichierEnregistrements(fd, chemin, taille);
}

FichierEnregistrements FichierEnregistrements::ouvre_lecture(const std::string& chemin,
                                                            std::size_t taille) {
    const int fd = ouvre_fd(chemin, O_RDONLY);
    if (fd < 0) echoue();
    return FichierEnregistrements(fd, chemin, taille);
}

FichierEnregistrements FichierEnregistrements::cree(const std::string& chemin, std::size_t taille) {
    const int fd = ouvre_fd(chemin, O_RDWR | O_CREAT | O_TRUNC);
    if (fd < 0) echoue();
    return FichierEnregistrements(fd, chemin, taille);
}

std::int64_t FichierEnregistrements::taille_octets() const {
    if (panne()) echoue();
    struct stat st {};
    if (::fstat(fd_, &st) != 0) echoue();
    return static_cast<std::int64_t>(st.st_size);
}

void FichierEnregistrements::lit_octets(std::int64_t position, void* tampon,
                                        std::size_t longueur) const {
    auto* p = static_cast<char*>(tampon);
    std::size_t lus = 0;
    while (lus < longueur) {
        if (panne(true)) {
            if (errno == 0) throw ErreurES(es_fin_de_fichier);
            echoue();
        }
        const ssize_t r = ::pread(fd_, p + lus, longueur - lus, static_cast<off_t>(position + lus));
        if (r < 0) {
            if (errno == EINTR) continue;
            echoue();
        }
        if (r == 0) throw ErreurES(es_fin_de_fichier);
        lus += static_cast<std::size_t>(r);
    }
}

void FichierEnregistrements::ecrit_octets(std::int64_t position, const void* tampon,
                                          std::size_t longueur) {
    const auto* p = static_cast<const char*>(tampon);
    std::size_t ecrits = 0;
    while (ecrits < longueur) {
        if (panne()) echoue();
        const ssize_t r =
            ::pwrite(fd_, p + ecrits, longueur - ecrits, static_cast<off_t>(position + ecrits));
        if (r < 0) {
            if (errno == EINTR) continue;
            echoue();
        }
        if (r == 0) {
            errno = ENOSPC;
            echoue();
        }
        ecrits += static_cast<std::size_t>(r);
    }
}

void FichierEnregistrements::lit(std::int64_t n, void* tampon) const {
    if (n < 0) throw ErreurES(es_fin_de_fichier);
    lit_octets(n * static_cast<std::int64_t>(taille_), tampon, taille_);
}

void FichierEnregistrements::ecrit(std::int64_t n, const void* tampon) {
    if (n < 0) throw ErreurES(es_fin_de_fichier);
    ecrit_octets(n * static_cast<std::int64_t>(taille_), tampon, taille_);
}

void FichierEnregistrements::tronque(std::int64_t n) {
    if (panne()) echoue();
    if (::ftruncate(fd_, static_cast<off_t>(n * static_cast<std::int64_t>(taille_))) != 0) echoue();
}

void FichierEnregistrements::synchronise() {
    if (panne()) echoue();
    if (::fsync(fd_) != 0) echoue();
}

void FichierEnregistrements::ferme() {
    if (fd_ < 0) return;
    const int fd = std::exchange(fd_, -1);
    if (panne()) {
        ::close(fd);
        echoue();
    }
    if (::close(fd) != 0 && errno != EINTR) echoue();
}

bool fichier_existe(const std::string& chemin) {
    struct stat st {};
    return ::stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void efface_fichier(const std::string& chemin) {
    if (panne()) echoue();
    if (::unlink(chemin.c_str()) != 0) echoue();
}

std::string lit_tout(const std::string& chemin) {
    auto f = FichierEnregistrements::ouvre_lecture(chemin, 1);
    std::string octets(static_cast<std::size_t>(f.taille_octets()), '\0');
    if (!octets.empty()) f.lit_octets(0, octets.data(), octets.size());
    f.ferme();
    return octets;
}

void remplace_atomiquement(const std::string& chemin, const std::string& octets) {
    const std::string provisoire = chemin + ".~tmp";
    try {
        auto f = FichierEnregistrements::cree(provisoire, 1);
        if (!octets.empty()) f.ecrit_octets(0, octets.data(), octets.size());
        f.synchronise();
        f.ferme();
        if (panne()) echoue();
        if (::rename(provisoire.c_str(), chemin.c_str()) != 0) echoue();
    } catch (...) {
        ::unlink(provisoire.c_str());
        throw;
    }
}

} // namespace quorvel
