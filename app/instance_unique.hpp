#pragma once
// One running program per data folder. Two programs on the same files would
// each write over what the other saved, so the first one holds a lock on the
// folder for its whole life, and a later start asks it to come forward instead
// of starting. The kernel drops the lock when its holder ends, killed or not.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace quorvel {

class InstanceUnique {
public:
    enum class Etat {
        seule,        // this process holds the folder
        deja_ouverte, // another process holds it
        sans_verrou,  // no lock could be had (read-only folder…): runs unguarded, as before
    };

    // Takes the lock of `dossier` and, when it gets it, listens for later
    // starts. The socket lives in `dossier_prise` (the user's runtime folder),
    // named after the folder, or in `dossier` itself when that is empty.
    // A later start creates no file and changes none.
    InstanceUnique(const std::string& dossier, const std::string& dossier_prise);
    ~InstanceUnique();
    InstanceUnique(const InstanceUnique&) = delete;
    InstanceUnique& operator=(const InstanceUnique&) = delete;

    Etat etat() const { return etat_; }

    // The holder: the socket to watch for requests, -1 when it has none.
    int prise() const { return ecoute_; }
    // What a later start asks. It says it as soon as it is connected; one
    // that says nothing (an older program) asks the holder to come forward.
    struct Requete {
        enum class Genre { premier_plan, synchronise } genre = Genre::premier_plan;
        std::string mot_de_passe; // of the synchronisation, when the later start was given one
    };
    // The answer to one request, sent once, even later; the connection closes
    // with it (or with its end, unanswered).
    class Reponse {
    public:
        explicit Reponse(int fd) : fd_(fd) {}
        Reponse(Reponse&& r) noexcept : fd_(std::exchange(r.fd_, -1)) {}
        Reponse& operator=(Reponse&&) = delete;
        ~Reponse();
        void envoie(const std::string& octets);

    private:
        int fd_;
    };

    // The holder, when prise() is readable: takes the waiting requests and
    // hands each to `traite`. Blocks only while a later start that connected
    // has not yet said what it asks (at most half a second).
    void repond(const std::function<void(const Requete&, Reponse)>& traite);

    // A later start: asks the holder to come forward; true once it has.
    bool demande_premier_plan(std::chrono::milliseconds delai) const;
    // A later start: asks the holder to synchronise its calendar; the
    // holder's answer, nothing when no holder answered within `delai`.
    std::optional<std::string> demande_synchronisation(const std::string& mot_de_passe,
                                                       std::chrono::milliseconds delai) const;

private:
    std::optional<std::string> demande(const std::string& requete,
                                       std::chrono::milliseconds delai) const;

    Etat etat_ = Etat::sans_verrou;
    int verrou_ = -1;
    int ecoute_ = -1;
    std::string chemin_prise_;
};

} // namespace quorvel
