// Program entry: the splash, every window made once, the event loop until the
// main window closes. The data directory is the current directory.
#include "menu/aide.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/son_qt.hpp"
#include "shell/form1.hpp"
#include "shell/programme.hpp"
#include "shell/splash.hpp"

#include <QApplication>
#include <QDir>

#include <fontconfig/fontconfig.h>
#include <thread>

int main(int argc, char** argv) {
    using namespace quorvel;
    // The font configuration (some fifty XML files) is read at the first letter
    // drawn, the splash's title. Read it on another core while Qt connects to
    // the display.
    std::thread polices([] { FcInit(); });
    QApplication application(argc, argv);
    polices.join();
    const QString titre = QStringLiteral("Quorvel V2.32");
    QApplication::setApplicationName(QStringLiteral("quorvel"));
    QApplication::setWindowIcon(image_ressource(QStringLiteral("icone")));

    auto* splash = new TSplashForm(titre);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    HorlogeSysteme horloge;
    LecteurSonQt son;
    DialoguesQt dialogues;
    dialogues.regle_aide(&ouvre_aide);
    Programme programme(horloge, son, dialogues, QDir::currentPath().toStdString());

    splash->hide();
    delete splash;
    programme.form1->show();
    return application.exec();
}
