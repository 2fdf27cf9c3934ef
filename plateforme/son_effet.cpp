// The sound module: WAV playback with Qt Multimedia. It lives in its own
// shared object so that Qt Multimedia, PulseAudio and the codecs they pull in
// are loaded by the first sound, not at every start of the program.
#include "son.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace {

// One effect, so a new sound replaces the one playing. Missing or unplayable
// files beep instead.
class LecteurSonEffet final : public quorvel::LecteurSon {
public:
    LecteurSonEffet() {
        QObject::connect(&effet_, &QSoundEffect::statusChanged, &effet_, [this] {
            if (effet_.status() == QSoundEffect::Error)
                QApplication::beep();
        });
    }

    void joue(const std::string& chemin) override {
        const QString fichier = QString::fromStdString(chemin);
        effet_.stop();
        if (!QFileInfo(fichier).isFile()) {
            QApplication::beep();
            return;
        }
        const QUrl source = QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath());
        if (effet_.source() == source && effet_.status() == QSoundEffect::Ready) {
            effet_.play();
            return;
        }
        effet_.setSource(source);
        effet_.play(); // plays as soon as it is loaded
    }

private:
    QSoundEffect effet_;
};

} // namespace

extern "C" Q_DECL_EXPORT quorvel::LecteurSon* quorvel_son_cree() {
    return new LecteurSonEffet;
}
