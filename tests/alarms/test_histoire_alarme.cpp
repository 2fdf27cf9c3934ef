// A user story: an alarm set for the next minute rings with its text, also
// while the entry dialog is open over the list.
#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "alarms/saisie_alarme.hpp"
#include "outils_alarmes.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quorvel {
namespace {

TEST(HistoireAlarme, UneAlarmePourLaMinuteSuivanteSonneEtSAffiche) {
    test::Bureau b;
    auto& [rep, horloge, son, dialogues, ctx, reglages] = b;
    horloge.regle(2026, 3, 2, 10, 0, 20);
    ctx.rect_main = {300, 120, 411, 455};
    reglages.regle_video(2);
    EnregistrementAlarme courante;
    Tsaisie_alarme saisie(ctx, reglages, courante);
    Talarme_horloge liste(ctx, reglages, courante, saisie);
    Tmessage_alarme message(ctx, reglages);
    PlanificateurAlarmes planificateur(ctx, message);

    // The user opens the list and adds an alarm for 10:01 that shows its text.
    liste.show();
    liste.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&liste));
    QTimer::singleShot(0, &saisie, [&] {
        saisie.champ1->selectAll();
        QTest::keyClicks(saisie.champ1, "10:01");
        QTest::keyClick(saisie.champ1, Qt::Key_Tab);
        saisie.champ2->setPlainText("Appeler Marie");
        QTest::mouseClick(saisie.champ3, Qt::LeftButton);
        QTest::mouseClick(saisie.ok1, Qt::LeftButton);
    });
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    ASSERT_EQ(liste.liste->count(), 1);
    EXPECT_EQ(liste.liste->item(0)->text(), "10:01 : Appeler Marie");
    QTest::mouseClick(liste.ok1, Qt::LeftButton);
    EXPECT_FALSE(liste.isVisible());
    EXPECT_TRUE(dialogues.erreurs.empty());

    // The check of 10:00 finds nothing; the next one rings.
    planificateur.verifie();
    EXPECT_TRUE(son.appels.empty());
    horloge.avance(60);
    planificateur.verifie();
    EXPECT_EQ(son.appels, std::vector<std::string>{rep.chemin() + "coucou.wav"});
    ASSERT_TRUE(message.isVisible());
    EXPECT_EQ(message.Label1->text(), "Appeler Marie");
    EXPECT_EQ(message.pos(), QPoint(300 + (411 - 231) / 2, 120 + 220));
    QTest::mouseClick(message.ok, Qt::LeftButton);
    EXPECT_FALSE(message.isVisible());

    // A late tick in the same minute does not ring again.
    horloge.avance(30);
    planificateur.verifie();
    EXPECT_EQ(son.appels.size(), 1u);

    // Next day, the user is changing the alarm when it rings: the board shows
    // what the file holds, and the edit in progress is stored untouched.
    horloge.regle(2026, 3, 3, 10, 0, 50);
    planificateur.verifie();
    liste.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&liste));
    QTimer::singleShot(0, &saisie, [&] {
        saisie.champ2->setPlainText("Rappeler Marie");
        horloge.avance(20);
        planificateur.verifie();
        EXPECT_EQ(son.appels.size(), 2u);
        EXPECT_TRUE(message.isVisible());
        EXPECT_EQ(message.Label1->text(), "Appeler Marie");
        QTest::mouseClick(message.ok, Qt::LeftButton);
        QTest::mouseClick(saisie.ok1, Qt::LeftButton);
    });
    QTest::mouseClick(liste.modifier1, Qt::LeftButton);
    EXPECT_EQ(liste.liste->item(0)->text(), "10:01 : Rappeler Marie");
    EnregistrementAlarme lu;
    lit_alarme(rep.chemin(), 0, lu);
    EXPECT_EQ(lu.texte(), "Rappeler Marie");
    EXPECT_TRUE(lu.affiche_texte());
    EXPECT_EQ(rep.taille("ALARME"), 283);
    liste.hide();
}

} // namespace
} // namespace quorvel
