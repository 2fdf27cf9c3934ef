#include "repertoire_temp.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string RepertoireTemp::lit(const std::string& nom) const {
    std::ifstream f(chemin_ + nom, std::ios::binary);
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

std::map<std::string, std::string> RepertoireTemp::contenu() const {
    std::map<std::string, std::string> octets;
    for (const std::string& nom : fichiers())
        octets[nom] = lit(nom);
    return octets;
}

} // namespace quorvel::test
