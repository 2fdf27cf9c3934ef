#include "fichier.hpp"

#include "erreurs.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

constexpr mode_t mode_creation = 0644;
// Between the file's name and mkstemp's six characters.
constexpr std::string_view marque_provisoire = ".quorvel-";
constexpr std::size_t longueur_marque = marque_provisoire.size() + 6;

struct EtatPannes {
    int compteur = 0;
    int echeance = 0; // 0: disarmed
    int erreur = 0;
    const char* touchee = "";
};
EtatPannes& etat_pannes() {
    static EtatPannes e;
    return e;
}

// Called before each system call; true when the injected fault falls on it.
// Sets errno to the injected value (0 for a short read). A short read armed on
// a call that reads nothing waits for the next read: an open or a rename cannot
// come back short, and would otherwise report a meaningless "Erreur E/S".
bool panne(const char* appel, bool lecture = false) {
    EtatPannes& e = etat_pannes();
    ++e.compteur;
    if (e.echeance != 0 && e.compteur == e.echeance && e.erreur == 0 && !lecture) {
        ++e.echeance;
        return false;
    }
    if (e.echeance != 0 && e.compteur == e.echeance) {
        e.echeance = 0;
        e.touchee = appel;
        errno = e.erreur;
        return true;
    }
    return false;
}

[[noreturn]] void echoue() {
    throw ErreurES(code_depuis_errno(errno));
}

int ouvre_fd(const std::string& chemin, int drapeaux, const char* appel = "open") {
    if (panne(appel))
        return -1;
    int fd;
    do {
        fd = ::open(chemin.c_str(), drapeaux | O_CLOEXEC, mode_creation);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string dossier_de(const std::string& chemin) {
    const std::size_t barre = chemin.find_last_of('/');
    if (barre == std::string::npos)
        return ".";
    return barre == 0 ? "/" : chemin.substr(0, barre);
}

std::string nom_de(const std::string& chemin) {
    const std::size_t barre = chemin.find_last_of('/');
    return barre == std::string::npos ? chemin : chemin.substr(barre + 1);
}

std::string joint(const std::string& dossier, const std::string& nom) {
    return dossier.empty() || dossier.back() == '/' ? dossier + nom : dossier + "/" + nom;
}

// Where a chain of symbolic links ends (the name itself when it is no link),
// with the status of that file when it exists.
struct Cible {
    std::string chemin;
    std::optional<struct stat> etat;
};

Cible resout_liens(std::string chemin) {
    for (int sauts = 0; sauts <= 40; ++sauts) {
        if (panne("lstat"))
            echoue();
        struct stat st {};
        if (::lstat(chemin.c_str(), &st) != 0) {
            // A link to nothing yet: the file is made where it points.
            if (errno == ENOENT)
                return {chemin, std::nullopt};
            echoue();
        }
        if (!S_ISLNK(st.st_mode))
            return {chemin, st};
        if (panne("readlink"))
            echoue();
        std::string lien(PATH_MAX, '\0');
        const ssize_t n = ::readlink(chemin.c_str(), lien.data(), lien.size());
        if (n < 0)
            echoue();
        if (n == 0 || static_cast<std::size_t>(n) == lien.size()) {
            errno = ENAMETOOLONG;
            echoue();
        }
        lien.resize(static_cast<std::size_t>(n));
        chemin = lien.front() == '/' ? lien : joint(dossier_de(chemin), lien);
    }
    errno = ELOOP;
    echoue();
}

// What open(..., 0644) would give a new file. The mask is read from /proc
// because umask() can only be read by setting it, under the other threads' feet.
mode_t mode_nouveau_fichier() {
    std::ifstream statut("/proc/self/status");
    for (std::string ligne; std::getline(statut, ligne);)
        if (ligne.starts_with("Umask:"))
            return mode_creation &
                   ~static_cast<mode_t>(std::strtoul(ligne.c_str() + 6, nullptr, 8));
    const mode_t masque = ::umask(022);
    ::umask(masque);
    return mode_creation & ~masque;
}

// The temporary takes what the user set on the file it replaces.
void donne_droits(int fd, const std::optional<struct stat>& ancien) {
    mode_t mode = 0;
    if (ancien) {
        // Owner first: a change of owner clears the set-id bits the mode restores.
        // Only a privileged user may give a file away; otherwise it stays ours.
        if ((panne("fchown") || ::fchown(fd, ancien->st_uid, ancien->st_gid) != 0) &&
            errno != EPERM)
            echoue();
        mode = ancien->st_mode & 07777;
    } else {
        mode = mode_nouveau_fichier();
    }
    if (panne("fchmod") || ::fchmod(fd, mode) != 0)
        echoue();
}

// A rename is durable only once the directory holding the name is flushed.
void synchronise_dossier(const std::string& dossier) {
    const int fd = ouvre_fd(dossier, O_RDONLY | O_DIRECTORY, "open dossier");
    if (fd < 0)
        echoue();
    // EINVAL: a file system that keeps no directory to flush.
    const bool ok = !panne("fsync dossier") && (::fsync(fd) == 0 || errno == EINVAL);
    const int erreur = errno;
    ::close(fd);
    errno = erreur;
    if (!ok)
        echoue();
}

bool est_provisoire(const std::string& nom) {
    if (nom.size() <= longueur_marque)
        return false;
    const std::size_t debut = nom.size() - longueur_marque;
    if (nom.compare(debut, marque_provisoire.size(), marque_provisoire) != 0)
        return false;
    for (std::size_t i = debut + marque_provisoire.size(); i < nom.size(); ++i) {
        const char c = nom[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

namespace pannes {
void arme(int operation, int erreur) {
    EtatPannes& e = etat_pannes();
    e = EtatPannes{};
    e.echeance = operation;
    e.erreur = erreur;
}
void desarme() {
    etat_pannes() = EtatPannes{};
}
int operations() {
    return etat_pannes().compteur;
}
std::string touchee() {
    return etat_pannes().touchee;
}
} // namespace pannes

FichierEnregistrements::FichierEnregistrements(int fd, std::string chemin, std::size_t taille)
    : fd_(fd), chemin_(std::move(chemin)), taille_(taille == 0 ? 1 : taille) {}

FichierEnregistrements::FichierEnregistrements(FichierEnregistrements&& autre) noexcept
    : fd_(std::exchange(autre.fd_, -1)), chemin_(std::move(autre.chemin_)), taille_(autre.taille_) {
}

FichierEnregistrements& FichierEnregistrements::operator=(FichierEnregistrements&& autre) noexcept {
    if (this != &autre) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(autre.fd_, -1);
        chemin_ = std::move(autre.chemin_);
        taille_ = autre.taille_;
    }
    return *this;
}

FichierEnregistrements::~FichierEnregistrements() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::optional<FichierEnregistrements> FichierEnregistrements::ouvre(const std::string& chemin,
                                                                    std::size_t taille) {
    const int fd = ouvre_fd(chemin, O_RDWR);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        echoue();
    }
    return FichierEnregistrements(fd, chemin, taille);
}

FichierEnregistrements FichierEnregistrements::ouvre_lecture(const std::string& chemin,
                                                             std::size_t taille) {
    const int fd = ouvre_fd(chemin, O_RDONLY);
    if (fd < 0)
        echoue();
    return FichierEnregistrements(fd, chemin, taille);
}

FichierEnregistrements FichierEnregistrements::cree(const std::string& chemin, std::size_t taille) {
    // O_EXCL alone would refuse a link that points to nothing yet.
    const int fd = ouvre_fd(resout_liens(chemin).chemin, O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0)
        echoue();
    return FichierEnregistrements(fd, chemin, taille);
}

std::int64_t FichierEnregistrements::taille_octets() const {
    if (panne("fstat"))
        echoue();
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        echoue();
    return static_cast<std::int64_t>(st.st_size);
}

void FichierEnregistrements::lit_octets(std::int64_t position, void* tampon,
                                        std::size_t longueur) const {
    auto* p = static_cast<char*>(tampon);
    std::size_t lus = 0;
    while (lus < longueur) {
        if (panne("pread", true)) {
            if (errno == 0)
                throw ErreurES(es_fin_de_fichier);
            echoue();
        }
        const ssize_t r = ::pread(fd_, p + lus, longueur - lus, static_cast<off_t>(position + lus));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            echoue();
        }
        if (r == 0)
            throw ErreurES(es_fin_de_fichier);
        lus += static_cast<std::size_t>(r);
    }
}

void FichierEnregistrements::ecrit_octets(std::int64_t position, const void* tampon,
                                          std::size_t longueur) {
    const auto* p = static_cast<const char*>(tampon);
    std::size_t ecrits = 0;
    while (ecrits < longueur) {
        if (panne("pwrite"))
            echoue();
        const ssize_t r =
            ::pwrite(fd_, p + ecrits, longueur - ecrits, static_cast<off_t>(position + ecrits));
        if (r < 0) {
            if (errno == EINTR)
                continue;
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
    if (n < 0)
        throw ErreurES(es_fin_de_fichier);
    lit_octets(n * static_cast<std::int64_t>(taille_), tampon, taille_);
}

void FichierEnregistrements::ecrit(std::int64_t n, const void* tampon) {
    if (n < 0)
        throw ErreurES(es_fin_de_fichier);
    ecrit_octets(n * static_cast<std::int64_t>(taille_), tampon, taille_);
}

void FichierEnregistrements::tronque(std::int64_t n) {
    if (panne("ftruncate"))
        echoue();
    if (::ftruncate(fd_, static_cast<off_t>(n * static_cast<std::int64_t>(taille_))) != 0)
        echoue();
}

void FichierEnregistrements::synchronise() {
    if (panne("fsync"))
        echoue();
    if (::fsync(fd_) != 0)
        echoue();
}

void FichierEnregistrements::ferme() {
    if (fd_ < 0)
        return;
    const int fd = std::exchange(fd_, -1);
    if (panne("close")) {
        ::close(fd);
        echoue();
    }
    if (::close(fd) != 0 && errno != EINTR)
        echoue();
}

bool fichier_existe(const std::string& chemin) {
    struct stat st {};
    return ::stat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void efface_fichier(const std::string& chemin) {
    if (panne("unlink"))
        echoue();
    if (::unlink(chemin.c_str()) != 0)
        echoue();
}

std::string lit_tout(const std::string& chemin) {
    auto f = FichierEnregistrements::ouvre_lecture(chemin, 1);
    std::string octets(static_cast<std::size_t>(f.taille_octets()), '\0');
    if (!octets.empty())
        f.lit_octets(0, octets.data(), octets.size());
    f.ferme();
    return octets;
}

std::string lit_jusqu_a_la_fin(int fd) {
    std::string s;
    char tampon[4096];
    for (ssize_t n; (n = ::read(fd, tampon, sizeof tampon)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        s.append(tampon, static_cast<std::size_t>(n));
    }
    if (s.ends_with('\n'))
        s.pop_back();
    if (s.ends_with('\r'))
        s.pop_back();
    return s;
}

void remplace_atomiquement(const std::string& chemin, const std::string& octets) {
    const Cible cible = resout_liens(chemin);
    const std::string dossier = dossier_de(cible.chemin);
    std::string provisoire =
        joint(dossier, nom_de(cible.chemin).substr(0, NAME_MAX - longueur_marque) +
                           std::string(marque_provisoire) + "XXXXXX");
    if (panne("mkstemp"))
        echoue();
    const int fd = ::mkostemp(provisoire.data(), O_CLOEXEC);
    if (fd < 0)
        echoue();
    bool renomme = false;
    try {
        FichierEnregistrements f(fd, provisoire, 1);
        if (!octets.empty())
            f.ecrit_octets(0, octets.data(), octets.size());
        donne_droits(fd, cible.etat);
        f.synchronise();
        f.ferme();
        if (panne("rename"))
            echoue();
        if (::rename(provisoire.c_str(), cible.chemin.c_str()) != 0)
            echoue();
        renomme = true;
        synchronise_dossier(dossier);
    } catch (...) {
        if (!renomme)
            ::unlink(provisoire.c_str());
        throw;
    }
}

int efface_provisoires(const std::string& repertoire) {
    const std::string dossier = repertoire.empty() ? "." : repertoire;
    DIR* d = ::opendir(dossier.c_str());
    if (!d)
        return 0;
    std::vector<std::string> noms;
    while (const dirent* e = ::readdir(d))
        if (est_provisoire(e->d_name))
            noms.emplace_back(e->d_name);
    ::closedir(d);
    int effaces = 0;
    for (const std::string& nom : noms) {
        const std::string chemin = joint(dossier, nom);
        struct stat st {};
        if (::lstat(chemin.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(chemin.c_str()) == 0)
            ++effaces;
    }
    return effaces;
}

} // namespace quorvel
