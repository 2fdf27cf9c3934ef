#pragma once
// One running program per data folder. Two programs on the same files would
// each write over what the other saved, so the first one holds a lock on the
// folder for its whole life, and a later start asks it to come forward instead
// of starting. The kernel drops the lock when its holder ends, killed or not.
#include <chrono>
#include <functional>
#include <string>

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
    // The holder, when prise() is readable: takes the waiting requests, runs
    // `premier_plan` once and answers each. Never blocks.
    void repond(const std::function<void()>& premier_plan);

    // A later start: asks the holder to come forward; true once it has.
    bool demande_premier_plan(std::chrono::milliseconds delai) const;

private:
    Etat etat_ = Etat::sans_verrou;
    int verrou_ = -1;
    int ecoute_ = -1;
    std::string chemin_prise_;
};

} // namespace quorvel
