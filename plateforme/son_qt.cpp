#include "son_qt.hpp"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace quorvel {

namespace {

using Fabrique = LecteurSon* (*)();

QStringList dossiers_par_defaut() {
    const QString ici = QCoreApplication::applicationDirPath();
    return {ici, QDir(ici).filePath(QStringLiteral("../lib/quorvel"))};
}

} // namespace

std::unique_ptr<LecteurSon> charge_module_son(const QStringList& dossiers) {
    for (const QString& dossier : dossiers) {
        const QString chemin = QDir(dossier).filePath(QStringLiteral("libquorvel_son.so"));
        if (!QFileInfo::exists(chemin))
            continue;
        // Never unloaded: the player it made lives until the program ends.
        QLibrary module(chemin);
        if (!module.load())
            continue;
        if (auto fabrique = reinterpret_cast<Fabrique>(module.resolve("quorvel_son_cree")))
            return std::unique_ptr<LecteurSon>(fabrique());
    }
    return nullptr;
}

LecteurSonQt::LecteurSonQt(QStringList dossiers) : dossiers_(std::move(dossiers)) {}

LecteurSonQt::~LecteurSonQt() = default;

void LecteurSonQt::joue(const std::string& chemin) {
    // The sound system is started by the first sound, not at start-up.
    if (!essaye_) {
        essaye_ = true;
        lecteur_ = charge_module_son(dossiers_.isEmpty() ? dossiers_par_defaut() : dossiers_);
    }
    if (lecteur_)
        lecteur_->joue(chemin);
    else
        QApplication::beep();
}

} // namespace quorvel
