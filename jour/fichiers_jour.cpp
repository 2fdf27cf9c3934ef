#include "fichiers_jour.hpp"

#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {
constexpr std::size_t champ_creneau = 61;
std::size_t debut_creneau(int k) {
    return champ_creneau * static_cast<std::size_t>(k - 1);
}
} // namespace

std::string EnregistrementAgenda::texte(int k) const {
    const std::uint8_t* p = &octets[debut_creneau(k)];
    const auto* fin = static_cast<const std::uint8_t*>(std::memchr(p, 0, champ_creneau));
    const std::size_t n = fin ? static_cast<std::size_t>(fin - p) : champ_creneau;
    return std::string(reinterpret_cast<const char*>(p), std::min(n, longueur_creneau));
}

void EnregistrementAgenda::regle_texte(int k, const std::string& t) {
    std::uint8_t* p = &octets[debut_creneau(k)];
    const std::size_t n = std::min(t.size(), longueur_creneau);
    std::memcpy(p, t.data(), n);
    p[n] = 0;
}

void vide_agenda(EnregistrementAgenda& a) {
    a.octets.fill(0);
}

std::string cle_jour(Jour d) {
    const std::string a = nombre_zeros(annee_de(d), 4);
    return nombre_zeros(jour_de(d), 2) + "_" + nombre_zeros(mois_de(d), 2) + "_" +
           (a.size() >= 4 ? a.substr(2, 2) : a);
}

std::string fichier_note_jour(Jour d) {
    return cle_jour(d) + ".PAD";
}

std::string fichier_agenda_jour(Jour d) {
    return cle_jour(d) + ".ENG";
}

std::string charge_texte(const std::string& chemin) {
    auto f = FichierEnregistrements::ouvre(chemin, 1);
    if (!f) {
        FichierEnregistrements::cree(chemin, 1).ferme();
        return {};
    }
    std::string octets(static_cast<std::size_t>(f->taille_octets()), '\0');
    // A file of at most one byte is the empty text: the saved empty text is
    // its one zero byte.
    if (octets.size() > 1)
        f->lit_octets(0, octets.data(), octets.size());
    f->ferme();
    if (octets.size() <= 1)
        return {};
    octets.erase(std::remove(octets.begin(), octets.end(), '\0'), octets.end());
    return octets;
}

void sauve_texte(const std::string& chemin, const std::string& texte) {
    std::string octets = texte;
    octets.push_back('\0');
    remplace_atomiquement(chemin, octets);
}

FichierEnregistrements ouvre_agenda(const std::string& repertoire, Jour d,
                                    EnregistrementAgenda& a) {
    const std::string chemin = repertoire + fichier_agenda_jour(d);
    if (auto f = FichierEnregistrements::ouvre(chemin, taille_agenda))
        return std::move(*f);
    // Written whole beside and renamed in, so that no cut agenda file is ever left.
    vide_agenda(a);
    remplace_atomiquement(
        chemin, std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size()));
    auto f = FichierEnregistrements::ouvre(chemin, taille_agenda);
    if (!f)
        throw ErreurES(es_acces_refuse);
    return std::move(*f);
}

void lit_agenda(const FichierEnregistrements& f, EnregistrementAgenda& a) {
    f.lit(0, a.octets.data());
}

void ecrit_agenda(FichierEnregistrements& f, const EnregistrementAgenda& a) {
    f.ecrit(0, a.octets.data());
}

EnregistrementAgenda agenda_du_fichier(const std::string& repertoire, Jour d) {
    EnregistrementAgenda a;
    const std::string chemin = repertoire + fichier_agenda_jour(d);
    if (!fichier_existe(chemin))
        return a;
    try {
        auto f = FichierEnregistrements::ouvre_lecture(chemin, taille_agenda);
        if (f.nombre() >= 1)
            f.lit(0, a.octets.data());
    } catch (const ErreurES&) {
        // An unreadable file rings nothing; the page reports it when it is shown.
        vide_agenda(a);
    }
    return a;
}

std::array<bool, nombre_creneaux> cloches_du_fichier(const std::string& repertoire, Jour d) {
    const EnregistrementAgenda a = agenda_du_fichier(repertoire, d);
    std::array<bool, nombre_creneaux> cloches{};
    for (int k = 1; k <= nombre_creneaux; ++k)
        cloches[k - 1] = a.cloche(k);
    return cloches;
}

void efface_bloc_jour(const std::string& repertoire, Jour d) {
    const std::string chemin = repertoire + fichier_note_jour(d);
    if (fichier_existe(chemin))
        efface_fichier(chemin);
}

void efface_agenda(const std::string& repertoire, Jour d) {
    const std::string chemin = repertoire + fichier_agenda_jour(d);
    if (fichier_existe(chemin))
        efface_fichier(chemin);
}

int rafraichi_fichier(const std::string& repertoire, ServiceDates& dates) {
    using std::chrono::days;
    const std::chrono::sys_days aujourdhui{dates.relit_aujourdhui()};
    int jours = 0;
    for (auto d = aujourdhui - days{purge_debut_jours_avant};
         d <= aujourdhui - days{purge_fin_jours_avant}; d += days{1}) {
        efface_bloc_jour(repertoire, Jour{d});
        efface_agenda(repertoire, Jour{d});
        ++jours;
    }
    return jours;
}

} // namespace quorvel
