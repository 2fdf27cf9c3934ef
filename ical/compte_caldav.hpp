#pragma once
// The CalDAV account of a data folder: the calendar's URL and the user in a
// small settings file of the program's own in the data folder, the password in
// the desktop's Secret Service (libsecret), never in a file.
#include <optional>
#include <string>

namespace quorvel::caldav {

// Name of the account file in the data folder.
inline constexpr const char* fichier_compte = ".compte-caldav";

struct Reglage {
    std::string url;
    std::string utilisateur; // may be empty: no user, no password asked
};

// The account of the folder (`dossier` ends with '/'); nothing when there is
// none. A file that cannot be understood throws ErreurQuorvel (French).
std::optional<Reglage> lit_reglage(const std::string& dossier);
// Written beside and renamed over (mode 0600).
void ecrit_reglage(const std::string& dossier, const Reglage& r);

// The Secret Service of the desktop. Each call returns false (or nothing)
// when there is none or it refuses, without a message box and without
// blocking on a prompt longer than the delay of D-Bus.
bool garde_mot_de_passe(const Reglage& r, const std::string& mot_de_passe);
std::optional<std::string> mot_de_passe_garde(const Reglage& r);

// Asked on the terminal without echo; nothing when there is no terminal.
std::optional<std::string> demande_mot_de_passe(const std::string& invite);

} // namespace quorvel::caldav
