#pragma once
// The day files: the note pad "PAD", and for each date a day note file
// DD_MM_YY.PAD and a day agenda file DD_MM_YY.ENG of one 806-byte record.
#include "calendar/dates.hpp"
#include "plateforme/fichier.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

constexpr std::size_t taille_agenda = 806;
constexpr int nombre_creneaux = 13;
// Slot k (1..13) is the line of the hour 7 + k: 08h00 to 20h00.
constexpr int heure_creneau(int k) {
    return 7 + k;
}
// The slot of an hour: below 1 or above 13 outside 08h00 to 20h00.
constexpr int creneau_de_l_heure(int heure) {
    return heure - heure_creneau(0);
}
constexpr std::size_t longueur_creneau = 60; // characters of one agenda line
constexpr std::size_t longueur_bloc = 5000;  // characters of the note pad and of a day note

// Thirteen slot texts of 61 bytes, then thirteen bell flags.
struct EnregistrementAgenda {
    std::array<std::uint8_t, taille_agenda> octets{};
    // Slot k (1..13) up to its zero byte, never past its field.
    std::string texte(int k) const;
    // At most 60 characters and the zero byte; the rest of the field is left as it was.
    void regle_texte(int k, const std::string& t);
    bool cloche(int k) const { return octets[793 + (k - 1)] != 0; }
    void regle_cloche(int k, bool active) { octets[793 + (k - 1)] = active ? 1 : 0; }
};

// Empty texts and no bells (the whole record is zeroed so that nothing of
// another date stays in the bytes that follow a terminator).
void vide_agenda(EnregistrementAgenda& a);

std::string cle_jour(Jour d);            // "05_03_98"
std::string fichier_note_jour(Jour d);   // "05_03_98.PAD"
std::string fichier_agenda_jour(Jour d); // "05_03_98.ENG"
inline constexpr const char* fichier_bloc_note = "PAD";

// A text file (note pad or day note): the characters followed by one zero byte.
// Reading drops every zero byte; a missing file is created empty.
std::string charge_texte(const std::string& chemin);
// Writes the text and its zero byte beside the old file and renames it over:
// the old or the new text always exists whole.
void sauve_texte(const std::string& chemin, const std::string& texte);

// Opens the day agenda file, creating it with an empty record (and emptying a)
// when it cannot be opened.
FichierEnregistrements ouvre_agenda(const std::string& repertoire, Jour d, EnregistrementAgenda& a);
void lit_agenda(const FichierEnregistrements& f, EnregistrementAgenda& a);
void ecrit_agenda(FichierEnregistrements& f, const EnregistrementAgenda& a);

// The agenda of a date as its file holds it, without creating or changing
// anything: empty, no bells, when the file is missing, too short or unreadable.
EnregistrementAgenda agenda_du_fichier(const std::string& repertoire, Jour d);
std::array<bool, nombre_creneaux> cloches_du_fichier(const std::string& repertoire, Jour d);

// Deletes the day note file / day agenda file of a date when there is one.
void efface_bloc_jour(const std::string& repertoire, Jour d);
void efface_agenda(const std::string& repertoire, Jour d);

// The purge at start-up deletes the day files of the dates from 179 to 5 days
// before today, both included; older and newer ones stay.
constexpr int purge_debut_jours_avant = 179;
constexpr int purge_fin_jours_avant = 5;
// Returns the number of dates walked (175).
int rafraichi_fichier(const std::string& repertoire, ServiceDates& dates);

} // namespace quorvel
