#pragma once
// A fresh data directory per test, removed afterwards.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quorvel::test {

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
    std::string lit(const std::string& nom) const; // whole file, bytes
    void ecrit(const std::string& nom, const std::string& octets) const;
    long long taille(const std::string& nom) const;     // -1 when missing
    std::vector<std::string> fichiers() const;          // names, sorted
    std::map<std::string, std::string> contenu() const; // every file's bytes, by name

private:
    std::string chemin_;
};

} // namespace quorvel::test
