#include "compte_caldav.hpp"

#include "commun_ical.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/fichier.hpp"

#include <libsecret/secret.h>

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace quorvel::caldav {
namespace {

const std::string entete =
    "# Compte CalDAV de Quorvel\u00a0: l'adresse du calendrier et "
    "l'utilisateur\u00a0; le mot de passe reste dans le trousseau du bureau.\n";

ErreurQuorvel compte_abime(const std::string& chemin, const std::string& pourquoi) {
    return ErreurQuorvel("Compte CalDAV " + ical::guillemets(chemin) +
                         " inutilisable\u00a0: " + pourquoi);
}

} // namespace

std::optional<Reglage> lit_reglage(const std::string& dossier) {
    const std::string chemin = dossier + fichier_compte;
    struct stat st {};
    if (::stat(chemin.c_str(), &st) != 0 && errno == ENOENT)
        return std::nullopt;
    std::string texte;
    try {
        texte = lit_tout(chemin);
    } catch (const ErreurES& e) {
        throw compte_abime(chemin, e.message());
    }
    if (!g_utf8_validate(texte.data(), static_cast<gssize>(texte.size()), nullptr))
        throw compte_abime(chemin, "ce n'est pas un texte UTF-8");
    Reglage r;
    std::size_t debut = 0;
    for (int numero = 1; debut < texte.size(); ++numero) {
        std::size_t fin = texte.find('\n', debut);
        if (fin == std::string::npos)
            fin = texte.size();
        std::string ligne = texte.substr(debut, fin - debut);
        debut = fin + 1;
        if (ligne.ends_with('\r'))
            ligne.pop_back();
        if (ligne.empty() || ligne[0] == '#')
            continue;
        const std::size_t egal = ligne.find('=');
        if (egal == std::string::npos)
            throw compte_abime(chemin, "ligne " + std::to_string(numero) + " incomprise");
        const std::string cle = ligne.substr(0, egal);
        // Other keys are left for a later version of the program.
        if (cle == "url")
            r.url = ligne.substr(egal + 1);
        else if (cle == "utilisateur")
            r.utilisateur = ligne.substr(egal + 1);
    }
    if (r.url.empty())
        throw compte_abime(chemin, "aucune adresse (url=)");
    return r;
}

void ecrit_reglage(const std::string& dossier, const Reglage& r) {
    const std::string chemin = dossier + fichier_compte;
    for (const std::string* valeur : {&r.url, &r.utilisateur})
        if (valeur->find_first_of("\r\n") != std::string::npos)
            throw compte_abime(chemin, "une adresse ou un utilisateur tient sur une ligne");
    // The replace keeps the mode of the file it replaces: the account is made
    // private before anything is written in it.
    bool cree = false;
    if (::chmod(chemin.c_str(), 0600) != 0) {
        if (errno != ENOENT)
            throw compte_abime(chemin, message_es(code_depuis_errno(errno)));
        const int fd = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            throw compte_abime(chemin, message_es(code_depuis_errno(errno)));
        ::close(fd);
        cree = true;
    }
    try {
        remplace_atomiquement(chemin,
                              entete + "url=" + r.url + "\nutilisateur=" + r.utilisateur + "\n");
    } catch (...) {
        if (cree)
            ::unlink(chemin.c_str());
        throw;
    }
}

namespace {

const SecretSchema* schema() {
    static const SecretSchema s = [] {
        SecretSchema schema{};
        schema.name = "fr.quorvel.CalDAV";
        schema.flags = SECRET_SCHEMA_NONE;
        schema.attributes[0] = {"url", SECRET_SCHEMA_ATTRIBUTE_STRING};
        schema.attributes[1] = {"utilisateur", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return schema;
    }();
    return &s;
}

// What D-Bus waits for an answer. Past it the call is cancelled: an unlock
// prompt nobody answers (a sync started with the session) must not hold the
// command forever.
constexpr auto delai_dbus = std::chrono::seconds(25);

class Minuterie {
public:
    Minuterie()
        : annulation_(g_cancellable_new()), fil_([this] {
              std::unique_lock verrou(garde_);
              if (!fin_.wait_for(verrou, delai_dbus, [this] { return fini_; }))
                  g_cancellable_cancel(annulation_);
          }) {}
    ~Minuterie() {
        {
            std::lock_guard verrou(garde_);
            fini_ = true;
        }
        fin_.notify_one();
        fil_.join();
        g_object_unref(annulation_);
    }
    Minuterie(const Minuterie&) = delete;
    Minuterie& operator=(const Minuterie&) = delete;
    GCancellable* annulation() const { return annulation_; }

private:
    GCancellable* annulation_;
    std::mutex garde_;
    std::condition_variable fin_;
    bool fini_ = false;
    std::thread fil_;
};

bool utf8(const std::string& s) {
    return g_utf8_validate(s.data(), static_cast<gssize>(s.size()), nullptr);
}

} // namespace

bool garde_mot_de_passe(const Reglage& r, const std::string& mot_de_passe) {
    // libsecret refuses other texts with a warning on the terminal.
    if (!utf8(r.url) || !utf8(r.utilisateur) || !utf8(mot_de_passe) ||
        mot_de_passe.find('\0') != std::string::npos)
        return false;
    const std::string etiquette = "Quorvel – " + r.utilisateur + " sur " + r.url;
    const Minuterie minuterie;
    GError* erreur = nullptr;
    const gboolean ok =
        secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, etiquette.c_str(),
                                   mot_de_passe.c_str(), minuterie.annulation(), &erreur, "url",
                                   r.url.c_str(), "utilisateur", r.utilisateur.c_str(), nullptr);
    if (erreur)
        g_error_free(erreur);
    return ok;
}

std::optional<std::string> mot_de_passe_garde(const Reglage& r) {
    if (!utf8(r.url) || !utf8(r.utilisateur))
        return std::nullopt;
    const Minuterie minuterie;
    GError* erreur = nullptr;
    gchar* trouve =
        secret_password_lookup_sync(schema(), minuterie.annulation(), &erreur, "url", r.url.c_str(),
                                    "utilisateur", r.utilisateur.c_str(), nullptr);
    if (erreur)
        g_error_free(erreur);
    if (!trouve)
        return std::nullopt;
    std::string mot_de_passe = trouve;
    secret_password_free(trouve);
    return mot_de_passe;
}

namespace {

// The terminal as it was, for the signal that ends the program while echo is off.
struct termios terminal_avant {};

extern "C" void retablit_terminal(int signal) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &terminal_avant);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

std::optional<std::string> demande_mot_de_passe(const std::string& invite) {
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &terminal_avant) != 0)
        return std::nullopt;
    std::cerr << invite << std::flush;
    constexpr int signaux[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    struct sigaction action {
    }, anciennes[std::size(signaux)];
    action.sa_handler = retablit_terminal;
    for (std::size_t i = 0; i < std::size(signaux); ++i)
        ::sigaction(signaux[i], &action, &anciennes[i]);
    struct termios sans_echo = terminal_avant;
    sans_echo.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &sans_echo);
    std::string ligne;
    const bool lu = static_cast<bool>(std::getline(std::cin, ligne));
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &terminal_avant);
    for (std::size_t i = 0; i < std::size(signaux); ++i)
        ::sigaction(signaux[i], &anciennes[i], nullptr);
    std::cerr << '\n';
    if (!lu)
        return std::nullopt;
    return ligne;
}

} // namespace quorvel::caldav
