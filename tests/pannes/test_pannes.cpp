// Every file operation of every save, change, delete, append and purge, made to
// fail in turn with each error the disk can give. Each time: the message is the
// French one, the program goes on, and every file is as it was before or
// replaced whole by what the operation writes, never cut or emptied, with the
// mode and links the user gave it and no temporary left beside it.
#include "shell/banc.hpp"

#include <fstream>
#include <sys/mount.h>

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

std::string agenda_octets(const std::string& creneau1, bool cloche2) {
    return cloche2 ? agenda({{1, creneau1},
                             {13, "Fin de journ\xE9"
                                  "e"}},
                            {2, 13})
                   : agenda({{1, creneau1},
                             {13, "Fin de journ\xE9"
                                  "e"}},
                            {13});
}
std::string alarmes_octets(const char* texte_2) {
    return octets_de({alarme("07:00", "un"), alarme("08:00", texte_2), alarme("09:00", "trois")});
}

// The question after a failed save, when the rescue file could be written.
QString question_secours(const std::string& chemin) {
    return QStringLiteral("La page n'a pas pu être enregistrée. Votre texte est gardé dans %1. "
                          "Quitter quand même\u00A0?")
        .arg(QString::fromStdString(chemin));
}

// The day files of the dates the start-up purges (from 179 to 5 days back).
const std::vector<std::string> purgees = [] {
    std::vector<std::string> v;
    for (const auto& [j, m, a] : {std::tuple{26, 2, 26}, std::tuple{1, 2, 26},
                                  std::tuple{15, 10, 25}, std::tuple{5, 9, 25}})
        v.insert(v.end(),
                 {fichier_note_jour(jour_du(j, m, a)), fichier_agenda_jour(jour_du(j, m, a))});
    return v;
}();

class Pannes;
// One action walked: the tries that fail at the least for an error of the
// disk; the files compared after the retry (every one when none named); the
// state set before each try; the action; the retry, from where a failure left
// the program, which leaves the compared files as a run without failure does;
// the files the last run leaves, and more checks of it; whether every step of
// a whole-file replace failed once.
struct Action {
    const char* nom;
    int echecs_min;
    std::vector<std::string> comparees;
    std::function<void(Pannes&)> prepare, action, reprise;
    Fichiers attendus = {};
    std::function<void(Pannes&)> fin = {};
    bool remplacement = false;
};

class Pannes : public ::testing::TestWithParam<std::tuple<Panne, Action>>, public Banc {
public:
    Pannes() : Banc(2026, 3, 3, 10, 0) {
        pannes::desarme();
        relance();
    }
    ~Pannes() override { pannes::desarme(); }

    std::unique_ptr<Programme> p;
    std::set<std::string> touchees; // the system calls the walk made fail

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
        ecrit({{"03_03_26.PAD", nul("ancien")},
               {"03_03_26.ENG", agenda_octets("ancienne ligne", false)},
               {"04_03_26.PAD", nul("note du 4")},
               {"04_03_26.ENG", agenda_octets("ligne du 4", true)},
               {"PAD", nul("pr\xE9"
                           "cieux")}});
        fs::permissions(rep.fichier("PAD"), fs::perms::owner_read | fs::perms::owner_write);
        if (!fs::is_symlink(rep.fichier("ALARME"))) {
            fs::remove(rep.fichier("ALARME"));
            fs::create_symlink("alarmes.dat", rep.fichier("ALARME"));
        }
        rep.ecrit("ALARME", alarmes_octets("deux"));
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
        p->alarme_horloge()->affecte_liste();
    }
    // A button of the alarm list whose entry dialog is answered at once.
    void saisie(QPushButton* bouton) {
        QTimer fermeur;
        fermeur.setSingleShot(true);
        QObject::connect(&fermeur, &QTimer::timeout, [this] {
            if (!p->saisie_alarme()->isVisible())
                return;
            // What the entry dialog would have stored from its fields.
            if (p->etat.alarme_courante.texte() == "deux")
                p->etat.alarme_courante.regle_texte("deux bis");
            p->saisie_alarme()->accept();
        });
        fermeur.start(0);
        bouton->click();
    }
    // The second alarm of the list changed, or deleted with "OK" to the question.
    void deuxieme_alarme(QPushButton* bouton) {
        p->alarme_horloge()->liste->setCurrentRow(1);
        if (bouton != p->alarme_horloge()->supprimer1)
            return saisie(bouton);
        dialogues.reponses = {true};
        bouton->click();
    }

    // After a failed quit: the page's text in its rescue file, named in the question.
    void secours_garde() {
        const std::string chemin = p->etat.ctx.secours + "03_03_26.PAD-20260303-100000.txt";
        EXPECT_EQ(RepertoireTemp::lit_chemin(chemin),
                  "nouveau\n\n08h00 nouvelle ligne\n20h00 Fin de journ\xC3\xA9"
                  "e\n");
        EXPECT_EQ(dialogues.confirmations.back().texte, question_secours(chemin));
    }

    // Walks the fault over operations 1, 2, ... of the action until it falls past the last one.
    void parcourt(const Action& a) {
        const Panne panne = std::get<0>(GetParam());
        // After each try: no error but the one expected, the guards' flags
        // back, and what the user set on the files kept.
        const auto sain = [&](std::size_t erreurs) {
            EXPECT_EQ(dialogues.erreurs.size(), erreurs);
            EXPECT_TRUE(f().fichier_libre);
            EXPECT_TRUE(f().bloc_libre);
            EXPECT_EQ(reglages_perdus(), "");
        };
        a.prepare(*this);
        dialogues.erreurs.clear();
        a.action(*this);
        sain(0);
        const Fichiers sans_panne = rep.contenu();
        int echecs = 0;
        for (int n = 1; n < 2000; ++n) {
            SCOPED_TRACE(testing::Message() << "panne à l'opération " << n);
            a.prepare(*this);
            const Fichiers avant = rep.contenu();
            dialogues.erreurs.clear();
            pannes::arme(n, panne.erreur);
            a.action(*this);
            const int operations = pannes::operations();
            touchees.insert(pannes::touchee());
            pannes::desarme();
            if (dialogues.erreurs.empty()) {
                EXPECT_EQ(reglages_perdus(), "");
                // A fault that fell on an operation and was not reported would be a
                // failure taken for a success.
                if (panne.erreur != 0) {
                    EXPECT_GT(n, operations) << "panne muette";
                }
                if (n > operations)
                    break;
                continue;
            }
            ++echecs;
            sain(1);
            EXPECT_EQ(dialogues.erreurs[0],
                      (DialoguesTest::Message{QStringLiteral("Quorvel V2.32"),
                                              QString::fromUtf8(panne.message)}));
            EXPECT_EQ(abimes(rep.contenu(), {&avant, &sans_panne}), "") << "abîmés";
            // The program goes on: the same request, made again, does its work.
            dialogues.erreurs.clear();
            a.reprise(*this);
            sain(0);
            EXPECT_EQ(abimes(rep.contenu(), {&sans_panne}, a.comparees), "") << "après la reprise";
        }
        if (panne.erreur == 0)
            return;
        EXPECT_GE(echecs, a.echecs_min);
        if (a.remplacement) {
            for (const char* etape : {"lstat", "mkstemp", "pwrite", "fchown", "fchmod", "fsync",
                                      "close", "rename", "open dossier", "fsync dossier"})
                EXPECT_TRUE(touchees.contains(etape)) << etape;
        }
    }
};

const auto page_du_3 = [](Pannes& t) { t.page_du_3_modifiee(); };
const auto liste_relue = [](Pannes& t) { t.liste_relue(); };
const auto bloc = [](Pannes& t) { t.f().blocClick(); };

// clang-format off
const Action actions[] = {
    // A save that failed keeps the text in a rescue file, and the question
    // says where: "Annuler" stays with the text, "OK" quits all the same.
    {"QuitterSauveLaPage", 3, {}, page_du_3, [](Pannes& t) { t.quitte(t.f()); },
     [](Pannes& t) {
         t.secours_garde();
         EXPECT_TRUE(t.f().isVisible());
         EXPECT_EQ(t.f().edit_bloc_calendrier->toPlainText(), QStringLiteral("nouveau"));
         EXPECT_TRUE(t.quitte(t.f()));
     },
     {{"03_03_26.PAD", nul("nouveau")}, {"03_03_26.ENG", agenda_octets("nouvelle ligne", false)}}},
    {"QuitterQuandMeme", 3, {}, page_du_3, [](Pannes& t) { t.quitte(t.f(), 2); },
     [](Pannes& t) {
         t.secours_garde();
         EXPECT_FALSE(t.f().isVisible());
         t.f().show();
         EXPECT_TRUE(t.quitte(t.f()));
     }},
    {"TournerLaPage", 5, {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.PAD", "04_03_26.ENG", "PAD",
                          "ALARME", "PAD.CFG", "SAINT03"},
     page_du_3, [](Pannes& t) { t.f().corne_droiteClick(); },
     [](Pannes& t) {
         // Whatever step failed, the next turn saves only what belongs to the
         // date shown: the 4th keeps its own texts.
         const auto jour = std::chrono::sys_days{t.p->etat.page.date()};
         t.f().corne_droiteClick();
         EXPECT_EQ(std::chrono::sys_days{t.p->etat.page.date()}, jour + std::chrono::days{1});
         EXPECT_TRUE(t.f().page_chargee());
     }},
    {"BlocNotes", 3, {"PAD"},
     [](Pannes& t) {
         t.page_du_3_modifiee();
         t.f().blocClick();
         t.ecrit_fichiers_du_jour();
         t.f().charge_bloc_note();
         t.f().edit_bloc_note->setPlainText(QStringLiteral("autre"));
     },
     bloc,
     [](Pannes& t) {
         if (t.f().bloc_note->isVisibleTo(&t.f()))
             EXPECT_EQ(t.f().edit_bloc_note->toPlainText(), QStringLiteral("autre"));
         else // the note pad was saved; the page that failed to load is loaded again
             t.f().blocClick();
         t.f().blocClick();
         EXPECT_FALSE(t.f().bloc_note->isVisibleTo(&t.f()));
     },
     {{"PAD", nul("autre")}}, {}, true},
    // From the page to the note pad: the page is saved and the note pad read. A
    // note pad that could not be read is never written back empty.
    {"OuvertureDuBlocNotes", 5, {"PAD", "03_03_26.PAD", "03_03_26.ENG"}, page_du_3, bloc,
     [](Pannes& t) {
         if (!t.f().bloc_note->isVisibleTo(&t.f()))
             t.f().blocClick();
         t.f().blocClick();
         EXPECT_FALSE(t.f().bloc_note->isVisibleTo(&t.f()));
     }},
    {"Cloche", 2, {},
     [](Pannes& t) {
         t.page_du_3_modifiee();
         t.rep.ecrit("03_03_26.ENG", agenda_octets("ancienne ligne", false));
         t.f().charge_bloc_calendrier();
     },
     [](Pannes& t) { t.f().champDblClick(2); },
     [](Pannes& t) {
         // The page shows what the file holds, and a second double-click does
         // what the user sees: the bell goes on.
         const bool affichee = !t.f().a[1]->pixmap().isNull();
         EXPECT_EQ(affichee, cloches_du_fichier(t.rep.chemin(), jour_du(3, 3, 2026))[1]);
         if (!affichee)
             t.f().champDblClick(2);
     },
     {}, [](Pannes& t) { EXPECT_TRUE(cloches_du_fichier(t.rep.chemin(), jour_du(3, 3, 2026))[1]); }},
    {"Reglages", 2, {},
     [](Pannes& t) {
         t.p->configuration()->c1->setChecked(true);
         t.p->etat.reglages.regle_son_page(true);
         ecrit_reglages(t.rep.chemin(), t.p->etat.reglages);
         t.ecrit_fichiers_du_jour();
     },
     [](Pannes& t) { t.p->configuration()->c1->click(); },
     [](Pannes& t) {
         // The box and the record say "off" whatever the disk did; writing again stores it.
         EXPECT_FALSE(t.p->etat.reglages.son_page());
         t.p->configuration()->sauve();
     },
     {}, [](Pannes& t) { EXPECT_EQ(t.rep.lit("PAD.CFG")[238], 0); }},
    {"AjoutDAlarme", 2, {}, liste_relue, [](Pannes& t) { t.saisie(t.p->alarme_horloge()->creer1); },
     [](Pannes& t) {
         // Added once, whether the failure came before or after the record was written.
         t.ecrit_fichiers_du_jour();
         t.saisie(t.p->alarme_horloge()->creer1);
     },
     {}, [](Pannes& t) {
         EXPECT_EQ(t.rep.taille("ALARME"), 4 * 283);
         EXPECT_EQ(t.p->alarme_horloge()->liste->count(), 4);
     }},
    {"ModificationDAlarme", 2, {}, liste_relue,
     [](Pannes& t) { t.deuxieme_alarme(t.p->alarme_horloge()->modifier1); },
     [](Pannes& t) {
         t.p->alarme_horloge()->affecte_liste();
         t.deuxieme_alarme(t.p->alarme_horloge()->modifier1);
     },
     {{"ALARME", alarmes_octets("deux bis")}}},
    {"SuppressionDAlarme", 3, {}, liste_relue,
     [](Pannes& t) { t.deuxieme_alarme(t.p->alarme_horloge()->supprimer1); },
     [](Pannes& t) {
         // Deleted once: the list is read again from the file before the retry.
         t.liste_relue();
         t.deuxieme_alarme(t.p->alarme_horloge()->supprimer1);
     },
     {{"ALARME", octets_de({alarme("07:00", "un"), alarme("09:00", "trois")})}}, {}, true},
    // Start-up reads the settings, purges the day files from 179 to 5 days back
    // (both ends included), finds the saint and loads today's page: a failure
    // anywhere is reported, the window comes up usable, and nothing outside the
    // purge is touched.
    {"Demarrage", 8, [] {
         std::vector<std::string> v = {"03_03_26.PAD", "03_03_26.ENG", "04_03_26.ENG", "PAD",
                                       "ALARME", "PAD.CFG", "27_02_26.PAD", "04_09_25.PAD"};
         v.insert(v.end(), purgees.begin(), purgees.end());
         return v;
     }(),
     [](Pannes& t) {
         t.p.reset();
         t.ecrit_fichiers_du_jour();
         for (const std::string& nom : purgees)
             t.rep.ecrit(nom, nom.ends_with(".ENG") ? agenda_octets("vieux", true) : nul("vieux"));
         // Outside the purge: four days back and 180 days back.
         t.ecrit({{"27_02_26.PAD", nul("garde")}, {"04_09_25.PAD", nul("garde aussi")}});
     },
     [](Pannes& t) { t.relance(); },
     [](Pannes& t) {
         // The page came up usable: quitting saves it.
         EXPECT_TRUE(t.quitte(t.f()));
         t.relance();
         EXPECT_TRUE(t.f().page_chargee());
     },
     {}, [](Pannes& t) {
         for (const std::string& nom : purgees)
             EXPECT_FALSE(t.rep.existe(nom)) << nom;
         for (const char* nom : {"27_02_26.PAD", "04_09_25.PAD", "PAD"})
             EXPECT_TRUE(t.rep.existe(nom)) << nom;
     }},
};
// clang-format on

TEST_P(Pannes, RienNEstPerdu) {
    const Action& a = std::get<1>(GetParam());
    parcourt(a);
    verifie(a.attendus);
    if (a.fin)
        a.fin(*this);
}

INSTANTIATE_TEST_SUITE_P(Erreurs, Pannes,
                         ::testing::Combine(::testing::ValuesIn(toutes_les_pannes),
                                            ::testing::ValuesIn(actions)),
                         [](const auto& i) {
                             return std::string(std::get<1>(i.param).nom) + "_" +
                                    std::get<0>(i.param).nom;
                         });

// A real full disk (modes would not stop root): the data folder on a small
// tmpfs filled to its last byte. Quitting shows the error, then asks, with
// the rescue file or saying there is none, and "OK" quits; the end of the
// session asks nothing and says where the text is; the next start tells once.
TEST(DisquePlein, LaPageQuiNePeutEtreEnregistreeEstGardeeAilleurs) {
    const struct Cas {
        const char* nom;
        bool secours_plein, fin_de_session;
    } cas[] = {{"quitter quand même", false, false},
               {"secours plein aussi", true, false},
               {"fin de session", false, true}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc b(2026, 3, 3, 10, 0);
        RepertoireTemp point;
        if (::mount("tmpfs", point.chemin().c_str(), "tmpfs", 0, "size=256k") != 0)
            GTEST_SKIP() << "tmpfs refusé (" << std::strerror(errno) << ") : il faut être root";
        const std::unique_ptr<const char, void (*)(const char*)> demonte(
            point.chemin().c_str(), [](const char* p) { ::umount2(p, MNT_DETACH); });
        fs::create_directory(point.fichier("donnees"));
        if (c.secours_plein)
            ::setenv("XDG_STATE_HOME", point.fichier("etat").c_str(), 1);
        auto p =
            std::make_unique<Programme>(b.horloge, b.son, b.dialogues, point.fichier("donnees"));
        p->form1->show();
        Banc::tape(p->form1->edit_bloc_calendrier, QStringLiteral("Réunion à 9h"));
        {
            std::ofstream plein(point.fichier("plein"), std::ios::binary);
            const std::string bloc(4096, 'x');
            while (plein.write(bloc.data(), 4096) && plein.flush()) {
            }
        }
        ASSERT_EQ(fs::space(point.chemin()).available, 0u);
        const std::string chemin = p->etat.ctx.secours + "03_03_26.PAD-20260303-100000.txt";
        std::string dit;
        if (c.fin_de_session) {
            EXPECT_FALSE(p->form1->sauve_en_fin_de_session(dit));
        } else {
            EXPECT_TRUE(b.quitte(*p->form1, 2));
            EXPECT_EQ(b.dialogues.confirmations.back().texte,
                      c.secours_plein ? QStringLiteral("La page n'a pas pu être enregistrée, et "
                                                       "votre texte n'a pas pu être gardé "
                                                       "ailleurs\u00A0: il sera perdu. Quitter "
                                                       "quand même\u00A0?")
                                      : question_secours(chemin));
        }
        EXPECT_EQ(dit, c.fin_de_session ? "quorvel\u00A0: la page n'a pas pu être enregistrée "
                                          "(Disque plein). Votre texte est gardé dans " +
                                              chemin + ".\n"
                                        : "");
        EXPECT_EQ(b.dialogues.erreurs.size() + b.dialogues.confirmations.size(),
                  c.fin_de_session ? 0u : 3u);
        EXPECT_EQ(RepertoireTemp::lit_chemin(chemin),
                  c.secours_plein ? "" : "R\xC3\xA9union \xC3\xA0 9h");
        // Started again: told once, in one message, of what waits.
        using Messages = std::vector<DialoguesTest::Message>;
        const Messages dit_une_fois = {
            {QStringLiteral("Quorvel V2.32"),
             QStringLiteral("Des textes qui n'avaient pas pu être enregistrés vous attendent "
                            "dans %1\u00A0:\n%2")
                 .arg(QString::fromStdString(p->etat.ctx.secours),
                      QString::fromStdString(fs::path(chemin).filename()))}};
        for (const bool premier : {true, false}) {
            b.dialogues.erreurs.clear();
            b.lance();
            EXPECT_EQ(b.dialogues.erreurs, premier && !c.secours_plein ? dit_une_fois : Messages{});
        }
    }
}

} // namespace
