#include "son_qt.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace quorvel {

LecteurSonQt::LecteurSonQt() = default;

LecteurSonQt::~LecteurSonQt() = default;

void LecteurSonQt::joue(const std::string& chemin) {
    const QString fichier = QString::fromStdString(chemin);
    // The sound system is started by the first sound, not at start-up.
    if (!effet_) {
        effet_ = std::make_unique<QSoundEffect>();
        QObject::connect(effet_.get(), &QSoundEffect::statusChanged, effet_.get(),
                         [e = effet_.get()] {
                             if (e->status() == QSoundEffect::Error) QApplication::beep();
                         });
    }
    effet_->stop();
    if (!QFileInfo(fichier).isFile()) {
        QApplication::beep();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath());
    if (effet_->source() == source && effet_->status() == QSoundEffect::Ready) {
        effet_->play();
        return;
    }
    effet_->setSource(source);
    effet_->play(); // plays as soon as it is loaded
}

} // namespace quorvel
