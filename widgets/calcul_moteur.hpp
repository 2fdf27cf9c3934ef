#pragma once
// The calculator's key engine: one accumulator, left-to-right evaluation, a
// 30-character entry and results with at most six decimals. No Qt here, so
// every key sequence can be tested by table.
#include <string>

namespace quorvel {

class MoteurCalcul {
public:
    static constexpr std::size_t longueur_saisie = 30;
    // Digits are taken only while the entry reads below this.
    static constexpr long double garde_chiffres = 999999999.0L;

    // One key: '0'..'9', '.', '+', '-', '*', '/', '=' or 'c' (the "C" key).
    // Other characters are ignored. An arithmetic failure throws ErreurCalcul
    // and leaves the state described in the header comment of the .cpp.
    void traite_touche(char k);
    // Convenience for tests and scripts: each character in turn.
    void traite_touches(const std::string& touches);

    // The entry as read for the arithmetic: sign, digits, optional fraction,
    // rounded to the 6-byte real. "", "-" and a trailing "." read as expected.
    long double valeur_saisie() const;

    const std::string& saisie() const { return saisie_; }
    // What the display shows: refreshed at the end of each key that did not fail.
    const std::string& affichage() const { return affichage_; }
    long double total() const { return total_; }
    char operation() const { return operation_; }
    bool nombre_saisi() const { return nombre_saisi_; }
    bool virgule_saisie() const { return virgule_saisie_; }
    bool resultat_affiche() const { return resultat_affiche_; }

private:
    void ajoute(char c);
    void applique_operateur(char k);
    void affiche_saisie();

    long double total_ = 0.0L;
    char operation_ = '=';
    std::string saisie_;
    std::string affichage_ = "0";
    bool nombre_saisi_ = false;
    bool virgule_saisie_ = false;
    bool resultat_affiche_ = false;
};

// The text a result of "=" puts into the entry: at most six decimals (fewer
// when the fraction ends earlier), right-aligned in the calculator's field,
// at most 30 characters. Throws ErreurCalcul(debordement) when the value does
// not fit the 6-byte real.
std::string texte_resultat(long double total);

} // namespace quorvel
