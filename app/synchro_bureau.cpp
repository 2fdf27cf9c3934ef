#include "synchro_bureau.hpp"

#include "ical/compte_caldav.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/horloge.hpp"

#include <QThread>

#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>

namespace quorvel {

namespace {

using namespace std::chrono_literals;

// One passage of the day files through the window's thread. The run's thread
// waits for it, and gives up when the desk stops it; the window then finds it
// abandoned and does nothing.
struct RendezVous {
    std::mutex verrou;
    bool abandonne = false;
    std::promise<void> fait;
};

} // namespace

// What a run's thread and the window's share. The thread posts to the window
// only while `vivant`: the desk, ending, says so under the lock.
struct SynchroBureau::Partage {
    std::mutex verrou;
    bool vivant = true;
    std::atomic<bool> page_occupee{false};
};

SynchroBureau::SynchroBureau(Page page, const Horloge& horloge, std::string dossier,
                             QObject* parent)
    : QObject(parent), page_(std::move(page)), horloge_(horloge), dossier_(std::move(dossier)) {
    periode_.setInterval(periode_ms);
    connect(&periode_, &QTimer::timeout, this, [this] { lance(); });
    apres_sauvegarde_.setSingleShot(true);
    apres_sauvegarde_.setInterval(apres_sauvegarde_ms);
    connect(&apres_sauvegarde_, &QTimer::timeout, this, [this] { lance(); });
}

SynchroBureau::~SynchroBureau() {
    arret_->store(true);
    if (!fil_)
        return;
    {
        std::lock_guard l(partage_->verrou);
        partage_->vivant = false;
    }
    // A run cut short ends within a few tenths of a second; one held up
    // elsewhere (the Secret Service asking for its password) is left to end
    // with the program.
    if (fil_->wait(3000))
        delete fil_;
}

void SynchroBureau::demarre() {
    QTimer::singleShot(premiere_ms, this, [this] { lance(); });
    periode_.start();
}

void SynchroBureau::apres_sauvegarde() {
    apres_sauvegarde_.start();
}

void SynchroBureau::lance(std::string mot_de_passe, Fin fin, bool par_l_utilisateur) {
    if (par_l_utilisateur && mot_de_passe.empty() && !invite_.empty() && !fil_ &&
        page_.demande_mot_de_passe) {
        std::optional<std::string> donne =
            page_.demande_mot_de_passe(QString::fromStdString(invite_));
        if (!donne)
            return;
        mot_de_passe = std::move(*donne);
    }
    if (!mot_de_passe.empty())
        mot_de_passe_donne_ = std::move(mot_de_passe);
    if (fin)
        fins_.push_back(std::move(fin));
    par_l_utilisateur_ = par_l_utilisateur_ || par_l_utilisateur;
    if (fil_) {
        encore_ = true;
        return;
    }
    commence();
}

void SynchroBureau::commence() {
    encore_ = false;
    std::error_code e;
    const bool compte =
        std::filesystem::exists(std::filesystem::path(dossier_) / caldav::fichier_compte, e);
    // Without an account the desk loads nothing; only a run asked for hears why.
    if (!compte && fins_.empty() && !par_l_utilisateur_) {
        page_.montre({}, false);
        return;
    }
    if (!entree_) {
        std::string erreur;
        entree_ = entree_synchro_du_bureau(erreur);
        if (!entree_) {
            finie({ical::IssueSynchro::Etat::echec,
                   "Synchronisation impossible\u00a0: " + erreur + ".",
                   {}},
                  false);
            return;
        }
    }
    if (par_l_utilisateur_)
        page_.montre({}, true);

    auto demande = std::make_shared<ical::SynchroDuBureau>();
    demande->dossier = dossier_;
    demande->aujourdhui = date_de(horloge_.maintenant());
    demande->mot_de_passe =
        mot_de_passe_donne_.empty() ? mot_de_passe_ : std::exchange(mot_de_passe_donne_, {});
    demande->arret = arret_.get();
    auto partage = partage_ = std::make_shared<Partage>();
    auto arret = arret_;
    demande->passage = [this, partage, arret](const std::function<std::vector<Jour>()>& travail) {
        auto rdv = std::make_shared<RendezVous>();
        {
            std::lock_guard l(partage->verrou);
            if (!partage->vivant)
                throw ErreurQuorvel("le bureau se ferme");
            QMetaObject::invokeMethod(
                this,
                [this, rdv, partage, &travail] {
                    std::lock_guard l(rdv->verrou);
                    if (rdv->abandonne)
                        return;
                    try {
                        if (!page_.passe_fichiers(travail)) {
                            partage->page_occupee = true;
                            throw ErreurQuorvel("la page est en cours d'enregistrement");
                        }
                        rdv->fait.set_value();
                    } catch (...) {
                        rdv->fait.set_exception(std::current_exception());
                    }
                },
                Qt::QueuedConnection);
        }
        std::future<void> fait = rdv->fait.get_future();
        while (fait.wait_for(50ms) != std::future_status::ready) {
            if (!arret->load())
                continue;
            std::lock_guard l(rdv->verrou);
            if (fait.wait_for(0s) == std::future_status::ready)
                break;
            rdv->abandonne = true;
            throw ErreurQuorvel("le bureau se ferme");
        }
        fait.get();
    };
    const SynchroniseBureau entree = entree_;
    // The thread holds what it uses: it may outlive the desk by a moment.
    fil_ = QThread::create([this, entree, demande, partage, arret] {
        const ical::IssueSynchro issue = entree(*demande);
        std::lock_guard l(partage->verrou);
        if (!partage->vivant)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, issue, demande, partage] {
                // Kept for the runs after, the one a command gave too, unless
                // the server refused it.
                mot_de_passe_ = demande->mot_de_passe;
                finie(issue, partage->page_occupee);
            },
            Qt::QueuedConnection);
    });
    fil_->start();
}

void SynchroBureau::finie(const ical::IssueSynchro& issue, bool page_occupee) {
    if (fil_) {
        fil_->wait();
        delete fil_;
        fil_ = nullptr;
    }
    if (page_occupee) {
        // Nothing was done: again in a moment, for whoever waits.
        QTimer::singleShot(page_occupee_ms, this, [this] { lance(); });
        return;
    }
    par_l_utilisateur_ = false;
    invite_ = issue.invite;
    page_.montre(issue.etat == ical::IssueSynchro::Etat::echec ? QString::fromStdString(issue.texte)
                                                               : QString(),
                 false);
    for (const Fin& fin : std::exchange(fins_, {}))
        fin(issue);
    if (encore_)
        commence();
}

} // namespace quorvel
