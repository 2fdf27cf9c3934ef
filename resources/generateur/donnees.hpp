#pragma once
// Installation data: the saints calendar, converted from its UTF-8 source.
#include <string>
#include <vector>

namespace quorvel::generateur {

struct SaintSource {
    int jour, mois;
    std::string nom; // UTF-8
};

// Reads "JJ/MM Nom" lines ('#' starts a comment). Throws std::runtime_error
// with the line number on a malformed line.
std::vector<SaintSource> lit_source_saints(const std::string& texte);

// The twelve files' contents, SAINT01..SAINT12, in the saints file format
// (37-byte records, record i for day i + 1). Throws when a month is not
// complete and in order (February needs its 29th), or when a name does not
// fit in 29 Windows-1252 characters.
std::vector<std::string> fichiers_saints(const std::vector<SaintSource>& saints);

} // namespace quorvel::generateur
