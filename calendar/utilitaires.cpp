#include "utilitaires.hpp"

#include "calendar/dates.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/son.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace quorvel {

std::string nombre_zeros(long long valeur, int largeur) {
    std::string texte = std::to_string(valeur);
    static constexpr long long seuils[] = {10, 100, 1000, 10000, 100000, 1000000, 10000000};
    for (int i = 0; i < 7; ++i)
        if (valeur < seuils[i] && largeur > i + 1)
            texte.insert(texte.begin(), '0');
    return texte;
}

long double arrondi_reel6(long double v) {
    if (std::isnan(v))
        throw ErreurCalcul(Arithmetique::operation_incorrecte);
    if (std::isinf(v))
        throw ErreurCalcul(Arithmetique::debordement);
    if (v == 0.0L)
        return 0.0L;
    int exposant = 0;
    const long double mantisse = std::frexp(v, &exposant); // |mantisse| in [0.5, 1)
    // 40 significant bits: the hidden one and the 39-bit fraction; ties to even.
    const long double entier = std::nearbyint(std::ldexp(mantisse, 40));
    const long double r = std::ldexp(entier, exposant - 40);
    if (std::fabs(r) >= std::ldexp(1.0L, 127))
        throw ErreurCalcul(Arithmetique::debordement);
    if (std::fabs(r) < std::ldexp(1.0L, -128))
        return 0.0L;
    return r;
}

DecimalReel6 decimal_reel6(long double valeur) {
    // Every 6-byte real is exactly a double, whose to_chars is exact.
    const double v = static_cast<double>(arrondi_reel6(valeur));
    DecimalReel6 d;
    d.negatif = v < 0;
    if (v == 0) {
        d.chiffres = "0";
        return d;
    }
    char tampon[32];
    for (int precision = 0;; ++precision) {
        const auto fin = std::to_chars(tampon, tampon + sizeof tampon, std::fabs(v),
                                       std::chars_format::scientific, precision)
                             .ptr;
        const std::string texte(tampon, fin);
        if (precision < 11 && texte_en_reel(texte) != std::fabs(v))
            continue;
        const auto e = texte.find('e');
        for (const char c : texte.substr(0, e))
            if (c != '.')
                d.chiffres += c;
        d.chiffres.erase(d.chiffres.find_last_not_of('0') + 1);
        std::from_chars(texte.data() + e + 1 + (texte[e + 1] == '+'), texte.data() + texte.size(),
                        d.exposant);
        return d;
    }
}

long double texte_en_reel(const std::string& texte) {
    const char* p = texte.data();
    const char* const fin = p + texte.size();
    while (p < fin && *p == ' ')
        ++p;
    const bool negatif = p < fin && *p == '-';
    if (p < fin && (*p == '+' || *p == '-'))
        ++p;
    const auto chiffre = [fin](const char* q) { return q < fin && *q >= '0' && *q <= '9'; };
    if (!chiffre(p) && !(p < fin && *p == '.' && chiffre(p + 1)))
        return 0.0L;
    long double v = 0.0L;
    const auto [suite, erreur] = std::from_chars(p, fin, v);
    if (erreur == std::errc::result_out_of_range) {
        // Beyond even the extended range: tiny with a negative exponent, else huge.
        const char* e = std::find_if(p, suite, [](char c) { return c == 'e' || c == 'E'; });
        if (e + 1 < suite && e[1] == '-')
            return 0.0L;
        throw ErreurCalcul(Arithmetique::debordement);
    }
    return arrondi_reel6(negatif ? -v : v);
}

std::string reel_en_texte(int largeur, int decimales, long double valeur) {
    if (decimales < 0)
        decimales = 0;
    const DecimalReel6 d = decimal_reel6(valeur);
    // The digits of |valeur| x 10^decimales, rounded on the decimal, not on the
    // binary fraction: 0.0078125 gives 0.007813 as on a pocket calculator.
    const int gardes = d.exposant + 1 + decimales;
    const int n = static_cast<int>(d.chiffres.size());
    std::string entier;
    if (gardes > 0)
        entier = d.chiffres.substr(0, gardes) + std::string(std::max(gardes - n, 0), '0');
    if (gardes >= 0 && gardes < n && d.chiffres[gardes] >= '5') {
        auto i = entier.rbegin();
        for (; i != entier.rend() && *i == '9'; ++i)
            *i = '0';
        if (i == entier.rend())
            entier.insert(entier.begin(), '1');
        else
            ++*i;
    }
    if (entier.size() <= static_cast<std::size_t>(decimales))
        entier.insert(0, decimales + 1 - entier.size(), '0');
    const bool negatif = d.negatif && entier.find_first_not_of('0') != std::string::npos;
    if (decimales > 0)
        entier.insert(entier.size() - decimales, 1, '.');
    if (negatif)
        entier.insert(entier.begin(), '-');
    const int champ = decimales > 0 ? largeur + decimales + 1 : largeur;
    if (static_cast<int>(entier.size()) < champ)
        entier.insert(0, champ - entier.size(), ' ');
    return entier;
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
    if (texte.size() != 10 || texte[2] != '/' || texte[5] != '/')
        return false;
    const int jour = deux_chiffres(texte, 0);
    const int mois = deux_chiffres(texte, 3);
    const int haut = deux_chiffres(texte, 6);
    const int bas = deux_chiffres(texte, 8);
    if (jour < 0 || mois < 0 || haut < 0 || bas < 0)
        return false;
    const int annee = haut * 100 + bas;
    if (annee < 1982 || annee > 2098 || mois < 1 || mois > 12)
        return false;
    return jour >= 1 && jour <= longueur_mois(mois, annee);
}

bool heure_valide(const std::string& texte) {
    if (texte.size() != 5 || texte[2] != ':')
        return false;
    const int heure = deux_chiffres(texte, 0);
    const int minute = deux_chiffres(texte, 3);
    return heure >= 0 && heure <= 23 && minute >= 0 && minute <= 59;
}

std::int16_t code_style(const StylePolice& s) {
    if (s.souligne || s.barre)
        return 1;
    if (s.gras && s.italique)
        return 4;
    if (s.gras)
        return 2;
    if (s.italique)
        return 3;
    return 1;
}

StylePolice style_police(std::int16_t code) {
    switch (code) {
    case 2:
        return {true, false, false, false};
    case 3:
        return {false, true, false, false};
    case 4:
        return {true, true, false, false};
    default:
        return {};
    }
}

void joue_son(LecteurSon& lecteur, const std::string& chemin) {
    lecteur.joue(chemin);
}

} // namespace quorvel
