#pragma once
// Small shared routines: numbers and texts, the 6-byte real, time and date
// checks, font style codes and sound.
#include <cstdint>
#include <string>

namespace quorvel {

class LecteurSon;

std::string nombre_zeros(long long valeur, int largeur);

// Rounds to the nearest 6-byte real (sign, 39-bit fraction with hidden bit,
// 8-bit exponent). Throws ErreurCalcul(debordement) at 2^127 or more; values
// below 2^-128 become 0.
long double arrondi_reel6(long double v);
// The decimal a 6-byte real stands for: the shortest one, of at most 12
// significant digits, that reads back as the same real. valeur is
// chiffres[0].chiffres[1...] x 10^exposant; no trailing zero, zero is "0".
struct DecimalReel6 {
    bool negatif = false;
    std::string chiffres;
    int exposant = 0;
};
// Throws as arrondi_reel6.
DecimalReel6 decimal_reel6(long double valeur);

// Both ways, numbers use "." and these rules whatever the user's locale.
// Reads an optionally signed decimal number with optional fraction and exponent,
// after leading blanks; what follows the number is ignored; no digits gives 0.
long double texte_en_reel(const std::string& texte);
// Fixed-point text of decimal_reel6(valeur), rounded half away from zero at the
// last decimal; a value that rounds to zero has no sign. decimals > 0: field of
// largeur + decimales + 1; decimals 0: field of largeur. Never cut.
std::string reel_en_texte(int largeur, int decimales, long double valeur);

// Exactly "JJ/MM/AAAA", a real calendar date from 1982 to 2098.
bool date_valide(const std::string& texte);
// Exactly "HH:MM", 00..23 and 00..59.
bool heure_valide(const std::string& texte);

struct StylePolice {
    bool gras = false, italique = false, souligne = false, barre = false;
    bool operator==(const StylePolice&) const = default;
};
std::int16_t code_style(const StylePolice& style);
// Codes outside 1..4 give the regular style.
StylePolice style_police(std::int16_t code);

// Starts the WAV file at chemin, without waiting for it.
void joue_son(LecteurSon& lecteur, const std::string& chemin);

} // namespace quorvel
