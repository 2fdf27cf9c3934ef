#include "calcul_moteur.hpp"

#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"

#include <cmath>
#include <cstdlib>

// On an arithmetic failure the key stops where it failed: total, operation,
// entry and decimal-point flag keep their values, the two other flags are
// already cleared and the display is not refreshed. The pending operator stays,
// so the user goes on with "C" or by typing.

namespace quorvel {

namespace {

bool est_operateur(char k) {
    return k == '+' || k == '-' || k == '*' || k == '/' || k == '=';
}

// Number of decimals worth showing: the last non-zero one among ten, at most six.
int decimales_utiles(long double total) {
    const long double fraction = arrondi_reel6(total - std::trunc(total));
    const std::string texte = reel_en_texte(0, 10, fraction);
    const auto point = texte.find('.');
    int derniere = 0;
    for (int i = 1; i <= 10 && point + i < texte.size(); ++i)
        if (texte[point + i] != '0')
            derniere = i;
    return derniere < 6 ? derniere : 6;
}

// A fixed text longer than the entry would lose its last digits and show a
// wrong magnitude, so such results are written in scientific notation.
std::string texte_scientifique(long double v) {
    const DecimalReel6 d = decimal_reel6(v);
    std::string t = d.negatif ? "-" : "";
    t += d.chiffres.front();
    if (d.chiffres.size() > 1)
        t += '.' + d.chiffres.substr(1);
    t += d.exposant < 0 ? "E-" : "E+";
    const std::string exposant = std::to_string(std::abs(d.exposant));
    if (exposant.size() < 2)
        t += '0';
    t += exposant;
    if (t.size() < 20)
        t.insert(0, 20 - t.size(), ' ');
    return t;
}

} // namespace

std::string texte_resultat(long double total) {
    std::string texte = reel_en_texte(20, decimales_utiles(total), total);
    if (texte.size() > MoteurCalcul::longueur_saisie)
        texte = texte_scientifique(total);
    return texte.substr(0, MoteurCalcul::longueur_saisie);
}

long double MoteurCalcul::valeur_saisie() const {
    return texte_en_reel(saisie_);
}

void MoteurCalcul::ajoute(char c) {
    if (saisie_.size() < longueur_saisie)
        saisie_ += c;
}

void MoteurCalcul::applique_operateur(char k) {
    resultat_affiche_ = false;
    nombre_saisi_ = false;
    const long double x = valeur_saisie();
    if (operation_ == '=') {
        total_ = x;
        saisie_.clear();
    } else {
        long double r = 0.0L;
        switch (operation_) {
        case '/':
            if (x == 0.0L)
                throw ErreurCalcul(total_ == 0.0L ? Arithmetique::operation_incorrecte
                                                  : Arithmetique::division_par_zero);
            r = total_ / x;
            break;
        case '*':
            r = total_ * x;
            break;
        case '+':
            r = total_ + x;
            break;
        default:
            r = total_ - x;
            break;
        }
        if (std::isnan(r))
            throw ErreurCalcul(Arithmetique::operation_incorrecte);
        if (std::isinf(r))
            throw ErreurCalcul(Arithmetique::debordement);
        total_ = r;
        if (k == '=') {
            saisie_ = texte_resultat(total_);
            total_ = 0.0L;
            nombre_saisi_ = false;
            virgule_saisie_ = false;
            resultat_affiche_ = true;
        } else {
            saisie_.clear();
        }
    }
    operation_ = k;
    virgule_saisie_ = false;
}

void MoteurCalcul::traite_touche(char k) {
    if (resultat_affiche_) {
        saisie_.clear();
        resultat_affiche_ = false;
    }
    if (est_operateur(k)) {
        if (!nombre_saisi_ && k == '-' && saisie_.empty()) {
            saisie_ = "-";
            nombre_saisi_ = true;
        } else if (nombre_saisi_) {
            applique_operateur(k);
        }
    }
    if (k >= '0' && k <= '9' && valeur_saisie() < garde_chiffres) {
        ajoute(k);
        resultat_affiche_ = false;
        nombre_saisi_ = true;
    }
    if (k == 'c') {
        saisie_.clear();
        total_ = 0.0L;
        operation_ = '=';
        nombre_saisi_ = virgule_saisie_ = resultat_affiche_ = false;
    }
    if (k == '.' && !saisie_.empty() && saisie_ != "-" && !virgule_saisie_) {
        ajoute('.');
        virgule_saisie_ = true;
    }
    affiche_saisie();
}

void MoteurCalcul::traite_touches(const std::string& touches) {
    for (const char k : touches)
        traite_touche(k);
}

void MoteurCalcul::affiche_saisie() {
    affichage_ = saisie_.empty() ? "0" : saisie_;
}

} // namespace quorvel
