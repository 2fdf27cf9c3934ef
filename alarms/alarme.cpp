#include "alarms/alarme.hpp"

#include "calendar/contexte.hpp"
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"
#include "plateforme/erreurs.hpp"
#include "settings/reglages.hpp"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr std::size_t o_heure = 0, t_heure = 6;
constexpr std::size_t o_texte = 6, t_texte = 201;
constexpr std::size_t o_date = 209, t_date = 11;
constexpr std::size_t o_frequence = 220;
constexpr std::size_t o_son = 222;

std::string lit_champ(const EnregistrementAlarme& r, std::size_t o, std::size_t taille) {
    const auto* debut = r.octets.data() + o;
    const auto* fin = std::find(debut, debut + taille, std::uint8_t{0});
    return std::string(debut, fin);
}

// At most taille - 1 characters, then zeros to the end of the field.
void ecrit_champ(EnregistrementAlarme& r, std::size_t o, std::size_t taille, const std::string& s) {
    const std::size_t n = std::min(s.size(), taille - 1);
    std::fill_n(r.octets.begin() + static_cast<std::ptrdiff_t>(o), taille, std::uint8_t{0});
    std::memcpy(r.octets.data() + o, s.data(), n);
}

} // namespace

std::string EnregistrementAlarme::heure() const {
    return lit_champ(*this, o_heure, t_heure);
}
std::string EnregistrementAlarme::texte() const {
    return lit_champ(*this, o_texte, t_texte);
}
std::string EnregistrementAlarme::date() const {
    return lit_champ(*this, o_date, t_date);
}

std::int16_t EnregistrementAlarme::frequence() const {
    return static_cast<std::int16_t>(octets[o_frequence] | (octets[o_frequence + 1] << 8));
}

std::string EnregistrementAlarme::son() const {
    const std::size_t n = std::min<std::size_t>(octets[o_son], longueur_son);
    const auto* debut = octets.data() + o_son + 1;
    return std::string(debut, debut + n);
}

void EnregistrementAlarme::regle_heure(const std::string& h) {
    ecrit_champ(*this, o_heure, t_heure, h);
}
void EnregistrementAlarme::regle_texte(const std::string& t) {
    ecrit_champ(*this, o_texte, t_texte, t);
}
void EnregistrementAlarme::regle_date(const std::string& d) {
    ecrit_champ(*this, o_date, t_date, d);
}

void EnregistrementAlarme::regle_frequence(std::int16_t valeur) {
    const auto v = static_cast<std::uint16_t>(valeur);
    octets[o_frequence] = static_cast<std::uint8_t>(v & 0xFF);
    octets[o_frequence + 1] = static_cast<std::uint8_t>(v >> 8);
}

bool EnregistrementAlarme::regle_son(const std::string& chemin) {
    if (chemin.size() > longueur_son)
        return false;
    std::fill_n(octets.begin() + o_son, 1 + longueur_son, std::uint8_t{0});
    octets[o_son] = static_cast<std::uint8_t>(chemin.size());
    std::memcpy(octets.data() + o_son + 1, chemin.data(), chemin.size());
    return true;
}

void alarme_par_defaut(EnregistrementAlarme& r, const Contexte& ctx) {
    // One reading of the clock for both, so a new alarm made at midnight is consistent.
    const Instant t = ctx.horloge.maintenant();
    r = EnregistrementAlarme{};
    r.regle_heure(nombre_zeros(t.heure, 2) + ":" + nombre_zeros(t.minute, 2));
    r.regle_texte("Rappel");
    r.regle_affiche_texte(false);
    r.regle_repete(true);
    r.regle_date(texte_date_de(date_de(t)));
    r.regle_frequence(tous_les_jours);
    // Already Windows-1252, and the bare name when the full path would not fit.
    if (!r.regle_son(son_par_defaut(ctx.repertoire)))
        r.regle_son("coucou.wav");
}

std::string ligne_alarme(const EnregistrementAlarme& r) {
    std::string ligne = r.heure().substr(0, longueur_heure) + " : " + r.texte().substr(0, 50);
    if (!r.repete())
        ligne = r.date().substr(0, longueur_date) + " - " + ligne;
    for (char& c : ligne)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return ligne;
}

std::string chemin_son(const EnregistrementAlarme& r, const std::string& repertoire) {
    return chemin_du_son(r.son(), repertoire);
}

FichierEnregistrements ouvre_alarme(const std::string& repertoire) {
    const std::string chemin = repertoire + nom_fichier_alarme;
    if (auto f = FichierEnregistrements::ouvre(chemin, taille_alarme))
        return std::move(*f);
    if (fichier_existe(chemin)) {
        // Recreating it would empty the user's alarms: report why it cannot be opened.
        FichierEnregistrements::ouvre_lecture(chemin, taille_alarme);
        throw ErreurES(es_acces_refuse);
    }
    return FichierEnregistrements::cree(chemin, taille_alarme);
}

void ferme_alarme(FichierEnregistrements& f) {
    f.ferme();
}

std::int32_t nombre_alarmes(const FichierEnregistrements& f) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(f.nombre(), INT32_MAX));
}

void lit_alarme(const FichierEnregistrements& f, std::int32_t n, EnregistrementAlarme& r) {
    // Read into a copy so that a failed read leaves the record as it was.
    EnregistrementAlarme lu;
    f.lit(n, lu.octets.data());
    r = lu;
}

void ecrit_alarme(FichierEnregistrements& f, std::int32_t n, const EnregistrementAlarme& r) {
    f.ecrit(n, r.octets.data());
}

namespace {

// The file, opened; one that ends in a cut record is kept aside first, for what
// follows writes over that record or drops it.
FichierEnregistrements ouvre_alarme_entiere(const std::string& repertoire,
                                            const SignaleCopie& signale) {
    auto f = ouvre_alarme(repertoire);
    if (f.taille_octets() % static_cast<std::int64_t>(taille_alarme) == 0)
        return f;
    ferme_alarme(f);
    garde_illisible(repertoire + nom_fichier_alarme, signale);
    return ouvre_alarme(repertoire);
}

} // namespace

std::int32_t compte_alarmes(const std::string& repertoire) {
    auto f = ouvre_alarme(repertoire);
    const std::int32_t c = nombre_alarmes(f);
    ferme_alarme(f);
    return c;
}

void lit_alarme(const std::string& repertoire, std::int32_t n, EnregistrementAlarme& r) {
    auto f = ouvre_alarme(repertoire);
    if (n < 0 || n >= nombre_alarmes(f))
        throw ErreurES(es_fin_de_fichier);
    lit_alarme(f, n, r);
    ferme_alarme(f);
}

std::vector<EnregistrementAlarme> lit_alarmes(const std::string& repertoire) {
    auto f = ouvre_alarme(repertoire);
    std::string octets(static_cast<std::size_t>(nombre_alarmes(f)) * taille_alarme, '\0');
    if (!octets.empty())
        f.lit_octets(0, octets.data(), octets.size());
    ferme_alarme(f);
    std::vector<EnregistrementAlarme> alarmes(octets.size() / taille_alarme);
    for (std::size_t k = 0; k < alarmes.size(); ++k)
        std::memcpy(alarmes[k].octets.data(), octets.data() + k * taille_alarme, taille_alarme);
    return alarmes;
}

std::int32_t ajoute_alarme(const std::string& repertoire, const EnregistrementAlarme& r,
                           const SignaleCopie& signale) {
    auto f = ouvre_alarme_entiere(repertoire, signale);
    const std::int32_t c = nombre_alarmes(f);
    ecrit_alarme(f, c, r);
    ferme_alarme(f);
    return c;
}

void modifie_alarme(const std::string& repertoire, std::int32_t n, const EnregistrementAlarme& r) {
    auto f = ouvre_alarme(repertoire);
    // Writing past the end would leave a hole of zero records before it.
    if (n < 0 || n >= nombre_alarmes(f))
        throw ErreurES(es_fin_de_fichier);
    ecrit_alarme(f, n, r);
    ferme_alarme(f);
}

void supprime_alarme(const std::string& repertoire, std::int32_t n, EnregistrementAlarme& courante,
                     const SignaleCopie& signale) {
    std::string octets;
    std::int32_t c = 0;
    {
        auto f = ouvre_alarme_entiere(repertoire, signale);
        c = nombre_alarmes(f);
        if (n < 0 || n >= c)
            throw ErreurES(es_fin_de_fichier);
        octets.resize(static_cast<std::size_t>(c) * taille_alarme);
        f.lit_octets(0, octets.data(), octets.size());
        ferme_alarme(f);
    }
    const std::size_t debut = static_cast<std::size_t>(n) * taille_alarme;
    octets.erase(debut, taille_alarme);
    remplace_atomiquement(repertoire + nom_fichier_alarme, octets);
    if (n < c - 1)
        std::memcpy(courante.octets.data(), octets.data() + octets.size() - taille_alarme,
                    taille_alarme);
}

} // namespace quorvel
