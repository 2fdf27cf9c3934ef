#pragma once
// Shared by the fuzz targets: one scratch data directory per process, files
// written and read with plain streams (never through the layer under test), and
// a check that stops the run with a readable reason.
#include "plateforme/horloge.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorvel::fuzz {

[[noreturn]] inline void echec(const char* condition, const char* fichier, int ligne) {
    std::fprintf(stderr, "%s:%d: invariant rompu : %s\n", fichier, ligne, condition);
    std::abort();
}

#define VERIFIE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::quorvel::fuzz::echec(#condition, __FILE__, __LINE__);                                \
    } while (0)

// Ends with '/'. In memory when the system offers it, since every save is
// flushed to disk; removed when the process ends normally.
inline const std::string& repertoire() {
    static const std::string chemin = [] {
        std::string modele = std::filesystem::is_directory("/dev/shm")
                                 ? "/dev/shm/quorvel-fuzz-XXXXXX"
                                 : "/tmp/quorvel-fuzz-XXXXXX";
        if (!mkdtemp(modele.data()))
            std::abort();
        std::string r = std::string(modele) + "/";
        static const std::string a_effacer = r;
        std::atexit([] {
            std::error_code ignoree;
            std::filesystem::remove_all(a_effacer, ignoree);
        });
        return r;
    }();
    return chemin;
}

inline std::string octets(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

inline void ecrit(const std::string& nom, const std::string& contenu) {
    std::ofstream f(repertoire() + nom, std::ios::binary | std::ios::trunc);
    f.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
    if (!f)
        std::abort();
}

inline std::string lit(const std::string& nom) {
    std::ifstream f(repertoire() + nom, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline bool existe(const std::string& nom) {
    return std::filesystem::exists(repertoire() + nom);
}

inline void efface(const std::string& nom) {
    std::error_code ignoree;
    std::filesystem::remove(repertoire() + nom, ignoree);
}

// A fixed day, so that runs repeat: Saturday 14 February 2026.
inline const HorlogeReglable& horloge() {
    static const HorlogeReglable h(2026, 2, 14, 10, 30);
    return h;
}

} // namespace quorvel::fuzz
