// Program entry: the splash, every window made once, the event loop until the
// main window closes. The data directory is the current directory, or the one
// of --donnees, made current before anything else.
#include "app/fin_de_session.hpp"
#include "app/instance_unique.hpp"
#include "app/ligne_de_commande.hpp"
#include "app/module_ical.hpp"
#include "app/synchro_bureau.hpp"
#include "menu/aide.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/notifications_dbus.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/son_qt.hpp"
#include "plateforme/version.hpp"
#include "shell/form1.hpp"
#include "shell/programme.hpp"
#include "shell/splash.hpp"

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fontconfig/fontconfig.h>
#include <memory>
#include <ostream>
#include <streambuf>
#include <thread>
#include <unistd.h>

namespace {

// The standard outputs without <iostream>: its set-up of the standard streams
// and their locale runs before main and maps half a megabyte of the C++
// library into every start of the desk. Only the calendar commands need
// streams; these write through stdio, as std::cout and std::cerr do.
class TamponStdio : public std::streambuf {
public:
    explicit TamponStdio(std::FILE* f) : f_(f) {}

protected:
    int_type overflow(int_type c) override {
        return traits_type::eq_int_type(c, traits_type::eof()) ? traits_type::not_eof(c)
                                                               : std::fputc(c, f_);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        return static_cast<std::streamsize>(std::fwrite(s, 1, static_cast<std::size_t>(n), f_));
    }
    int sync() override { return std::fflush(f_); }

private:
    std::FILE* f_;
};

void ecrit(std::FILE* f, const std::string& texte) {
    std::fwrite(texte.data(), 1, texte.size(), f);
}

// "quorvel --synchronise" while the desk is open on the folder: the desk runs
// it, and says how it went.
int synchronise_par_le_bureau(const quorvel::InstanceUnique& bureau, bool mot_de_passe_stdin) {
    const std::string mot_de_passe =
        mot_de_passe_stdin ? quorvel::lit_jusqu_a_la_fin(STDIN_FILENO) : "";
    // The first run of a year of pages may take minutes on a slow server.
    const std::optional<std::string> reponse =
        bureau.demande_synchronisation(mot_de_passe, std::chrono::minutes(30));
    if (!reponse || reponse->empty() || (reponse->front() != '0' && reponse->front() != '1')) {
        ecrit(stderr, "Synchronisation refusée\u00a0: Quorvel est ouvert sur ce dossier de données "
                      "mais ne répond pas.\n");
        return 1;
    }
    const bool faite = reponse->front() == '0';
    ecrit(faite ? stdout : stderr, reponse->substr(1) + "\n");
    return faite ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace quorvel;
    const LigneDeCommande ligne = lit_ligne_de_commande({argv, argv + argc});
    const char* execution = std::getenv("XDG_RUNTIME_DIR");
    switch (ligne.action) {
    case LigneDeCommande::Action::aide:
    case LigneDeCommande::Action::version:
        ecrit(stdout, ligne.message);
        return 0;
    case LigneDeCommande::Action::erreur:
        ecrit(stderr, ligne.message);
        return 2;
    case LigneDeCommande::Action::ical: {
        // The calendar commands run and end here, before any window is made.
        // The import and the synchronisation hold the folder from the program
        // until they end; the synchronisation asks the open desk to run it.
        std::optional<InstanceUnique> import;
        const ical::EstOuvert est_ouvert = [&import, execution](const std::string& dossier) {
            if (!import)
                import.emplace(dossier, execution ? execution : "");
            return import->etat() == InstanceUnique::Etat::deja_ouverte;
        };
        if (ligne.commande.genre == ical::CommandeIcal::Genre::synchronise &&
            est_ouvert(ligne.commande.dossier))
            return synchronise_par_le_bureau(*import, ligne.commande.mot_de_passe_stdin);
        TamponStdio tampon_sortie(stdout);
        TamponStdio tampon_erreurs(stderr);
        std::ostream sortie(&tampon_sortie);
        std::ostream erreurs(&tampon_erreurs);
        return execute_ical(ligne.commande, sortie, erreurs, HorlogeSysteme(), est_ouvert);
    }
    case LigneDeCommande::Action::bureau:
        break;
    }
    // As if the desk were started there: the lock, the files and the messages
    // all name the current folder.
    if (!ligne.dossier.empty() && chdir(ligne.dossier.c_str()) != 0) {
        const int erreur = errno;
        ecrit(stderr,
              "quorvel\u00a0: le dossier de données «\u00a0" + ligne.dossier +
                  (erreur == ENOENT || erreur == ENOTDIR ? "\u00a0» n'existe pas.\n"
                                                         : "\u00a0» ne peut pas être ouvert.\n") +
                  "Essayez «\u00a0quorvel --aide\u00a0».\n");
        return 2;
    }
    const QString titre = QStringLiteral(QUORVEL_TITRE);
    // Decided before any window or file is made: a second program on these
    // files would write over what the first one saves.
    InstanceUnique instance(".", execution ? execution : "");
    if (instance.etat() == InstanceUnique::Etat::deja_ouverte) {
        if (instance.demande_premier_plan(std::chrono::seconds(3)))
            return 0;
        QApplication application(argc, argv);
        DialoguesQt().erreur(nullptr, titre,
                             QStringLiteral("Quorvel est déjà ouvert sur ce dossier de "
                                            "données\u00a0:\n%1")
                                 .arg(QDir::toNativeSeparators(QDir::currentPath())));
        return 1;
    }

    // The font configuration (some fifty XML files) is read at the first letter
    // drawn, the splash's title. Read it on another core while Qt connects to
    // the display.
    std::thread polices([] { FcInit(); });
    QApplication application(argc, argv);
    polices.join();
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
    // The folder's own bytes, which a QString would not keep when they are not UTF-8.
    std::error_code sans_dossier;
    const std::filesystem::path ici = std::filesystem::current_path(sans_dossier);
    NotificateurDBus notificateur(image_ressource(QStringLiteral("icone")).toImage());
    Programme programme(horloge, son, dialogues, sans_dossier ? "." : ici.string(), &notificateur);

    TForm1& form1 = *programme.form1;
    SynchroBureau synchro(
        {[&form1](const auto& travail) { return form1.passe_fichiers(travail); },
         [&form1](const QString& panne, bool en_cours) { form1.montre_synchro(panne, en_cours); },
         [&form1, &dialogues, &titre](const QString& invite) -> std::optional<std::string> {
             if (const std::optional<QString> mot =
                     dialogues.demande_mot_de_passe(&form1, titre, invite))
                 return mot->toStdString();
             return std::nullopt;
         }},
        horloge, sans_dossier ? "." : ici.string());
    form1.relie_synchro([&synchro] { synchro.apres_sauvegarde(); },
                        [&synchro] { synchro.lance({}, {}, true); });

    // A later start on this folder brings the desk forward, with the dialog
    // open over it if there is one, or has it synchronise.
    if (instance.prise() >= 0) {
        auto* demandes = new QSocketNotifier(instance.prise(), QSocketNotifier::Read, &application);
        QObject::connect(demandes, &QSocketNotifier::activated, [&instance, &form1, &synchro] {
            instance.repond([&form1, &synchro](const InstanceUnique::Requete& requete,
                                               InstanceUnique::Reponse reponse) {
                if (requete.genre == InstanceUnique::Requete::Genre::synchronise) {
                    auto attend = std::make_shared<InstanceUnique::Reponse>(std::move(reponse));
                    synchro.lance(requete.mot_de_passe, [attend](const ical::IssueSynchro& issue) {
                        attend->envoie((issue.etat == ical::IssueSynchro::Etat::faite ? "0" : "1") +
                                       issue.texte);
                    });
                    return;
                }
                form1.showNormal();
                form1.raise();
                form1.activateWindow();
                if (QWidget* dialogue = QApplication::activeModalWidget()) {
                    dialogue->raise();
                    dialogue->activateWindow();
                }
                reponse.envoie("Q");
            });
        });
    }

    // The end of the desktop session saves the page in front as "OK" on the quit
    // question does, without asking and without a box that would hold the
    // log-out; after a signal the program then ends, saved or not, and says on
    // its standard error where the text is.
    const auto sauve = [&programme] {
        std::string message;
        const bool sauvee = programme.form1->sauve_en_fin_de_session(message);
        ecrit(stderr, message);
        return sauvee;
    };
    TFinDeSession fin_de_session([&sauve] { QCoreApplication::exit(sauve() ? 0 : 1); },
                                 [&sauve] { sauve(); });

    splash->hide();
    delete splash;
    form1.show();
    synchro.demarre();
    return application.exec();
}
