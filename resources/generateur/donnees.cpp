#include "donnees.hpp"

#include "plateforme/cp1252.hpp"

#include <QString>
#include <sstream>
#include <stdexcept>

namespace quorvel::generateur {
namespace {

constexpr int longueur_mois_max[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::size_t taille_enregistrement = 37;
constexpr std::size_t nom_max = 29;

std::string deux_chiffres(int n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

} // namespace

std::vector<SaintSource> lit_source_saints(const std::string& texte) {
    std::vector<SaintSource> saints;
    std::istringstream flux(texte);
    std::string ligne;
    int numero = 0;
    while (std::getline(flux, ligne)) {
        ++numero;
        if (!ligne.empty() && ligne.back() == '\r')
            ligne.pop_back();
        if (ligne.empty() || ligne[0] == '#')
            continue;
        auto chiffre = [&](std::size_t i) {
            return i < ligne.size() && ligne[i] >= '0' && ligne[i] <= '9';
        };
        if (ligne.size() < 7 || !chiffre(0) || !chiffre(1) || ligne[2] != '/' || !chiffre(3) ||
            !chiffre(4) || ligne[5] != ' ')
            throw std::runtime_error("saints, ligne " + std::to_string(numero) +
                                     " : « JJ/MM Nom » attendu");
        saints.push_back({(ligne[0] - '0') * 10 + (ligne[1] - '0'),
                          (ligne[3] - '0') * 10 + (ligne[4] - '0'), ligne.substr(6)});
    }
    return saints;
}

std::vector<std::string> fichiers_saints(const std::vector<SaintSource>& saints) {
    std::vector<std::string> fichiers(12);
    std::size_t k = 0;
    for (int mois = 1; mois <= 12; ++mois)
        for (int jour = 1; jour <= longueur_mois_max[mois - 1]; ++jour, ++k) {
            const std::string quand = deux_chiffres(jour) + "/" + deux_chiffres(mois);
            if (k >= saints.size() || saints[k].jour != jour || saints[k].mois != mois)
                throw std::runtime_error("saints : le " + quand +
                                         " manque ou n'est pas à sa place");
            const QString nom = QString::fromUtf8(saints[k].nom).trimmed();
            const std::string octets = vers_cp1252(nom);
            if (nom.isEmpty() || octets.size() > nom_max || octets.find('?') != std::string::npos)
                throw std::runtime_error("saints : nom du " + quand +
                                         " vide, trop long ou hors Windows-1252");
            std::string enregistrement(taille_enregistrement, '\0');
            enregistrement.replace(0, quand.size(), quand);
            enregistrement.replace(6, octets.size(), octets);
            fichiers[mois - 1] += enregistrement;
        }
    if (k != saints.size())
        throw std::runtime_error("saints : lignes en trop après le 31/12");
    return fichiers;
}

} // namespace quorvel::generateur
