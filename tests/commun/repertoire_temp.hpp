#pragma once
// A fresh data directory per test, removed afterwards.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace quorvel::test {

// Every file's bytes, by name.
using Fichiers = std::map<std::string, std::string>;

class RepertoireTemp {
public:
    RepertoireTemp();
    ~RepertoireTemp();
    RepertoireTemp(const RepertoireTemp&) = delete;
    RepertoireTemp& operator=(const RepertoireTemp&) = delete;
    // Path ending with '/'.
    const std::string& chemin() const { return chemin_; }
    std::string fichier(const std::string& nom) const { return chemin_ + nom; }
    bool existe(const std::string& nom) const;
    std::string lit(const std::string& nom) const { return lit_chemin(chemin_ + nom); }
    static std::string lit_chemin(const std::string& chemin); // whole file, bytes
    void ecrit(const std::string& nom, const std::string& octets) const;
    long long taille(const std::string& nom) const; // -1 when missing
    std::vector<std::string> fichiers() const;      // names, sorted
    Fichiers contenu() const;

private:
    std::string chemin_;
};

// The files (those named, or every one) whose bytes, or absence, in `e` match
// none of the states allowed; their names, for a short report.
std::string abimes(const Fichiers& e, std::initializer_list<const Fichiers*> permis,
                   const std::vector<std::string>& noms = {});

} // namespace quorvel::test
