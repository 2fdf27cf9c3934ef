#pragma once
#include "son.hpp"

#include <memory>

class QSoundEffect;

namespace quorvel {

// Asynchronous WAV playback with Qt Multimedia; one effect, so a new sound
// replaces the one playing. Missing or unplayable files beep instead.
class LecteurSonQt final : public LecteurSon {
public:
    LecteurSonQt();
    ~LecteurSonQt() override;
    void joue(const std::string& chemin) override;

private:
    std::unique_ptr<QSoundEffect> effet_;
};

} // namespace quorvel
