// Every file operation of every save, change, delete, append and purge, made to
// fail in turn with each error the disk can give. Each time: the message is the
// French one, the program goes on, and every file is as it was before or
// replaced whole by what the operation writes, never cut or emptied, with the
// mode and links the user gave it and no temporary left beside it.
#include "shell/banc.hpp"
#include "commun/dialogues_test.hpp"

#include <cerrno>
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
    const auto valeur = [](const Etat& x, const std::string& nom) {
        return x.contains(nom) ? std::optional(x.at(nom)) : std::nullopt;
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
    return octets_de(a);
}

std::string alarme_octets(const std::string& heure, const std::string& texte) {
    EnregistrementAlarme r;
    r.regle_heure(heure);
    r.regle_texte(texte);
    r.regle_repete(true);
    r.regle_date("03/03/2026");
    r.regle_son("coucou.wav");
    return octets_de(r);
}

class Pannes : public ::testing::TestWithParam<Panne>, public Banc {
protected:
    Pannes() : Banc(2026, 3, 3, 10, 0) {
        pannes::desarme();
        relance();
    }
    ~Pannes() override { pannes::desarme(); }

    std::unique_ptr<Programme> p;
    // The system calls the walk made fail.
    std::set<std::string> touchees;

    // Each step of a whole-file replace failed once: the walk went through them all.
    void remplacement_parcouru() {
        if (GetParam().erreur == 0)
            return;
        for (const char* etape : {"lstat", "mkstemp", "pwrite", "fchown", "fchmod", "fsync",
                                  "close", "rename", "open dossier", "fsync dossier"})
            EXPECT_TRUE(touchees.contains(etape)) << etape;
    }

    void relance() {
        p.reset();
        p = std::make_unique<Programme>(horloge, son, dialogues, rep.chemin());
        p->form1->show();
    }
    TForm1& f() { return *p->form1; }

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
        rep.ecrit("03_03_26.PAD", nul("ancien"));
        rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
        rep.ecrit("04_03_26.PAD", nul("note du 4"));
        rep.ecrit("04_03_26.ENG", agenda_octets("ligne du 4", true));
        rep.ecrit("PAD", nul(std::string("pr\xE9") + "cieux"));
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
        while (p->etat.page.date().day() != std::chrono::day{3})
            f().corne_gaucheClick();
        ecrit_fichiers_du_jour();
        f().charge_bloc_calendrier();
        f().edit_bloc_calendrier->setPlainText(QStringLiteral("nouveau"));
        tape(f().champ[0], QStringLiteral("nouvelle ligne"));
    }
    // The alarm list read again from the files of the day.
    void liste_relue() {
        ecrit_fichiers_du_jour();
        p->alarme_horloge->affecte_liste();
    }
    // A button of the alarm list whose entry dialog is answered at once.
    void saisie(QPushButton* bouton) {
        QTimer fermeur;
        fermeur.setSingleShot(true);
        QObject::connect(&fermeur, &QTimer::timeout, [this] {
            if (!p->saisie_alarme->isVisible())
                return;
            // What the entry dialog would have stored from its fields.
            if (p->etat.alarme_courante.texte() == "deux")
                p->etat.alarme_courante.regle_texte("deux bis");
            p->saisie_alarme->accept();
        });
        fermeur.start(0);
        bouton->click();
    }

    // Walks the fault over operations 1, 2, ... of the action until it falls past
    // the last one. reprise: the try after a failure, from where the failure left
    // the program; it leaves the files named in comparees (or every one) as a run
    // without failure does. echecs_min: tries that fail at the least, for an
    // error of the disk.
    void parcourt(int echecs_min, const std::vector<std::string>& comparees,
                  const std::function<void()>& prepare, const std::function<void()>& action,
                  const std::function<void()>& reprise) {
        const Panne panne = GetParam();
        // After each try: no error but the one expected, the guards' flags
        // back, and what the user set on the files kept.
        const auto sain = [&](std::size_t erreurs) {
            EXPECT_EQ(dialogues.erreurs.size(), erreurs);
            EXPECT_TRUE(f().fichier_libre);
            EXPECT_TRUE(f().bloc_libre);
            EXPECT_EQ(reglages_perdus(), "");
        };
        prepare();
        dialogues.erreurs.clear();
        action();
        sain(0);
        const Etat sans_panne = photographie(rep);
        int echecs = 0;
        for (int n = 1; n < 2000; ++n) {
            SCOPED_TRACE(testing::Message() << "panne à l'opération " << n);
            prepare();
            const Etat avant = photographie(rep);
            dialogues.erreurs.clear();
            pannes::arme(n, panne.erreur);
            action();
            const int operations = pannes::operations();
            touchees.insert(pannes::touchee());
            pannes::desarme();
            if (dialogues.erreurs.empty()) {
                EXPECT_EQ(reglages_perdus(), "");
                // A fault that fell on an operation and was not reported would be a
                // failure taken for a success.
                if (panne.erreur != 0)
                    EXPECT_GT(n, operations) << "panne muette";
                if (n > operations)
                    break;
                continue;
            }
            ++echecs;
            sain(1);
            EXPECT_EQ(dialogues.erreurs[0],
                      (DialoguesTest::Message{QStringLiteral("Quorvel V2.32"),
                                              QString::fromUtf8(panne.message)}));
            EXPECT_EQ(abimes(photographie(rep), {&avant, &sans_panne}), "") << "abîmés";
            // The program goes on: the same request, made again, does its work.
            dialogues.erreurs.clear();
            reprise();
            sain(0);
            EXPECT_EQ(abimes(photographie(rep), {&sans_panne}, comparees), "")
                << "après la reprise";
        }
        if (panne.erreur != 0)
            EXPECT_GE(echecs, echecs_min);
    }
};

TEST_P(Pannes, QuitterSauveLaPage) {
    parcourt(
        3, {}, [&] { page_du_3_modifiee(); }, [&] { quitte(f()); },
        [&] {
            // A save that failed keeps the window open, with the text.
            EXPECT_TRUE(f().isVisible());
            EXPECT_EQ(f().edit_bloc_calendrier->toPlainText(), QStringLiteral("nouveau"));
            EXPECT_TRUE(quitte(f()));
        });
    EXPECT_EQ(rep.lit("03_03_26.PAD"), nul("nouveau"));
    EXPECT_EQ(rep.lit("03_03_26.ENG"), agenda_octets("nouvelle ligne", false));
}

TEST_P(Pannes, TournerLaPage) {
    const std::vector<std::string> comparees = {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.PAD",
                                                "04_03_26.ENG", "PAD",          "ALARME",
                                                "PAD.CFG",      "SAINT03"};
    parcourt(
        5, comparees, [&] { page_du_3_modifiee(); }, [&] { f().corne_droiteClick(); },
        [&] {
            // Whatever step failed, the next turn saves only what belongs to the
            // date shown: the 4th keeps its own texts.
            const auto jour = std::chrono::sys_days{p->etat.page.date()};
            f().corne_droiteClick();
            EXPECT_EQ(std::chrono::sys_days{p->etat.page.date()}, jour + std::chrono::days{1});
            EXPECT_TRUE(f().page_chargee());
        });
}

TEST_P(Pannes, BlocNotes) {
    const auto prepare = [&] {
        page_du_3_modifiee();
        f().blocClick();
        ecrit_fichiers_du_jour();
        f().charge_bloc_note();
        f().edit_bloc_note->setPlainText(QStringLiteral("autre"));
    };
    parcourt(
        3, {"PAD"}, prepare, [&] { f().blocClick(); },
        [&] {
            if (f().bloc_note->isVisibleTo(&f()))
                EXPECT_EQ(f().edit_bloc_note->toPlainText(), QStringLiteral("autre"));
            else // the note pad was saved; the page that failed to load is loaded again
                f().blocClick();
            f().blocClick();
            EXPECT_FALSE(f().bloc_note->isVisibleTo(&f()));
        });
    EXPECT_EQ(rep.lit("PAD"), nul("autre"));
    remplacement_parcouru();
}

// From the page to the note pad: the page is saved and the note pad read. A
// note pad that could not be read is never written back empty.
TEST_P(Pannes, OuvertureDuBlocNotes) {
    parcourt(
        5, {"PAD", "03_03_26.PAD", "03_03_26.ENG"}, [&] { page_du_3_modifiee(); },
        [&] { f().blocClick(); },
        [&] {
            if (!f().bloc_note->isVisibleTo(&f()))
                f().blocClick();
            f().blocClick();
            EXPECT_FALSE(f().bloc_note->isVisibleTo(&f()));
        });
}

TEST_P(Pannes, Cloche) {
    const auto prepare = [&] {
        page_du_3_modifiee();
        rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
        f().charge_bloc_calendrier();
    };
    parcourt(
        2, {}, prepare, [&] { f().champDblClick(2); },
        [&] {
            // The page shows what the file holds, and a second double-click does
            // what the user sees: the bell goes on.
            const bool affichee = !f().a[1]->pixmap().isNull();
            EXPECT_EQ(affichee, cloches_du_fichier(rep.chemin(), 3, 3, 2026)[1]);
            if (!affichee)
                f().champDblClick(2);
        });
    EXPECT_TRUE(cloches_du_fichier(rep.chemin(), 3, 3, 2026)[1]);
}

TEST_P(Pannes, Reglages) {
    const auto prepare = [&] {
        p->configuration->c1->setChecked(true);
        p->etat.reglages.regle_son_page(true);
        ecrit_reglages(rep.chemin(), p->etat.reglages);
        ecrit_fichiers_du_jour();
    };
    parcourt(
        2, {}, prepare, [&] { p->configuration->c1->click(); },
        [&] {
            // The box and the record say "off" whatever the disk did; writing again stores it.
            EXPECT_FALSE(p->etat.reglages.son_page());
            p->configuration->sauve();
        });
    EXPECT_EQ(rep.lit("PAD.CFG")[238], 0);
}

TEST_P(Pannes, AjoutDAlarme) {
    parcourt(
        2, {}, [&] { liste_relue(); }, [&] { saisie(p->alarme_horloge->creer1); },
        [&] {
            // Added once, whether the failure came before or after the record was written.
            ecrit_fichiers_du_jour();
            saisie(p->alarme_horloge->creer1);
        });
    EXPECT_EQ(rep.taille("ALARME"), 4 * 283);
    EXPECT_EQ(p->alarme_horloge->liste->count(), 4);
}

TEST_P(Pannes, ModificationDAlarme) {
    const auto modifie_la_deuxieme = [&] {
        p->alarme_horloge->liste->setCurrentRow(1);
        saisie(p->alarme_horloge->modifier1);
    };
    parcourt(
        2, {}, [&] { liste_relue(); }, modifie_la_deuxieme,
        [&] {
            p->alarme_horloge->affecte_liste();
            modifie_la_deuxieme();
        });
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("08:00", "deux bis") +
                                     alarme_octets("09:00", "trois"));
}

TEST_P(Pannes, SuppressionDAlarme) {
    const auto supprime_la_deuxieme = [&] {
        p->alarme_horloge->liste->setCurrentRow(1);
        dialogues.reponses = {true};
        p->alarme_horloge->supprimer1->click();
    };
    parcourt(
        3, {}, [&] { liste_relue(); }, supprime_la_deuxieme,
        [&] {
            // Deleted once: the list is read again from the file before the retry.
            liste_relue();
            supprime_la_deuxieme();
        });
    EXPECT_EQ(rep.lit("ALARME"), alarme_octets("07:00", "un") + alarme_octets("09:00", "trois"));
    remplacement_parcouru();
}

// Start-up reads the settings, purges the day files from 179 to 5 days back
// (both ends included), finds the saint and loads today's page: a failure
// anywhere is reported, the window comes up usable, and nothing outside the
// purge is touched.
TEST_P(Pannes, Demarrage) {
    std::vector<std::string> a_purger,
        comparees = {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.ENG", "PAD",
                     "ALARME",       "PAD.CFG",      "27_02_26.PAD", "04_09_25.PAD"};
    for (const auto& [j, m, a] : {std::tuple{26, 2, 26}, std::tuple{1, 2, 26},
                                  std::tuple{15, 10, 25}, std::tuple{5, 9, 25}})
        for (const std::string& nom : {fichier_note_jour(j, m, a), fichier_agenda_jour(j, m, a)}) {
            a_purger.push_back(nom);
            comparees.push_back(nom);
        }
    const auto prepare = [&] {
        p.reset();
        ecrit_fichiers_du_jour();
        for (const std::string& nom : a_purger)
            rep.ecrit(nom, nom.ends_with(".ENG") ? agenda_octets("vieux", true) : nul("vieux"));
        // Outside the purge: four days back and 180 days back.
        rep.ecrit("27_02_26.PAD", nul("garde"));
        rep.ecrit("04_09_25.PAD", nul("garde aussi"));
    };
    parcourt(
        8, comparees, prepare, [&] { relance(); },
        [&] {
            // The page came up usable: quitting saves it.
            EXPECT_TRUE(quitte(f()));
            relance();
            EXPECT_TRUE(f().page_chargee());
        });
    for (const std::string& nom : a_purger)
        EXPECT_FALSE(rep.existe(nom)) << nom;
    for (const char* nom : {"27_02_26.PAD", "04_09_25.PAD", "PAD"})
        EXPECT_TRUE(rep.existe(nom)) << nom;
}

INSTANTIATE_TEST_SUITE_P(Erreurs, Pannes, ::testing::ValuesIn(toutes_les_pannes),
                         [](const ::testing::TestParamInfo<Panne>& i) { return i.param.nom; });

} // namespace
