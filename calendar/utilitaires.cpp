#include "utilitaires.hpp"

#include "calendar/dates.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/son.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace quorvel {

std::string nombre_zeros(long long valeur, int largeur) {
    std::string texte = std::to_string(valeur);
    static constexpr long long seuils[] = {10, 100, 1000, 10000, 100000, 1000000, 10000000};
    for (int i = 0; i < 7; ++i)
        if (valeur < seuils[i] && largeur > i + 1) texte.insert(texte.begin(), '0');
    return texte;
}

long double arrondi_reel6(long double v) {
    if (std::isnan(v)) throw ErreurCalcul(Arithmetique::operation_incorrecte);
    if (std::isinf(v)) throw ErreurCalcul(Arithmetique::debordement);
    if (v == 0.0L) return 0.0L;
    int exposant = 0;
    const long double mantisse = std::frexp(v, &exposant); // |mantisse| in [0.5, 1)
    // 40 significant bits: the hidden one and the 39-bit fraction; ties to even.
    const long double entier = std::nearbyint(std::ldexp(mantisse, 40));
    const long double r = std::ldexp(entier, exposant - 40);
    if (std::fabs(r) >= std::ldexp(1.0L, 127)) throw ErreurCalcul(Arithmetique::debordement);
    if (std::fabs(r) < std::ldexp(1.0L, -128)) return 0.0L;
    return r;
}

long double texte_en_reel(const std::string& texte) {
    std::size_t i = 0;
    while (i < texte.size() && texte[i] == ' ') ++i;
    std::string nombre;
    if (i < texte.size() && (texte[i] == '+' || texte[i] == '-')) nombre += texte[i++];
    const auto chiffres = [&] {
        bool vu = false;
        while (i < texte.size() && std::isdigit(static_cast<unsigned char>(texte[i]))) {
            nombre += texte[i++];
            vu = true;
        }
        return vu;
    };
    bool vu = chiffres();
    if (i < texte.size() && texte[i] == '.') {
        nombre += texte[i++];
        vu = chiffres() || vu;
    }
    if (!vu) return 0.0L;
    if (i < texte.size() && (texte[i] == 'E' || texte[i] == 'e')) {
        std::string exposant = "e";
        std::size_t j = i + 1;
        if (j < texte.size() && (texte[j] == '+' || texte[j] == '-')) exposant += texte[j++];
        const std::size_t debut = j;
        while (j < texte.size() && std::isdigit(static_cast<unsigned char>(texte[j])) && j - debut < 6)
            exposant += texte[j++];
        if (j > debut) nombre += exposant;
    }
    return arrondi_reel6(std::strtold(nombre.c_str(), nullptr));
}

std::string reel_en_texte(int largeur, int decimales, long double valeur) {
    const long double v = arrondi_reel6(valeur);
    if (decimales < 0) decimales = 0;
    const int champ = decimales > 0 ? largeur + decimales + 1 : largeur;
    char tampon[128];
    std::snprintf(tampon, sizeof tampon, "%*.*Lf", champ, decimales, v);
    return tampon;
}

namespace {
int deux_chiffres(const std::string& t, std::size_t i) {
    if (i + 1 >= t.size() || !std::isdigit(static_cast<unsigned char>(t[i])) ||
        !std::isdigit(static_cast<unsigned char>(t[i + 1])))
        return -1;
    return (t[i] - '0') * 10 + (t[i + 1] - '0');
}
} // namespace

bool date_valide(const std::string& texte) {
    if (texte.size() != 10 || texte[2] != '/' || texte[5] != '/') return false;
    const int jour = deux_chiffres(texte, 0);
    const int mois = deux_chiffres(texte, 3);
    const int haut = deux_chiffres(texte, 6);
    const int bas = deux_chiffres(texte, 8);
    if (jour < 0 || mois < 0 || haut < 0 || bas < 0) return false;
    const int annee = haut * 100 + bas;
    if (annee < 1982 || annee > 2098 || mois < 1 || mois > 12) return false;
    return jour >= 1 && jour <= longueur_mois(mois, annee);
}

bool heure_valide(const std::string& texte) {
    if (texte.size() != 5 || texte[2] != ':') return false;
    const int heure = deux_chiffres(texte, 0);
    const int minute = deux_chiffres(texte, 3);
    return heure >= 0 && heure <= 23 && minute >= 0 && minute <= 59;
}

std::int16_t code_style(const StylePolice& s) {
    if (s.souligne || s.barre) return 1;
    if (s.gras && s.italique) return 4;
    if (s.gras) return 2;
    if (s.italique) return 3;
    return 1;
}

StylePolice style_police(std::int16_t code) {
    switch (code) {
    case 2: return {true, false, false, false};
    case 3: return {false, true, false, false};
    case 4: return {true, true, false, false};
    default: return {};
    }
}

void joue_son(LecteurSon& lecteur, const std::string& chemin, std::int16_t) { lecteur.joue(chemin); }

} // namespace quorvel
