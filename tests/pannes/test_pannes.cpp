// Every file operation of every save, change, delete, append and purge, made to
// fail in turn with each error the disk can give. Each time: the message is the
// French one, the program goes on, and every file is as it was before or
// replaced whole by what the operation writes, never cut or emptied.
#include "alarms/alarme.hpp"
#include "alarms/alarme_horloge.hpp"
#include "alarms/saisie_alarme.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/horloge.hpp"
#include "plateforme/son.hpp"
#include "settings/configuration.hpp"
#include "shell/fichiers_jour.hpp"
#include "shell/form1.hpp"
#include "shell/programme.hpp"
#include "shell/zone_texte.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct Panne {
    int erreur;
    const char* nom;
    const char* message;
};

void PrintTo(const Panne& p, std::ostream* os) {
    *os << p.nom;
}

const Panne toutes_les_pannes[] = {
    {ENOSPC, "DisquePlein", "Disque plein."},
    {EACCES, "AccesRefuse", "Accès au fichier refusé."},
    {EMFILE, "TropDeFichiers", "Trop de fichiers ouverts."},
    {0, "LectureCourte", "Lecture au delà de la fin de fichier."},
};

// Name -> bytes of every file of the data directory; a missing file has no entry.
using Etat = std::map<std::string, std::string>;

Etat photographie(const RepertoireTemp& rep) {
    Etat e;
    for (const std::string& nom : rep.fichiers())
        e[nom] = rep.lit(nom);
    return e;
}

// Names of the files that differ, for a short report.
std::string differences(const Etat& a, const Etat& b) {
    std::string noms;
    for (const Etat* e : {&a, &b})
        for (const auto& [nom, octets] : *e) {
            const auto x = a.find(nom), y = b.find(nom);
            if ((x == a.end()) != (y == b.end()) || (x != a.end() && x->second != y->second))
                if (noms.find(nom + " ") == std::string::npos)
                    noms += nom + " ";
        }
    return noms;
}

std::string agenda_octets(const std::string& creneau1, bool cloche2) {
    EnregistrementAgenda a;
    a.regle_texte(1, creneau1);
    a.regle_texte(13, "Fin de journ\xE9"
                      "e");
    a.regle_cloche(2, cloche2);
    a.regle_cloche(13, true);
    return std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size());
}

std::string alarme_octets(const std::string& heure, const std::string& texte) {
    EnregistrementAlarme r;
    r.regle_heure(heure);
    r.regle_texte(texte);
    r.regle_repete(true);
    r.regle_date("03/03/2026");
    r.regle_son("coucou.wav");
    return std::string(reinterpret_cast<const char*>(r.octets.data()), r.octets.size());
}

class Pannes : public ::testing::TestWithParam<Panne> {
protected:
    RepertoireTemp rep;
    HorlogeReglable horloge{2026, 3, 3, 10, 0};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    std::unique_ptr<Programme> p;
    int operation = 0; // the one that fails in the try under way, for the reports
    // Closes the alarm entry dialog as soon as it is shown.
    QTimer fermeur;

    void SetUp() override {
        pannes::desarme();
        demarre();
        fermeur.setSingleShot(true);
        fermeur.setInterval(0);
        QObject::connect(&fermeur, &QTimer::timeout, [this] {
            if (!p || !p->saisie_alarme->isVisible())
                return;
            // What the entry dialog would have stored from its fields.
            if (p->etat.alarme_courante.texte() == "deux")
                p->etat.alarme_courante.regle_texte("deux bis");
            p->saisie_alarme->accept();
        });
    }
    void TearDown() override { pannes::desarme(); }

    void demarre() {
        p.reset();
        p = std::make_unique<Programme>(horloge, son, dialogues, rep.chemin());
        p->form1->show();
    }
    TForm1& f() { return *p->form1; }

    // What the user has on disk before each try.
    void ecrit_fichiers_du_jour() {
        rep.ecrit("03_03_26.PAD", std::string("ancien") + '\0');
        rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
        rep.ecrit("04_03_26.PAD", std::string("note du 4") + '\0');
        rep.ecrit("04_03_26.ENG", agenda_octets("ligne du 4", true));
        rep.ecrit("PAD", std::string("pr\xE9"
                                     "cieux") +
                             '\0');
        rep.ecrit("ALARME", alarme_octets("07:00", "un") + alarme_octets("08:00", "deux") +
                                alarme_octets("09:00", "trois"));
    }
    // The page of the 3rd in front, loaded, with new text typed on it.
    void page_du_3_modifiee() {
        if (!f().isVisible())
            f().show();
        if (f().bloc_note->isVisibleTo(&f()))
            f().blocClick();
        while (f().jour_courant != 3)
            f().corne_gaucheClick();
        ecrit_fichiers_du_jour();
        f().charge_bloc_calendrier();
        f().edit_bloc_calendrier->setPlainText(QStringLiteral("nouveau"));
        f().champ[0]->setText(QStringLiteral("nouvelle ligne"));
        f().champ[0]->setModified(true);
        dialogues.erreurs.clear();
    }

    struct Scenario {
        std::function<void()> prepare;
        std::function<void()> action;
        // The try after a failure, from where the failure left the program.
        std::function<void()> reprise;
        // The files after that try; by default those of a run without failure.
        std::function<void(const Etat& sans_panne)> verifie_reprise;
    };

    void verifie_drapeaux(int n) {
        EXPECT_TRUE(f().fichier_libre) << n;
        EXPECT_TRUE(f().bloc_libre) << n;
    }

    // Walks the fault over operations 1, 2, ... of the action until it falls past
    // the last one. Returns the number of tries that failed.
    int parcourt(const Scenario& s) {
        const Panne panne = GetParam();
        s.prepare();
        s.action();
        EXPECT_TRUE(dialogues.erreurs.empty()) << "sans panne";
        const Etat sans_panne = photographie(rep);
        int echecs = 0;
        for (int n = 1; n < 2000; ++n) {
            s.prepare();
            const Etat avant = photographie(rep);
            dialogues.erreurs.clear();
            operation = n;
            pannes::arme(n, panne.erreur);
            s.action();
            const int operations = pannes::operations();
            pannes::desarme();
            if (dialogues.erreurs.empty()) {
                // A fault that fell on an operation and was not reported would be a
                // failure taken for a success.
                if (panne.erreur != 0)
                    EXPECT_GT(n, operations) << "panne muette à l'opération " << n;
                if (n > operations)
                    break;
                continue;
            }
            ++echecs;
            EXPECT_EQ(dialogues.erreurs.size(), 1u) << n;
            EXPECT_EQ(dialogues.erreurs[0].titre, QStringLiteral("Quorvel V2.32")) << n;
            EXPECT_EQ(dialogues.erreurs[0].texte, QString::fromUtf8(panne.message)) << n;
            verifie_drapeaux(n);
            const Etat apres = photographie(rep);
            std::map<std::string, int> noms;
            for (const Etat* e : {&avant, &sans_panne, &apres})
                for (const auto& [nom, octets] : *e)
                    noms[nom] = 0;
            for (const auto& [nom, zero] : noms) {
                const auto valeur = [&](const Etat& e) -> std::optional<std::string> {
                    const auto it = e.find(nom);
                    if (it == e.end())
                        return std::nullopt;
                    return it->second;
                };
                const auto maintenant = valeur(apres);
                EXPECT_TRUE(maintenant == valeur(avant) || maintenant == valeur(sans_panne))
                    << nom << " abîmé par la panne à l'opération " << n;
            }
            // The program goes on: the same request, made again, does its work.
            dialogues.erreurs.clear();
            s.reprise();
            EXPECT_TRUE(dialogues.erreurs.empty()) << "reprise après l'opération " << n;
            verifie_drapeaux(n);
            if (s.verifie_reprise)
                s.verifie_reprise(sans_panne);
            else
                EXPECT_EQ(differences(photographie(rep), sans_panne), "")
                    << "reprise après l'opération " << n;
        }
        return echecs;
    }
};

TEST_P(Pannes, QuitterSauveLaPage) {
    const int echecs = parcourt({
        [&] {
            page_du_3_modifiee();
            dialogues.reponses = {true};
        },
        [&] {
            dialogues.reponses = {true};
            f().close();
        },
        [&] {
            // A save that failed keeps the window open, with the text.
            EXPECT_TRUE(f().isVisible());
            EXPECT_EQ(f().edit_bloc_calendrier->toPlainText(), QStringLiteral("nouveau"));
            dialogues.reponses = {true};
            EXPECT_TRUE(f().close());
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 3);
    EXPECT_EQ(rep.lit("03_03_26.PAD"), std::string("nouveau") + '\0');
    const std::string eng = rep.lit("03_03_26.ENG");
    EXPECT_TRUE(eng == agenda_octets("nouvelle ligne", false));
}

TEST_P(Pannes, TournerLaPage) {
    const int echecs = parcourt({
        [&] { page_du_3_modifiee(); },
        [&] { f().corne_droiteClick(); },
        [&] {
            // Whatever step failed, the next turn saves only what belongs to the
            // date shown: the 4th keeps its own texts.
            const int jour = f().jour_courant;
            f().corne_droiteClick();
            EXPECT_EQ(f().jour_courant, jour + 1);
            EXPECT_TRUE(f().page_chargee());
        },
        [&](const Etat& sans_panne) {
            for (const char* nom : {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.PAD", "04_03_26.ENG",
                                    "PAD", "ALARME", "PAD.CFG", "SAINT03"})
                EXPECT_TRUE(rep.lit(nom) == sans_panne.at(nom))
                    << nom << " après la panne à l'opération " << operation << " : "
                    << rep.lit(nom).substr(0, 20);
        },
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 5);
}

TEST_P(Pannes, BlocNotes) {
    const int echecs = parcourt({
        [&] {
            page_du_3_modifiee();
            f().blocClick();
            ecrit_fichiers_du_jour();
            f().charge_bloc_note();
            f().edit_bloc_note->setPlainText(QStringLiteral("autre"));
            dialogues.erreurs.clear();
        },
        [&] { f().blocClick(); },
        [&] {
            if (f().bloc_note->isVisibleTo(&f())) {
                EXPECT_EQ(f().edit_bloc_note->toPlainText(), QStringLiteral("autre"));
                f().blocClick();
            } else {
                // The note pad was saved; the page that failed to load is loaded again.
                f().blocClick();
                f().blocClick();
            }
            EXPECT_FALSE(f().bloc_note->isVisibleTo(&f()));
        },
        [&](const Etat&) { EXPECT_EQ(rep.lit("PAD"), std::string("autre") + '\0'); },
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 3);
}

// From the page to the note pad: the page is saved and the note pad read. A
// note pad that could not be read is never written back empty.
TEST_P(Pannes, OuvertureDuBlocNotes) {
    const int echecs = parcourt({
        [&] { page_du_3_modifiee(); },
        [&] { f().blocClick(); },
        [&] {
            if (!f().bloc_note->isVisibleTo(&f()))
                f().blocClick();
            f().blocClick();
            EXPECT_FALSE(f().bloc_note->isVisibleTo(&f()));
        },
        [&](const Etat& sans_panne) {
            for (const char* nom : {"PAD", "03_03_26.PAD", "03_03_26.ENG"})
                EXPECT_TRUE(rep.lit(nom) == sans_panne.at(nom))
                    << nom << " après la panne à l'opération " << operation << " : "
                    << rep.lit(nom).substr(0, 20);
        },
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 5);
}

TEST_P(Pannes, Cloche) {
    const int echecs = parcourt({
        [&] {
            page_du_3_modifiee();
            rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
            f().charge_bloc_calendrier();
            dialogues.erreurs.clear();
        },
        [&] { f().champDblClick(2); },
        [&] {
            // The page shows what the file holds, and a second double-click does
            // what the user sees: the bell goes on.
            const bool affichee = !f().a[1]->pixmap().isNull();
            EXPECT_EQ(affichee, cloches_du_fichier(rep.chemin(), 3, 3, 2026)[1]) << operation;
            if (!affichee)
                f().champDblClick(2);
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 2);
    EXPECT_TRUE(cloches_du_fichier(rep.chemin(), 3, 3, 2026)[1]);
}

TEST_P(Pannes, Reglages) {
    const int echecs = parcourt({
        [&] {
            p->configuration->c1->setChecked(true);
            p->etat.reglages.regle_son_page(true);
            ecrit_reglages(rep.chemin(), p->etat.reglages);
            ecrit_fichiers_du_jour();
            dialogues.erreurs.clear();
        },
        [&] { p->configuration->c1->click(); },
        [&] {
            // The box and the record say "off" whatever the disk did; writing again stores it.
            EXPECT_FALSE(p->etat.reglages.son_page());
            p->configuration->sauve();
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 2);
    EXPECT_EQ(static_cast<unsigned char>(rep.lit("PAD.CFG")[238]), 0);
}

TEST_P(Pannes, AjoutDAlarme) {
    const int echecs = parcourt({
        [&] {
            ecrit_fichiers_du_jour();
            p->alarme_horloge->affecte_liste();
            dialogues.erreurs.clear();
        },
        [&] {
            fermeur.start();
            p->alarme_horloge->creer1->click();
            fermeur.stop();
        },
        [&] {
            // Added once, whether the failure came before or after the record was written.
            ecrit_fichiers_du_jour();
            fermeur.start();
            p->alarme_horloge->creer1->click();
            fermeur.stop();
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 2);
    EXPECT_EQ(rep.taille("ALARME"), 4 * 283);
    EXPECT_EQ(p->alarme_horloge->liste->count(), 4);
}

TEST_P(Pannes, ModificationDAlarme) {
    const int echecs = parcourt({
        [&] {
            ecrit_fichiers_du_jour();
            p->alarme_horloge->affecte_liste();
            p->alarme_horloge->liste->setCurrentRow(1);
            dialogues.erreurs.clear();
        },
        [&] {
            p->alarme_horloge->liste->setCurrentRow(1);
            fermeur.start();
            p->alarme_horloge->modifier1->click();
            fermeur.stop();
        },
        [&] {
            p->alarme_horloge->affecte_liste();
            p->alarme_horloge->liste->setCurrentRow(1);
            fermeur.start();
            p->alarme_horloge->modifier1->click();
            fermeur.stop();
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 2);
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("08:00", "deux bis") +
                                     alarme_octets("09:00", "trois"));
}

TEST_P(Pannes, SuppressionDAlarme) {
    const int echecs = parcourt({
        [&] {
            ecrit_fichiers_du_jour();
            p->alarme_horloge->affecte_liste();
            dialogues.erreurs.clear();
        },
        [&] {
            p->alarme_horloge->liste->setCurrentRow(1);
            dialogues.reponses = {true};
            p->alarme_horloge->supprimer1->click();
        },
        [&] {
            // Deleted once: the list is read again from the file before the retry.
            ecrit_fichiers_du_jour();
            p->alarme_horloge->affecte_liste();
            p->alarme_horloge->liste->setCurrentRow(1);
            dialogues.reponses = {true};
            p->alarme_horloge->supprimer1->click();
        },
        {},
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 3);
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("09:00", "trois"));
}

// Start-up reads the settings, purges the day files from 179 to 5 days back,
// finds the saint and loads today's page: a failure anywhere is reported, the
// window comes up usable, and nothing outside the purge is touched.
TEST_P(Pannes, Demarrage) {
    const auto fichiers_a_purger = [] {
        std::vector<std::string> noms;
        for (const auto& [j, m, a] : {std::tuple{26, 2, 26}, std::tuple{1, 2, 26},
                                      std::tuple{15, 10, 25}, std::tuple{6, 9, 25}}) {
            noms.push_back(fichier_note_jour(j, m, a));
            noms.push_back(fichier_agenda_jour(j, m, a));
        }
        return noms;
    }();
    const int echecs = parcourt({
        [&] {
            p.reset();
            ecrit_fichiers_du_jour();
            for (const std::string& nom : fichiers_a_purger)
                rep.ecrit(nom, nom.ends_with(".ENG") ? agenda_octets("vieux", true)
                                                     : std::string("vieux") + '\0');
            // Outside the purge: four days back and 180 days back.
            rep.ecrit("27_02_26.PAD", std::string("garde") + '\0');
            rep.ecrit("04_09_25.PAD", std::string("garde aussi") + '\0');
            dialogues.erreurs.clear();
        },
        [&] { demarre(); },
        [&] {
            // The page came up usable: quitting saves it.
            dialogues.reponses = {true};
            EXPECT_TRUE(f().close());
            demarre();
            EXPECT_TRUE(f().page_chargee());
        },
        [&](const Etat& sans_panne) {
            for (const std::string& nom : fichiers_a_purger)
                EXPECT_FALSE(rep.existe(nom)) << nom;
            for (const char* nom : {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.ENG", "PAD", "ALARME",
                                    "PAD.CFG", "27_02_26.PAD", "04_09_25.PAD"})
                EXPECT_TRUE(rep.lit(nom) == sans_panne.at(nom))
                    << nom << " après la panne à l'opération " << operation << " : "
                    << rep.lit(nom).substr(0, 20);
        },
    });
    if (GetParam().erreur != 0)
        EXPECT_GE(echecs, 8);
}

INSTANTIATE_TEST_SUITE_P(Erreurs, Pannes, ::testing::ValuesIn(toutes_les_pannes),
                         [](const ::testing::TestParamInfo<Panne>& i) { return i.param.nom; });

} // namespace
