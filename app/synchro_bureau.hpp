#pragma once
// The open desk's calendar synchronisation: a run soon after start, every five
// minutes, two seconds after a day page was saved, and when asked (the page's
// mark, a later "quorvel --synchronise"). The network is on a thread of its
// own; only the reading and writing of the day files comes to the window's
// thread, between two of its saves. Nothing is loaded while the data folder
// has no account.
#include "app/module_ical.hpp"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace quorvel {

class Horloge;

class SynchroBureau : public QObject {
public:
    // What the desk lends: TForm1::passe_fichiers and TForm1::montre_synchro.
    struct Page {
        std::function<bool(const std::function<std::vector<Jour>()>&)> passe_fichiers;
        std::function<void(const QString& panne, bool en_cours)> montre;
        // Asks the user for the account's password; nothing when cancelled.
        std::function<std::optional<std::string>(const QString& invite)> demande_mot_de_passe;
    };
    using Fin = std::function<void(const ical::IssueSynchro&)>;

    static constexpr int periode_ms = 5 * 60 * 1000, apres_sauvegarde_ms = 2000, premiere_ms = 3000,
                         page_occupee_ms = 5000;

    // `dossier`: the data folder, as the desk names it.
    SynchroBureau(Page page, const Horloge& horloge, std::string dossier,
                  QObject* parent = nullptr);
    // Stops the run under way: its requests are cut, the day files are not
    // touched any more. Waits for it a moment, not for a slow server.
    ~SynchroBureau() override;

    // The first run soon, then every five minutes.
    void demarre();
    // A day page was written: a run two seconds later.
    void apres_sauvegarde();
    // A run now, or right after the one under way. `mot_de_passe`: instead
    // of the Secret Service's, kept for the runs after unless the server
    // refuses it. `fin` is told how it went. Asked by the user after a run
    // that lacked the password, the password is asked first.
    void lance(std::string mot_de_passe = {}, Fin fin = {}, bool par_l_utilisateur = false);

private:
    struct Partage;
    void commence();
    void finie(const ical::IssueSynchro& issue, bool page_occupee);

    Page page_;
    const Horloge& horloge_;
    std::string dossier_;
    QTimer periode_, apres_sauvegarde_;
    SynchroniseBureau entree_ = nullptr;
    QThread* fil_ = nullptr;
    bool encore_ = false; // asked again while a run was under way
    bool par_l_utilisateur_ = false;
    std::vector<Fin> fins_;
    std::string mot_de_passe_;       // the account's, once the Secret Service gave it
    std::string mot_de_passe_donne_; // for the next run
    std::string invite_;             // the last run lacked the password: how to ask it
    std::shared_ptr<Partage> partage_;
    std::shared_ptr<std::atomic<bool>> arret_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace quorvel
