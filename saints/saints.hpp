#pragma once
// The twelve saints files SAINT01..SAINT12: records of 37 bytes, a "dd/mm" date
// and a name, one per day of the month.
#include "calendar/dates.hpp"
#include "plateforme/fichier.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

constexpr std::size_t taille_saint = 37;

struct EnregistrementSaint {
    std::array<std::uint8_t, taille_saint> octets{};
    std::string date() const; // up to its zero byte, at most 6 bytes
    std::string nom() const;  // up to its zero byte, at most 31 bytes
    void regle_date(const std::string& d);
    // Keeps at most 30 characters (the field keeps room for its zero byte).
    void regle_nom(const std::string& n);
};

// Empties the date and the name of the record (all bytes zero).
void vide_saint(EnregistrementSaint& s);

std::string nom_fichier_saints(int mois); // "SAINT03"

// Opens the saints file of the month, creating it (one record per day of the
// month, dates filled, names empty) when it cannot be opened. February always
// gets 29 records: a file, once made, keeps its count, and one made in a common
// year could never name 29 February of the leap years after it.
FichierEnregistrements ouvre_saints(const std::string& repertoire, int mois);
void lit_saint(const FichierEnregistrements& f, std::int64_t n, EnregistrementSaint& s);
void ecrit_saint(FichierEnregistrements& f, std::int64_t n, const EnregistrementSaint& s);
void ferme_saints(FichierEnregistrements& f);

// Saint of the day: the name (cut to 20 characters) of the last record whose
// date starts with the day's two digits; empty when none does.
void saint_du_jour(const std::string& repertoire, int jour, int mois, EnregistrementSaint& tampon,
                   std::string& courant);

} // namespace quorvel
