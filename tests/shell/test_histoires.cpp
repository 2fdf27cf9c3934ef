// Whole-program stories: start, type, quit, start again; failures that lose nothing.
#include "alarms/alarme.hpp"
#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "banc.hpp"
#include "shell/programme.hpp"
#include "shell/splash.hpp"
#include "widgets/label3d.hpp"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

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

TEST(MauvaisFichiers, UnAgendaCourtEstSignaleEtRienNestEcrase) {
    Banc b(2026, 3, 3);
    b.rep.ecrit("04_03_26.ENG", std::string(100, 'A'));
    b.rep.ecrit("04_03_26.PAD", std::string("note du 4") + '\0');
    TForm1& f = b.demarre();
    f.edit_bloc_calendrier->setPlainText(QStringLiteral("du 3"));
    f.corne_droiteClick();
    ASSERT_EQ(b.dialogues.erreurs.size(), 1u);
    EXPECT_EQ(b.dialogues.erreurs[0].texte, QStringLiteral("Lecture au delà de la fin de fichier."));
    EXPECT_EQ(f.jour_courant, 4);
    EXPECT_FALSE(f.page_chargee());
    // Nothing of the 3rd stays on the page of the 4th.
    EXPECT_NE(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("du 3"));
    f.champDblClick(1);
    f.corne_droiteClick();
    EXPECT_EQ(b.rep.lit("04_03_26.ENG"), std::string(100, 'A'));
    EXPECT_EQ(b.rep.lit("04_03_26.PAD"), std::string("note du 4") + '\0');
    EXPECT_TRUE(f.fichier_libre);
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
