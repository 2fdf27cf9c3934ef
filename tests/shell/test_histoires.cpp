// Whole-program stories: start, type, quit, start again; failures that lose nothing.
#include "alarms/alarme.hpp"
#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/saisie_alarme.hpp"
#include "banc.hpp"
#include "settings/configuration.hpp"
#include "shell/programme.hpp"
#include "shell/splash.hpp"
#include "widgets/label3d.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace quorvel;
using namespace quorvel::test;

// The whole program on a temporary data directory, on 6 December 2026 at 9 o'clock.
struct HistoireComplete : ::testing::Test, Banc {
    HistoireComplete() : Banc(2026, 12, 6, 9) {}
};

TEST_F(HistoireComplete, QuitterAvecOkSauveEtLeRedemarrageRetrouveTout) {
    {
        Programme p(horloge, son, dialogues, rep.chemin());
        TForm1& f = *p.form1;
        f.show();
        f.edit_bloc_calendrier->setPlainText(QStringLiteral("Anniversaire de Léa"));
        f.corne_droiteClick();
        tape(f.champ[1], QStringLiteral("Dentiste"));
        f.champDblClick(2);
        // "Annuler" keeps the program running and saves nothing.
        dialogues.reponses = {false};
        EXPECT_FALSE(f.close());
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(dialogues.confirmations.size(), 1u);
        EXPECT_EQ(dialogues.confirmations[0].titre, QStringLiteral("Confirmation"));
        EXPECT_EQ(dialogues.confirmations[0].texte, QStringLiteral("Désirez-vous quitter Quorvel V2.32"));
        EXPECT_EQ(creneau(rep.lit("07_12_26.ENG"), 2), "");
        dialogues.reponses = {true};
        EXPECT_TRUE(f.close());
    }
    const std::string eng = rep.lit("07_12_26.ENG");
    EXPECT_EQ(creneau(eng, 2), "Dentiste");
    EXPECT_EQ(cloche(eng, 2), 1);
    EXPECT_EQ(rep.lit("06_12_26.PAD"), std::string("Anniversaire de L\xE9") + "a" + '\0');
    // Quitting with the note pad in front saves the note pad only.
    horloge.regle(2026, 12, 7, 9, 0);
    {
        Programme p(horloge, son, dialogues, rep.chemin());
        TForm1& f = *p.form1;
        EXPECT_EQ(f.champ[1]->text(), QStringLiteral("Dentiste"));
        EXPECT_TRUE(p.etat.agenda.cloche(2));
        f.blocClick();
        f.edit_bloc_note->setPlainText(QStringLiteral("Pain"));
        const std::string avant = rep.lit("07_12_26.ENG");
        dialogues.reponses = {true};
        EXPECT_TRUE(f.close());
        EXPECT_EQ(rep.lit("PAD"), std::string("Pain") + '\0');
        EXPECT_EQ(rep.lit("07_12_26.ENG"), avant);
    }
    {
        Programme p(horloge, son, dialogues, rep.chemin());
        p.form1->blocClick();
        EXPECT_EQ(p.form1->edit_bloc_note->toPlainText(), QStringLiteral("Pain"));
    }
}

TEST_F(HistoireComplete, LeMenuGeneralReappliqueLesReglagesSansToucherAuTexte) {
    Programme p(horloge, son, dialogues, rep.chemin());
    TForm1& f = *p.form1;
    f.show();
    f.edit_bloc_calendrier->setPlainText(QStringLiteral("en cours"));
    // While the menu is open the settings change (as the configuration dialog does).
    QTimer::singleShot(0, [&] {
        QDialog* menu = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->pos(), QPoint(p.etat.ctx.rect_main.gauche + 168, p.etat.ctx.rect_main.haut + 210));
        p.etat.reglages.regle_couleur(CouleurReglee::jour, 0x00FF00);
        p.etat.reglages.regle_couleur(CouleurReglee::aiguilles, 0x00FF00);
        p.etat.reglages.regle_video(2);
        menu->reject();
    });
    f.menuClick();
    EXPECT_EQ(f.jour->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    // Video mode 2 shows the other clock and calculator; only the first clock takes the colour.
    EXPECT_FALSE(f.calculette1->isVisibleTo(&f));
    EXPECT_TRUE(f.calculette2->isVisibleTo(&f));
    EXPECT_FALSE(f.HORLOGE1->isVisibleTo(&f));
    EXPECT_TRUE(f.HORLOGE2->isVisibleTo(&f));
    EXPECT_EQ(f.HORLOGE1->couleur_aiguille(), QColor(0, 255, 0));
    EXPECT_EQ(f.HORLOGE2->couleur_aiguille(), QColor(Qt::black));
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("en cours"));
}

TEST(Histoire, LEcranDAccueilMontreLeNomSansLaVersion) {
    TSplashForm s(QStringLiteral("Quorvel V2.32"));
    s.show();
    EXPECT_EQ(s.logiciel->text(), QStringLiteral("Quorvel"));
}

// A file that could not be read stays as it is, whatever the timers, the page
// turns, the Bloc-Notes and quitting do, until the user changes what it holds;
// then its bytes are first kept under a name nothing reads or purges, and the
// user is told once. Each row runs twice: looking only, then changing.
TEST(MauvaisFichiers, UnFichierIllisibleEstGardeAvantQueLUtilisateurNeLeRemplace) {
    const auto octets = [](const auto& enregistrement) {
        return std::string(enregistrement.octets.begin(), enregistrement.octets.end());
    };
    EnregistrementAgenda deux_lignes, garage, cloche;
    deux_lignes.regle_texte(1, "Dentiste");
    deux_lignes.regle_texte(2, "Pharmacie");
    garage.regle_texte(3, "Garage");
    cloche.regle_cloche(4, true);
    EnregistrementAlarme alarme;
    alarme.regle_heure("07:30");
    alarme.regle_texte("R\xE9veil");
    DialoguesTest dialogues;
    using Geste = std::function<void(Programme&)>;
    const auto suite = [](std::vector<Geste> gestes) {
        return [=](Programme& p) {
            for (const Geste& g : gestes)
                g(p);
        };
    };
    const Geste rien = suite({});
    const Geste quitte = [&](Programme& p) {
        dialogues.reponses = {true};
        EXPECT_TRUE(p.form1->close());
    };
    const auto puis = [&](std::vector<Geste> gestes) {
        gestes.push_back(quitte);
        return suite(gestes);
    };
    const auto tape_dans = [](TZoneTexte* TForm1::*zone, const char* texte) {
        return [=](Programme& p) {
            (p.form1.get()->*zone)->setPlainText(QString::fromLatin1(texte));
            (p.form1.get()->*zone)->document()->setModified(true);
        };
    };
    const Geste ligne = [](Programme& p) {
        Banc::tape(p.form1->champ[2], QStringLiteral("Garage"));
    };
    const Geste bloc = [](Programme& p) { p.form1->blocClick(); };
    const Geste droite = [](Programme& p) { p.form1->corne_droiteClick(); };
    const Geste gauche = [](Programme& p) { p.form1->corne_gaucheClick(); };
    const Geste page_sonore = [](Programme& p) { p.configuration->c1->click(); };
    const Geste ajoute_alarme = [](Programme& p) {
        QTimer::singleShot(0, p.saisie_alarme, [&p] { p.saisie_alarme->accept(); });
        p.alarme_horloge->creer1->click();
    };
    using Nouveau = std::function<std::string(const Programme&)>;
    const auto fixe = [](std::string o) -> Nouveau { return [=](const Programme&) { return o; }; };
    const std::string eng = "07_12_26.ENG", court = octets(deux_lignes).substr(0, 805);
    struct Cas {
        const char* nom;
        std::string fichier, octets;
        Geste amene, change, quitte;
        std::string copie; // empty: the file must stay as it was
        Nouveau nouveau;
        // Other files: written before the first run, expected after the last.
        std::map<std::string, std::string> avant, apres;
    };
    const Cas cas[] = {
        {"note du jour tapée",
         eng,
         court,
         rien,
         tape_dans(&TForm1::edit_bloc_calendrier, "Note"),
         quitte,
         "",
         {},
         {},
         {{"07_12_26.PAD", std::string("Note") + '\0'}}},
        {"ligne tapée", eng, court, rien, ligne, quitte, eng + ".illisible", fixe(octets(garage))},
        {"ligne tapée, pages tournées", eng, court, rien, ligne, puis({droite, gauche, droite}),
         eng + ".illisible", fixe(octets(garage))},
        {"ligne tapée, Bloc-Notes", eng, court, rien, ligne, puis({bloc, bloc}), eng + ".illisible",
         fixe(octets(garage))},
        {"cloche", eng, court, rien, [](Programme& p) { p.form1->champDblClick(4); }, quitte,
         eng + ".illisible", fixe(octets(cloche))},
        // Nothing typed on the 7th reaches the page of the 8th, turned to.
        {"lendemain",
         "08_12_26.ENG",
         court,
         suite({tape_dans(&TForm1::edit_bloc_calendrier, "du 7"), droite}),
         ligne,
         quitte,
         "08_12_26.ENG.illisible",
         fixe(octets(garage)),
         {{"08_12_26.PAD", std::string("note du 8") + '\0'}}},
        // An earlier copy is never overwritten, and the purge deletes none.
        {"copies plus anciennes",
         eng,
         court,
         rien,
         ligne,
         quitte,
         eng + ".illisible.2",
         fixe(octets(garage)),
         {{eng + ".illisible", "avant"}, {"12_11_26.ENG.illisible", "vieux"}}},
        {"bloc-notes", "PAD", std::string("pr\xE9") + "cieux" + '\0',
         [](Programme& p) {
             pannes::arme(1, 0); // its read comes back short
             p.form1->blocClick();
             pannes::desarme();
         },
         tape_dans(&TForm1::edit_bloc_note, "Pain"), puis({bloc}), "PAD.illisible",
         fixe(std::string("Pain") + '\0')},
        {"réglages courts", "PAD.CFG", std::string(100, '\0'), rien,
         suite({page_sonore, page_sonore}), quitte, "PAD.CFG.illisible",
         [&](const Programme& p) { return octets(p.etat.reglages); }},
        {"alarme coupée", "ALARME", octets(alarme) + octets(alarme) + std::string(34, 'Z'),
         [](Programme& p) { p.alarme_horloge->show(); }, ajoute_alarme,
         [&](Programme& p) {
             p.alarme_horloge->hide();
             quitte(p);
         },
         "ALARME.illisible",
         [&](const Programme& p) {
             return octets(alarme) + octets(alarme) + octets(p.etat.alarme_courante);
         }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        RepertoireTemp rep;
        HorlogeReglable horloge(2026, 12, 7, 9, 0);
        LecteurSonEnregistreur son;
        rep.ecrit(c.fichier, c.octets);
        for (const auto& [nom, contenu] : c.avant)
            rep.ecrit(nom, contenu);
        dialogues.erreurs.clear();
        for (const bool change : {false, true}) {
            Programme p(horloge, son, dialogues, rep.chemin());
            p.form1->show();
            c.amene(p);
            if (change)
                c.change(p);
            p.form1->Timer1Timer();
            p.form1->Timer2Timer();
            c.quitte(p);
            const bool gardee = change && !c.copie.empty();
            EXPECT_EQ(rep.lit(c.fichier), gardee ? c.nouveau(p) : c.octets) << change;
            if (!c.copie.empty())
                EXPECT_EQ(rep.existe(c.copie) ? rep.lit(c.copie) : "-", gardee ? c.octets : "-");
        }
        for (const auto& [nom, contenu] : c.avant)
            EXPECT_EQ(rep.lit(nom), contenu) << nom;
        for (const auto& [nom, contenu] : c.apres)
            EXPECT_EQ(rep.lit(nom), contenu) << nom;
        QStringList dits;
        for (const auto& m : dialogues.erreurs)
            if (m.texte.contains(QStringLiteral("gardé")))
                dits << m.texte;
        EXPECT_EQ(dits, c.copie.empty()
                            ? QStringList()
                            : QStringList(QString::fromStdString(
                                  "Le fichier " + c.fichier +
                                  " ne pouvait pas être lu\u00A0: il est gardé sous le nom " +
                                  c.copie + ".")));
        if (c.copie.empty())
            continue;
        // Started again: the new file reads whole, and the copy is left where it is.
        dialogues.erreurs.clear();
        Programme p(horloge, son, dialogues, rep.chemin());
        EXPECT_TRUE(dialogues.erreurs.empty());
        EXPECT_EQ(rep.lit(c.copie), c.octets);
    }
}

TEST(MauvaisFichiers, OctetsQuelconquesEtReglagesCourtsDemarrentSansErreur) {
    Banc b(2026, 3, 3);
    b.rep.ecrit("03_03_26.ENG", std::string(806, '\xFF')); // no terminator anywhere, every bell set
    b.rep.ecrit("03_03_26.PAD", std::string("\x01\x02\0\x7F\xFF", 5));
    b.rep.ecrit("PAD.CFG", std::string(10, '\0'));
    TForm1& f = b.demarre();
    EXPECT_TRUE(b.dialogues.erreurs.empty());
    for (int k = 1; k <= 13; ++k) EXPECT_EQ(f.champ[k - 1]->text().size(), 60);
    EXPECT_TRUE(b.etat->agenda.cloche(13));
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText().size(), 4);
    EXPECT_EQ(f.edit_bloc_calendrier->font().pointSize(), 8);
    EXPECT_EQ(b.etat->reglages.video(), 1);
}

TEST(MauvaisFichiers, UnTexteDUnOctetEstLeTexteVide) {
    struct Cas {
        std::string octets;
        QString texte;
    } const cas[] = {{"A", QString()}, {std::string(1, '\0'), QString()}, {"AB", "AB"}};
    for (const Cas& c : cas) {
        Banc b(2026, 12, 7);
        b.rep.ecrit("07_12_26.PAD", c.octets);
        b.rep.ecrit("PAD", c.octets);
        TForm1& f = b.demarre();
        EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), c.texte) << c.octets;
        f.blocClick();
        EXPECT_EQ(f.edit_bloc_note->toPlainText(), c.texte) << c.octets;
    }
}

TEST_F(HistoireComplete, UneAlarmeDuFichierSonneAuTicDuReveil) {
    horloge.regle(2026, 12, 6, 9, 0, 10);
    Programme p(horloge, son, dialogues, rep.chemin());
    // A daily alarm at 09:01 showing its text, as the alarm list stores it.
    EnregistrementAlarme alarme;
    alarme_par_defaut(alarme, p.etat.ctx);
    alarme.regle_heure("09:01");
    alarme.regle_texte("Caf\xE9");
    alarme.regle_affiche_texte(true);
    ajoute_alarme(rep.chemin(), alarme);
    horloge.regle(2026, 12, 6, 9, 1, 10);
    p.form1->Timer2Timer();
    ASSERT_EQ(son.appels.size(), 1u);
    EXPECT_EQ(son.appels[0], p.etat.ctx.chemin_son(alarme.son()));
    EXPECT_TRUE(p.message_alarme->isVisible());
    const RectangleFenetre& r = p.etat.ctx.rect_main;
    EXPECT_EQ(p.message_alarme->pos(), QPoint(r.gauche + (r.largeur - 231) / 2, r.haut + 220));
    p.message_alarme->hide();
}

TEST_F(HistoireComplete, UnFichierDAideIllisibleEstSignaleDansChaqueFenetre) {
    dialogues.aide_illisible = "Impossible d'ouvrir le fichier d'aide";
    Programme p(horloge, son, dialogues, rep.chemin());
    p.form1->show();
    QTest::keyClick(p.form1.get(), Qt::Key_F1);
    p.alarme_horloge->show();
    QApplication::setActiveWindow(p.alarme_horloge); // F1 is a shortcut of the active window
    QTest::keyClick(p.alarme_horloge, Qt::Key_F1);
    p.alarme_horloge->hide();
    ASSERT_EQ(dialogues.aides.size(), 2u);
    EXPECT_EQ(dialogues.aides[0].sujet, 1);
    EXPECT_EQ(dialogues.aides[1].sujet, 7);
    ASSERT_EQ(dialogues.erreurs.size(), 2u);
    EXPECT_EQ(dialogues.erreurs[1].titre, QStringLiteral("Quorvel V2.32"));
    EXPECT_EQ(dialogues.erreurs[1].texte, QStringLiteral("Impossible d'ouvrir le fichier d'aide."));
}
