#pragma once
// The alarm record (283 bytes) and the alarm file "ALARME": a plain sequence of
// records, no header. The record is kept as its bytes, so that what a file holds
// is written back exactly as read; the accessors never read past a field.
#include "plateforme/copie_illisible.hpp"
#include "plateforme/fichier.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

struct Contexte;

constexpr std::size_t taille_alarme = 283;
constexpr const char* nom_fichier_alarme = "ALARME";

// Longest texts each field holds (Windows-1252 characters).
constexpr std::size_t longueur_heure = 5;
constexpr std::size_t longueur_texte = 200;
constexpr std::size_t longueur_date = 10;
constexpr std::size_t longueur_son = 60;

// Values of frequence: 0 every day, 1..7 the weekday (1 = Sunday).
constexpr std::int16_t tous_les_jours = 0;

struct EnregistrementAlarme {
    std::array<std::uint8_t, taille_alarme> octets{};

    // Texts are read up to their terminator or the end of their field.
    std::string heure() const;
    std::string texte() const;
    bool affiche_texte() const { return octets[207] != 0; }
    bool repete() const { return octets[208] != 0; }
    std::string date() const;
    std::int16_t frequence() const;
    // A length byte above 60 never comes from this program; it reads as 60.
    std::string son() const;

    // Longer texts are cut to the field; the rest of the field is zeroed.
    void regle_heure(const std::string& heure);
    void regle_texte(const std::string& texte);
    void regle_affiche_texte(bool oui) { octets[207] = oui ? 1 : 0; }
    void regle_repete(bool oui) { octets[208] = oui ? 1 : 0; }
    void regle_date(const std::string& date);
    void regle_frequence(std::int16_t valeur);
    // A cut path names no file: refuses (false, old value kept) a path over 60 characters.
    bool regle_son(const std::string& chemin);

    bool operator==(const EnregistrementAlarme&) const = default;
};

// The new alarm: now, "Rappel", text not shown, every day, today's date, the
// default sound of the data directory.
void alarme_par_defaut(EnregistrementAlarme& r, const Contexte& ctx);

// The alarm's line in the alarm list (Windows-1252): "07:30 : Rappel" for a
// repeating alarm, "24/12/2026 - 18:00 : Rappel" for a one-date alarm; the text
// is cut to 50 characters; line breaks and other control bytes show as blanks.
std::string ligne_alarme(const EnregistrementAlarme& r);

// The sound of an alarm as a file-system path, by the rule of chemin_du_son.
std::string chemin_son(const EnregistrementAlarme& r, const std::string& repertoire);

// Opens "ALARME" for reading and writing; a missing file is created empty. An
// existing file that cannot be opened is an error, never recreated empty.
FichierEnregistrements ouvre_alarme(const std::string& repertoire);
void ferme_alarme(FichierEnregistrements& f);
std::int32_t nombre_alarmes(const FichierEnregistrements& f);
void lit_alarme(const FichierEnregistrements& f, std::int32_t n, EnregistrementAlarme& r);
// n equal to the count appends.
void ecrit_alarme(FichierEnregistrements& f, std::int32_t n, const EnregistrementAlarme& r);

// The operations, each inside one open-close bracket.
std::int32_t compte_alarmes(const std::string& repertoire);
void lit_alarme(const std::string& repertoire, std::int32_t n, EnregistrementAlarme& r);
std::vector<EnregistrementAlarme> lit_alarmes(const std::string& repertoire);
// Adding writes over a cut last record and deleting drops it: a file that ends
// in one is first kept aside, and signale is told.
// Returns the number of the new record (the last one).
std::int32_t ajoute_alarme(const std::string& repertoire, const EnregistrementAlarme& r,
                           const SignaleCopie& signale = {});
void modifie_alarme(const std::string& repertoire, std::int32_t n, const EnregistrementAlarme& r);
// Later records move one place forward. The shortened file replaces the old one
// atomically, so a failure leaves the file as it was. courante ends holding the
// last record moved (unchanged when the last record is the one deleted).
void supprime_alarme(const std::string& repertoire, std::int32_t n, EnregistrementAlarme& courante,
                     const SignaleCopie& signale = {});

} // namespace quorvel
