#pragma once
// The settings record: the one 241-byte record of "PAD.CFG", kept as its bytes
// so that every byte the file holds (reserved ones, leftovers after a short
// name) is written back exactly as read.
#include "plateforme/copie_illisible.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

constexpr std::size_t taille_reglages = 241;

// A font of the settings: colour 0x00BBGGRR, style code 1..4, size in points,
// face name (Windows-1252, at most 40 characters).
struct PoliceReglee {
    std::uint32_t couleur = 0;
    std::int16_t style = 1;
    std::int16_t taille = 0;
    std::string nom;
    bool operator==(const PoliceReglee&) const = default;
};

enum class CouleurReglee : std::size_t {
    mois = 141,
    jour = 145,
    saint = 149,
    semaine = 153,
    horaires = 157,
    actions = 161,
    action_courante = 165,
    fond_date = 169,
    aiguilles = 173,
};

class Reglages {
public:
    std::array<std::uint8_t, taille_reglages> octets{};
    // False while "PAD.CFG" holds what start-up could not read whole: the first
    // write keeps that file aside before it writes over it.
    bool fichier_lu = true;

    PoliceReglee police_calendrier() const { return police(43); }
    void regle_police_calendrier(const PoliceReglee& p) { regle_police(43, p); }
    PoliceReglee police_bloc_notes() const { return police(92); }
    void regle_police_bloc_notes(const PoliceReglee& p) { regle_police(92, p); }

    std::uint32_t couleur(CouleurReglee c) const;
    void regle_couleur(CouleurReglee c, std::uint32_t valeur);

    // Windows-1252 path, at most 60 characters.
    std::string son_alarme() const { return chaine(177, 60); }
    // Refuses (returns false, keeps the old value) a path longer than 60 characters.
    bool regle_son_alarme(const std::string& chemin);

    bool son_page() const { return octets[238] != 0; }
    void regle_son_page(bool actif) { octets[238] = actif ? 1 : 0; }

    std::int16_t video() const { return entier16(239); }
    void regle_video(std::int16_t mode) { regle_entier16(239, mode); }

private:
    PoliceReglee police(std::size_t o) const;
    void regle_police(std::size_t o, const PoliceReglee& p);
    std::string chaine(std::size_t o, std::size_t max) const;
    void regle_chaine(std::size_t o, std::size_t max, const std::string& s);
    std::int16_t entier16(std::size_t o) const;
    void regle_entier16(std::size_t o, std::int16_t v);
};

// The default alarm sound: data directory + "coucou.wav", or "coucou.wav" alone
// when that path would not fit in 60 characters (a cut path names nothing).
// repertoire is the file-system path (UTF-8), ending with '/'.
std::string son_par_defaut(const std::string& repertoire);

// Every field to its default.
void config_defaut(Reglages& r, const std::string& repertoire);

// Start-up: reads "PAD.CFG" of the data directory into r. A missing file is
// created with the defaults (which r then holds); a file shorter than a record
// gives the defaults overlaid with the complete fields it holds, and no error.
// r.fichier_lu tells whether the file was read whole.
void lit_reglages(const std::string& repertoire, Reglages& r);
// Writes r as record 0 of "PAD.CFG", creating the file when it has gone. A file
// not read whole, or shorter than a record, is first kept aside (signale is told).
void ecrit_reglages(const std::string& repertoire, Reglages& r, const SignaleCopie& signale = {});

} // namespace quorvel
