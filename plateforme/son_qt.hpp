#pragma once
#include "son.hpp"

#include <QString>
#include <QStringList>

#include <memory>

namespace quorvel {

// Asynchronous WAV playback. The player itself is in the sound module
// (libquorvel_son.so), loaded by the first sound; if the module cannot be
// loaded every sound is the desktop's beep.
class LecteurSonQt final : public LecteurSon {
public:
    // dossiers: where to look for the module, in order; empty means next to
    // the executable, then in ../lib/quorvel from it.
    explicit LecteurSonQt(QStringList dossiers = {});
    ~LecteurSonQt() override;
    void joue(const std::string& chemin) override;

    // Whether the module has been loaded (only known after the first sound).
    bool module_charge() const { return lecteur_ != nullptr; }

private:
    QStringList dossiers_;
    bool essaye_ = false;
    std::unique_ptr<LecteurSon> lecteur_;
};

// Loads the sound module from the first of these folders that has it and
// makes a player; nullptr if none has a usable one.
std::unique_ptr<LecteurSon> charge_module_son(const QStringList& dossiers);

} // namespace quorvel
