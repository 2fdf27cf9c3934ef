#include "saints.hpp"

#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {
constexpr int annee_bissextile = 2000;
std::string texte_borne(const std::uint8_t* p, std::size_t max) {
    const auto* fin = static_cast<const std::uint8_t*>(std::memchr(p, 0, max));
    return std::string(reinterpret_cast<const char*>(p),
                       fin ? static_cast<std::size_t>(fin - p) : max);
}
void ecrit_borne(std::uint8_t* p, std::size_t champ, const std::string& s) {
    const std::size_t n = std::min(s.size(), champ - 1);
    std::memcpy(p, s.data(), n);
    p[n] = 0;
}
} // namespace

std::string EnregistrementSaint::date() const {
    return texte_borne(&octets[0], 6);
}
std::string EnregistrementSaint::nom() const {
    return texte_borne(&octets[6], 31);
}
void EnregistrementSaint::regle_date(const std::string& d) {
    ecrit_borne(&octets[0], 6, d);
}
void EnregistrementSaint::regle_nom(const std::string& n) {
    ecrit_borne(&octets[6], 31, n);
}

void vide_saint(EnregistrementSaint& s) {
    s.octets.fill(0);
}

std::string nom_fichier_saints(int mois) {
    return "SAINT" + nombre_zeros(mois, 2);
}

FichierEnregistrements ouvre_saints(const std::string& repertoire, int mois) {
    const std::string chemin = repertoire + nom_fichier_saints(mois);
    if (auto f = FichierEnregistrements::ouvre(chemin, taille_saint))
        return std::move(*f);
    // The whole month written beside and renamed in: never a cut month on disk.
    std::string mois_entier;
    EnregistrementSaint s;
    for (int i = 0; i < longueur_mois(mois, annee_bissextile); ++i) {
        vide_saint(s);
        s.regle_date(nombre_zeros(i + 1, 2) + "/" + nombre_zeros(mois, 2));
        mois_entier.append(reinterpret_cast<const char*>(s.octets.data()), s.octets.size());
    }
    remplace_atomiquement(chemin, mois_entier);
    auto f = FichierEnregistrements::ouvre(chemin, taille_saint);
    if (!f)
        throw ErreurES(es_acces_refuse);
    return std::move(*f);
}

void lit_saint(const FichierEnregistrements& f, std::int64_t n, EnregistrementSaint& s) {
    f.lit(n, s.octets.data());
}

void ecrit_saint(FichierEnregistrements& f, std::int64_t n, const EnregistrementSaint& s) {
    f.ecrit(n, s.octets.data());
}

void ferme_saints(FichierEnregistrements& f) {
    f.ferme();
}

void saint_du_jour(const std::string& repertoire, int jour, int mois, EnregistrementSaint& tampon,
                   std::string& courant) {
    auto f = ouvre_saints(repertoire, mois);
    // A day without a record (a cut file, 29 February in a 28-record file)
    // shows no saint rather than the one of the page shown before.
    courant.clear();
    const std::int64_t n = f.nombre();
    for (std::int64_t i = 0; i < n; ++i) {
        lit_saint(f, i, tampon);
        const std::string date = tampon.date();
        // Only a date that starts with two digits can name a day.
        if (date.size() < 2 || date[0] < '0' || date[0] > '9' || date[1] < '0' || date[1] > '9')
            continue;
        if (static_cast<int>(texte_en_reel(date.substr(0, 2))) == jour)
            courant = tampon.nom().substr(0, 20);
    }
    ferme_saints(f);
}

} // namespace quorvel
