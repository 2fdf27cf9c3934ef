#pragma once
// Where a page that could not be saved where it belongs is kept: a text file
// the user can open anywhere, in $XDG_STATE_HOME/quorvel/ (by default
// ~/.local/state/quorvel/), away from the data folder that just failed.
#include "horloge.hpp"

#include <string>
#include <vector>

namespace quorvel {

// The folder, ending with '/'.
std::string dossier_secours();
// Writes the text (UTF-8) as "<fichier>-AAAAMMJJ-HHMMSS.txt" in the folder,
// made if need be; its path. Throws as the record files do.
std::string ecrit_secours(const std::string& dossier, const std::string& fichier,
                          const Instant& quand, const std::string& texte);
// The rescue files no start has told of yet, by name; told of from now on.
// Never throws: a folder that cannot be read has nothing to tell.
std::vector<std::string> secours_a_annoncer(const std::string& dossier);

} // namespace quorvel
