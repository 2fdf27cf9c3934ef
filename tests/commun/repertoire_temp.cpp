#include "repertoire_temp.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quorvel::test {

RepertoireTemp::RepertoireTemp() {
    std::string modele = (fs::temp_directory_path() / "quorvel-test-XXXXXX").string();
    if (!::mkdtemp(modele.data()))
        throw std::runtime_error("mkdtemp");
    chemin_ = modele + "/";
}

RepertoireTemp::~RepertoireTemp() {
    std::error_code ec;
    fs::permissions(chemin_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(chemin_, ec);
}

bool RepertoireTemp::existe(const std::string& nom) const {
    return fs::exists(chemin_ + nom);
}

std::string RepertoireTemp::lit_chemin(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void RepertoireTemp::ecrit(const std::string& nom, const std::string& octets) const {
    std::ofstream f(chemin_ + nom, std::ios::binary | std::ios::trunc);
    f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

long long RepertoireTemp::taille(const std::string& nom) const {
    std::error_code ec;
    const auto t = fs::file_size(chemin_ + nom, ec);
    return ec ? -1 : static_cast<long long>(t);
}

std::vector<std::string> RepertoireTemp::fichiers() const {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(chemin_))
        noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
}

Fichiers RepertoireTemp::contenu() const {
    Fichiers octets;
    for (const std::string& nom : fichiers())
        octets[nom] = lit(nom);
    return octets;
}

std::string abimes(const Fichiers& e, std::initializer_list<const Fichiers*> permis,
                   const std::vector<std::string>& noms) {
    std::set<std::string> tous(noms.begin(), noms.end());
    if (noms.empty())
        for (const Fichiers* x : permis)
            for (const Fichiers* y : {x, &e})
                for (const auto& [nom, octets] : *y)
                    tous.insert(nom);
    const auto valeur = [](const Fichiers& x, const std::string& nom) {
        return x.contains(nom) ? std::optional(x.at(nom)) : std::nullopt;
    };
    std::string resultat;
    for (const std::string& nom : tous)
        if (std::none_of(permis.begin(), permis.end(),
                         [&](const Fichiers* x) { return valeur(*x, nom) == valeur(e, nom); }))
            resultat += nom + " ";
    return resultat;
}

} // namespace quorvel::test
