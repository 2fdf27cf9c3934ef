#include "reglages.hpp"

#include "plateforme/cp1252.hpp"
#include "plateforme/fichier.hpp"

#include <QString>
#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

constexpr const char* nom_fichier = "PAD.CFG";

// The fields of the record, as (offset, size): a short file keeps those it holds whole.
constexpr std::pair<std::size_t, std::size_t> champs[] = {
    {0, 43},  {43, 4},   {47, 2},  {49, 2},  {51, 41},  {92, 4},  {96, 2},
    {98, 2},  {100, 41}, {141, 4}, {145, 4}, {149, 4},  {153, 4}, {157, 4},
    {161, 4}, {165, 4},  {169, 4}, {173, 4}, {177, 61}, {238, 1}, {239, 2}};

std::uint32_t lit32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void ecrit32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::uint32_t Reglages::couleur(CouleurReglee c) const {
    return lit32(&octets[static_cast<std::size_t>(c)]);
}

void Reglages::regle_couleur(CouleurReglee c, std::uint32_t valeur) {
    ecrit32(&octets[static_cast<std::size_t>(c)], valeur);
}

std::int16_t Reglages::entier16(std::size_t o) const {
    return static_cast<std::int16_t>(octets[o] | (octets[o + 1] << 8));
}

void Reglages::regle_entier16(std::size_t o, std::int16_t v) {
    octets[o] = static_cast<std::uint8_t>(v & 0xFF);
    octets[o + 1] = static_cast<std::uint8_t>((static_cast<std::uint16_t>(v) >> 8) & 0xFF);
}

std::string Reglages::chaine(std::size_t o, std::size_t max) const {
    // A length byte beyond the field is read as the whole field, never past it.
    const std::size_t n = std::min<std::size_t>(octets[o], max);
    return std::string(reinterpret_cast<const char*>(&octets[o + 1]), n);
}

void Reglages::regle_chaine(std::size_t o, std::size_t max, const std::string& s) {
    const std::size_t n = std::min(s.size(), max);
    octets[o] = static_cast<std::uint8_t>(n);
    std::memcpy(&octets[o + 1], s.data(), n);
}

PoliceReglee Reglages::police(std::size_t o) const {
    return {lit32(&octets[o]), entier16(o + 4), entier16(o + 6), chaine(o + 8, 40)};
}

void Reglages::regle_police(std::size_t o, const PoliceReglee& p) {
    ecrit32(&octets[o], p.couleur);
    regle_entier16(o + 4, p.style);
    regle_entier16(o + 6, p.taille);
    regle_chaine(o + 8, 40, p.nom);
}

bool Reglages::regle_son_alarme(const std::string& chemin) {
    if (chemin.size() > 60)
        return false;
    regle_chaine(177, 60, chemin);
    return true;
}

std::string son_par_defaut(const std::string& repertoire) {
    const QString chemin = QString::fromStdString(repertoire + "coucou.wav");
    const std::string complet = vers_cp1252(chemin);
    // A path Windows-1252 cannot hold as it is, or one that does not fit, is replaced
    // by the bare name: the data directory is the current directory, so it still
    // names the file.
    if (complet.size() > 60 || depuis_cp1252(complet) != chemin)
        return "coucou.wav";
    return complet;
}

void config_defaut(Reglages& r, const std::string& repertoire) {
    r.octets.fill(0);
    r.regle_police_calendrier({0, 1, 8, "Times New Roman"});
    r.regle_police_bloc_notes({0, 1, 12, "Times New Roman"});
    r.regle_couleur(CouleurReglee::mois, 0);
    r.regle_couleur(CouleurReglee::jour, 0x800000);
    r.regle_couleur(CouleurReglee::saint, 0x808000);
    r.regle_couleur(CouleurReglee::semaine, 0);
    r.regle_couleur(CouleurReglee::horaires, 0);
    r.regle_couleur(CouleurReglee::actions, 0);
    r.regle_couleur(CouleurReglee::action_courante, 0x0000FF);
    r.regle_couleur(CouleurReglee::fond_date, 0x0000FF);
    r.regle_couleur(CouleurReglee::aiguilles, 0);
    r.regle_son_alarme(son_par_defaut(repertoire));
    r.regle_son_page(true);
    r.regle_video(1);
}

void lit_reglages(const std::string& repertoire, Reglages& r) {
    const std::string chemin = repertoire + nom_fichier;
    r.fichier_lu = false;
    auto f = FichierEnregistrements::ouvre(chemin, taille_reglages);
    if (!f) {
        config_defaut(r, repertoire);
        auto nouveau = FichierEnregistrements::cree(chemin, taille_reglages);
        nouveau.ecrit(0, r.octets.data());
        nouveau.ferme();
        r.fichier_lu = true;
        return;
    }
    const std::int64_t taille = f->taille_octets();
    if (taille >= static_cast<std::int64_t>(taille_reglages)) {
        f->lit(0, r.octets.data());
        f->ferme();
        r.fichier_lu = true;
        return;
    }
    // A cut file: the defaults, overlaid with every field the file holds whole.
    std::array<std::uint8_t, taille_reglages> lus{};
    if (taille > 0)
        f->lit_octets(0, lus.data(), static_cast<std::size_t>(taille));
    f->ferme();
    config_defaut(r, repertoire);
    for (const auto& [debut, longueur] : champs)
        if (debut + longueur <= static_cast<std::size_t>(taille))
            std::memcpy(&r.octets[debut], &lus[debut], longueur);
}

void ecrit_reglages(const std::string& repertoire, Reglages& r, const SignaleCopie& signale) {
    const std::string chemin = repertoire + nom_fichier;
    auto f = FichierEnregistrements::ouvre(chemin, taille_reglages);
    // What start-up could not read whole is kept aside before it is written over.
    if (f && (!r.fichier_lu || f->taille_octets() < static_cast<std::int64_t>(taille_reglages))) {
        f->ferme();
        garde_illisible(chemin, signale);
        r.fichier_lu = true;
        f = FichierEnregistrements::ouvre(chemin, taille_reglages);
    }
    // A file that has gone is made again with the settings in memory, not the defaults.
    FichierEnregistrements fichier =
        f ? std::move(*f) : FichierEnregistrements::cree(chemin, taille_reglages);
    fichier.ecrit(0, r.octets.data());
    fichier.ferme();
}

} // namespace quorvel
