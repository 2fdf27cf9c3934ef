#pragma once
// WAV playback. play() returns at once; a new sound replaces the one playing;
// a missing or unplayable file gives the platform's default sound, never an error.
#include <string>
#include <vector>

namespace quorvel {

class LecteurSon {
public:
    virtual ~LecteurSon() = default;
    // chemin: a path in the file system's own encoding (UTF-8).
    virtual void joue(const std::string& chemin) = 0;
};

// Test double: remembers every path it was asked to play.
class LecteurSonEnregistreur final : public LecteurSon {
public:
    void joue(const std::string& chemin) override { appels.push_back(chemin); }
    std::vector<std::string> appels;
};

} // namespace quorvel
