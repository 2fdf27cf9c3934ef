// Every file operation of every save, change, delete, append and purge, made to
// fail in turn with each error the disk can give. Each time: the message is the
// French one, the program goes on, and every file is as it was before or
// replaced whole by what the operation writes, never cut or emptied, with the
// mode and links the user gave it and no temporary left beside it.
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
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>

using namespace quorvel;
using namespace quorvel::test;
namespace fs = std::filesystem;

namespace {

struct Panne {
    int erreur;
    const char* nom;
    const char* message;
};

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

// The files (those named, or every one) whose bytes, or absence, in `e` match
// none of the states allowed; their names, for a short report.
std::string abimes(const Etat& e, std::initializer_list<const Etat*> permis,
                   const std::vector<std::string>& noms = {}) {
    std::set<std::string> tous(noms.begin(), noms.end());
    if (noms.empty())
        for (const Etat* x : permis)
            for (const Etat* y : {x, &e})
                for (const auto& [nom, octets] : *y)
                    tous.insert(nom);
    const auto valeur = [](const Etat& x, const std::string& nom) -> std::optional<std::string> {
        const auto it = x.find(nom);
        return it == x.end() ? std::nullopt : std::optional(it->second);
    };
    std::string resultat;
    for (const std::string& nom : tous)
        if (std::none_of(permis.begin(), permis.end(),
                         [&](const Etat* x) { return valeur(*x, nom) == valeur(e, nom); }))
            resultat += nom + " ";
    return resultat;
}

std::string agenda_octets(const std::string& creneau1, bool cloche2) {
    EnregistrementAgenda a;
    a.regle_texte(1, creneau1);
    a.regle_texte(13, std::string("Fin de journ\xE9") + 'e');
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
    // The system calls the walk made fail.
    std::set<std::string> touchees;
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

    // Each step of a whole-file replace failed once: the walk went through them all.
    void remplacement_parcouru() {
        if (GetParam().erreur == 0)
            return;
        for (const char* etape : {"lstat", "mkstemp", "pwrite", "fchown", "fchmod", "fsync",
                                  "close", "rename", "open dossier", "fsync dossier"})
            EXPECT_TRUE(touchees.contains(etape)) << etape;
    }

    void demarre() {
        p.reset();
        p = std::make_unique<Programme>(horloge, son, dialogues, rep.chemin());
        p->form1->show();
    }
    TForm1& f() { return *p->form1; }
    bool quitte() {
        dialogues.reponses = {true};
        return f().close();
    }

    // What the user set and no save may undo: the note pad private, the alarm
    // file a link to where it is kept; and no temporary left about.
    std::string reglages_perdus() const {
        std::string perdus;
        const fs::path pad = rep.fichier("PAD");
        if (fs::exists(pad) &&
            fs::status(pad).permissions() != (fs::perms::owner_read | fs::perms::owner_write))
            perdus += "PAD n'est plus privé ; ";
        if (fs::exists(rep.fichier("alarmes.dat")) && !fs::is_symlink(rep.fichier("ALARME")))
            perdus += "ALARME n'est plus un lien ; ";
        for (const std::string& nom : rep.fichiers())
            if (nom.find(".quorvel-") != std::string::npos)
                perdus += nom + " laissé ; ";
        return perdus;
    }

    // What the user has on disk before each try.
    void ecrit_fichiers_du_jour() {
        rep.ecrit("03_03_26.PAD", std::string("ancien") + '\0');
        rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
        rep.ecrit("04_03_26.PAD", std::string("note du 4") + '\0');
        rep.ecrit("04_03_26.ENG", agenda_octets("ligne du 4", true));
        rep.ecrit("PAD", std::string("pr\xE9") + "cieux" + '\0');
        fs::permissions(rep.fichier("PAD"), fs::perms::owner_read | fs::perms::owner_write);
        if (!fs::is_symlink(rep.fichier("ALARME"))) {
            fs::remove(rep.fichier("ALARME"));
            fs::create_symlink("alarmes.dat", rep.fichier("ALARME"));
        }
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
    }
    // The alarm list read again from the files of the day.
    void liste_relue() {
        ecrit_fichiers_du_jour();
        p->alarme_horloge->affecte_liste();
    }
    // A button of the alarm list whose entry dialog is answered at once.
    void saisie(QPushButton* bouton) {
        fermeur.start();
        bouton->click();
        fermeur.stop();
    }
    void supprime_la_deuxieme() {
        p->alarme_horloge->liste->setCurrentRow(1);
        dialogues.reponses = {true};
        p->alarme_horloge->supprimer1->click();
    }

    struct Scenario {
        std::function<void()> prepare;
        std::function<void()> action;
        // The try after a failure, from where the failure left the program.
        std::function<void()> reprise;
        // The files that try leaves as a run without failure does: those named, or every one.
        std::vector<std::string> comparees;
        int echecs_min; // tries that fail at the least, for an error of the disk
    };

    // Walks the fault over operations 1, 2, ... of the action until it falls past
    // the last one.
    void parcourt(const Scenario& s) {
        const Panne panne = GetParam();
        const auto drapeaux_libres = [&](int n) {
            EXPECT_TRUE(f().fichier_libre) << n;
            EXPECT_TRUE(f().bloc_libre) << n;
        };
        s.prepare();
        dialogues.erreurs.clear();
        s.action();
        EXPECT_TRUE(dialogues.erreurs.empty()) << "sans panne";
        EXPECT_EQ(reglages_perdus(), "") << "sans panne";
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
            touchees.insert(pannes::touchee());
            pannes::desarme();
            EXPECT_EQ(reglages_perdus(), "") << "panne à l'opération " << n;
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
            drapeaux_libres(n);
            EXPECT_EQ(abimes(photographie(rep), {&avant, &sans_panne}), "")
                << "abîmés par la panne à l'opération " << n;
            // The program goes on: the same request, made again, does its work.
            dialogues.erreurs.clear();
            s.reprise();
            EXPECT_TRUE(dialogues.erreurs.empty()) << "reprise après l'opération " << n;
            drapeaux_libres(n);
            EXPECT_EQ(abimes(photographie(rep), {&sans_panne}, s.comparees), "")
                << "reprise après l'opération " << n;
            EXPECT_EQ(reglages_perdus(), "") << "reprise après l'opération " << n;
        }
        if (panne.erreur != 0)
            EXPECT_GE(echecs, s.echecs_min);
    }
};

TEST_P(Pannes, QuitterSauveLaPage) {
    parcourt({[&] { page_du_3_modifiee(); },
              [&] { quitte(); },
              [&] {
                  // A save that failed keeps the window open, with the text.
                  EXPECT_TRUE(f().isVisible());
                  EXPECT_EQ(f().edit_bloc_calendrier->toPlainText(), QStringLiteral("nouveau"));
                  EXPECT_TRUE(quitte());
              },
              {},
              3});
    EXPECT_EQ(rep.lit("03_03_26.PAD"), std::string("nouveau") + '\0');
    EXPECT_EQ(rep.lit("03_03_26.ENG"), agenda_octets("nouvelle ligne", false));
}

TEST_P(Pannes, TournerLaPage) {
    parcourt({[&] { page_du_3_modifiee(); },
              [&] { f().corne_droiteClick(); },
              [&] {
                  // Whatever step failed, the next turn saves only what belongs to the
                  // date shown: the 4th keeps its own texts.
                  const int jour = f().jour_courant;
                  f().corne_droiteClick();
                  EXPECT_EQ(f().jour_courant, jour + 1);
                  EXPECT_TRUE(f().page_chargee());
              },
              {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.PAD", "04_03_26.ENG", "PAD", "ALARME",
               "PAD.CFG", "SAINT03"},
              5});
}

TEST_P(Pannes, BlocNotes) {
    parcourt({[&] {
                  page_du_3_modifiee();
                  f().blocClick();
                  ecrit_fichiers_du_jour();
                  f().charge_bloc_note();
                  f().edit_bloc_note->setPlainText(QStringLiteral("autre"));
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
              {"PAD"},
              3});
    EXPECT_EQ(rep.lit("PAD"), std::string("autre") + '\0');
    remplacement_parcouru();
}

// From the page to the note pad: the page is saved and the note pad read. A
// note pad that could not be read is never written back empty.
TEST_P(Pannes, OuvertureDuBlocNotes) {
    parcourt({[&] { page_du_3_modifiee(); },
              [&] { f().blocClick(); },
              [&] {
                  if (!f().bloc_note->isVisibleTo(&f()))
                      f().blocClick();
                  f().blocClick();
                  EXPECT_FALSE(f().bloc_note->isVisibleTo(&f()));
              },
              {"PAD", "03_03_26.PAD", "03_03_26.ENG"},
              5});
}

TEST_P(Pannes, Cloche) {
    parcourt({[&] {
                  page_du_3_modifiee();
                  rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
                  f().charge_bloc_calendrier();
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
              2});
    EXPECT_TRUE(cloches_du_fichier(rep.chemin(), 3, 3, 2026)[1]);
}

TEST_P(Pannes, Reglages) {
    parcourt({[&] {
                  p->configuration->c1->setChecked(true);
                  p->etat.reglages.regle_son_page(true);
                  ecrit_reglages(rep.chemin(), p->etat.reglages);
                  ecrit_fichiers_du_jour();
              },
              [&] { p->configuration->c1->click(); },
              [&] {
                  // The box and the record say "off" whatever the disk did; writing again stores it.
                  EXPECT_FALSE(p->etat.reglages.son_page());
                  p->configuration->sauve();
              },
              {},
              2});
    EXPECT_EQ(static_cast<unsigned char>(rep.lit("PAD.CFG")[238]), 0);
}

TEST_P(Pannes, AjoutDAlarme) {
    parcourt({[&] { liste_relue(); },
              [&] { saisie(p->alarme_horloge->creer1); },
              [&] {
                  // Added once, whether the failure came before or after the record was written.
                  ecrit_fichiers_du_jour();
                  saisie(p->alarme_horloge->creer1);
              },
              {},
              2});
    EXPECT_EQ(rep.taille("ALARME"), 4 * 283);
    EXPECT_EQ(p->alarme_horloge->liste->count(), 4);
}

TEST_P(Pannes, ModificationDAlarme) {
    const auto modifie_la_deuxieme = [&] {
        p->alarme_horloge->liste->setCurrentRow(1);
        saisie(p->alarme_horloge->modifier1);
    };
    parcourt({[&] {
                  liste_relue();
                  p->alarme_horloge->liste->setCurrentRow(1);
              },
              modifie_la_deuxieme,
              [&] {
                  p->alarme_horloge->affecte_liste();
                  modifie_la_deuxieme();
              },
              {},
              2});
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("08:00", "deux bis") +
                                     alarme_octets("09:00", "trois"));
}

TEST_P(Pannes, SuppressionDAlarme) {
    parcourt({[&] { liste_relue(); },
              [&] { supprime_la_deuxieme(); },
              [&] {
                  // Deleted once: the list is read again from the file before the retry.
                  liste_relue();
                  supprime_la_deuxieme();
              },
              {},
              3});
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("09:00", "trois"));
    remplacement_parcouru();
}

// Start-up reads the settings, purges the day files from 179 to 5 days back,
// finds the saint and loads today's page: a failure anywhere is reported, the
// window comes up usable, and nothing outside the purge is touched.
TEST_P(Pannes, Demarrage) {
    std::vector<std::string> a_purger;
    for (const auto& [j, m, a] : {std::tuple{26, 2, 26}, std::tuple{1, 2, 26},
                                  std::tuple{15, 10, 25}, std::tuple{6, 9, 25}}) {
        a_purger.push_back(fichier_note_jour(j, m, a));
        a_purger.push_back(fichier_agenda_jour(j, m, a));
    }
    std::vector<std::string> comparees = {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.ENG", "PAD",
                                          "ALARME",       "PAD.CFG",      "27_02_26.PAD",
                                          "04_09_25.PAD"};
    comparees.insert(comparees.end(), a_purger.begin(), a_purger.end());
    parcourt({[&] {
                  p.reset();
                  ecrit_fichiers_du_jour();
                  for (const std::string& nom : a_purger)
                      rep.ecrit(nom, nom.ends_with(".ENG") ? agenda_octets("vieux", true)
                                                           : std::string("vieux") + '\0');
                  // Outside the purge: four days back and 180 days back.
                  rep.ecrit("27_02_26.PAD", std::string("garde") + '\0');
                  rep.ecrit("04_09_25.PAD", std::string("garde aussi") + '\0');
              },
              [&] { demarre(); },
              [&] {
                  // The page came up usable: quitting saves it.
                  EXPECT_TRUE(quitte());
                  demarre();
                  EXPECT_TRUE(f().page_chargee());
              },
              comparees,
              8});
    for (const std::string& nom : a_purger)
        EXPECT_FALSE(rep.existe(nom)) << nom;
}

INSTANTIATE_TEST_SUITE_P(Erreurs, Pannes, ::testing::ValuesIn(toutes_les_pannes),
                         [](const ::testing::TestParamInfo<Panne>& i) { return i.param.nom; });

} // namespace
