// The alarm list dialog, driven offscreen; the file checked byte by byte. Last,
// an alarm that rings while the entry dialog is open over the list.
#include "alarms/alarme_horloge.hpp"
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "alarms/saisie_alarme.hpp"
#include "outils_alarmes.hpp"

namespace quorvel {
namespace {

using Message = DialoguesTest::Message;
using test::alarme;
using test::octets_de;

class ListeAlarmes : public ::testing::Test, public test::Bureau {
protected:
    ~ListeAlarmes() override { liste.hide(); }

    void ouvre() {
        liste.show();
        liste.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&liste));
    }
    // The entry dialog, once shown by the list, runs retouche and is left by "OK".
    void repond_saisie(std::function<void()> retouche = {}) {
        QTimer::singleShot(0, &saisie, [this, retouche] {
            ASSERT_TRUE(saisie.isVisible());
            if (retouche)
                retouche();
            QTest::mouseClick(saisie.ok1, Qt::LeftButton);
        });
    }
    QStringList lignes() const {
        QStringList l;
        for (int i = 0; i < liste.liste->count(); ++i)
            l << liste.liste->item(i)->text();
        return l;
    }
    bool boutons_actifs() const {
        EXPECT_EQ(liste.modifier1->isEnabled(), liste.supprimer1->isEnabled());
        return liste.modifier1->isEnabled();
    }

    EnregistrementAlarme courante;
    Tsaisie_alarme saisie{ctx, reglages, courante};
    Talarme_horloge liste{ctx, reglages, courante, saisie};
};

TEST_F(ListeAlarmes, FichierAbsentListeVidePuisPremiereAlarme) {
    ouvre();
    EXPECT_EQ(rep.taille("ALARME"), 0);
    EXPECT_EQ(liste.liste->count(), 0);
    EXPECT_FALSE(boutons_actifs());
    // Nothing to change or delete: the buttons do nothing even when called.
    liste.modifier1Click();
    liste.supprimer1Click();
    EXPECT_TRUE(dialogues.confirmations.empty());

    // The entry dialog left unchanged adds the default alarm.
    repond_saisie();
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    EXPECT_EQ(lignes(), QStringList{"10:00 : Rappel"});
    EXPECT_EQ(liste.liste->currentRow(), 0);
    EXPECT_TRUE(boutons_actifs());
    EnregistrementAlarme defaut;
    alarme_par_defaut(defaut, ctx);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({defaut}));

    // The next one is appended and selected.
    repond_saisie([this] { saisie.champ2->setPlainText("deux"); });
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    EXPECT_EQ(lignes(), (QStringList{"10:00 : Rappel", "10:00 : deux"}));
    EXPECT_EQ(liste.liste->currentRow(), 1);
    EXPECT_EQ(rep.taille("ALARME"), 2 * 283);
}

// The selected alarm is the one edited, then the one deleted once confirmed.
TEST_F(ListeAlarmes, ModificationPuisSuppressionAvecAnnulerEtOK) {
    auto alarmes = std::vector{alarme("07:00", "un"), alarme("08:00", "deux"),
                               alarme("09:00", "trois"), alarme("10:00", "quatre")};
    rep.ecrit("ALARME", octets_de(alarmes));
    ouvre();
    EXPECT_EQ(courante, alarmes[3]) << "the list is read through the current record";
    liste.liste->setCurrentRow(1);
    repond_saisie([this] {
        EXPECT_EQ(saisie.champ2->toPlainText(), "deux");
        saisie.champ2->setPlainText("DEUX");
    });
    QTest::mouseClick(liste.modifier1, Qt::LeftButton);
    EXPECT_EQ(liste.liste->currentRow(), 1);
    alarmes[1].regle_texte("DEUX");
    EXPECT_EQ(rep.lit("ALARME"), octets_de(alarmes));

    liste.liste->setCurrentRow(2);
    dialogues.reponses = {false, true};
    QTest::mouseClick(liste.supprimer1, Qt::LeftButton);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(alarmes));
    QTest::mouseClick(liste.supprimer1, Qt::LeftButton);
    const Message question{"Confirmation", "Désirez-vous supprimer cette alarme"};
    EXPECT_EQ(dialogues.confirmations, (std::vector<Message>{question, question}));
    EXPECT_EQ(lignes(), (QStringList{"07:00 : un", "08:00 : DEUX", "10:00 : quatre"}));
    EXPECT_EQ(liste.liste->currentRow(), 0);
    alarmes.erase(alarmes.begin() + 2);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(alarmes));
}

// The user is changing an alarm when it rings: the board shows what the file
// holds, and the edit in progress is stored untouched.
TEST_F(ListeAlarmes, AlarmeQuiSonnePendantSaModification) {
    Tmessage_alarme message(ctx, reglages);
    PlanificateurAlarmes planificateur(ctx, message);
    const auto a = alarme("10:01", "Appeler Marie", true, "03/03/2026", 0, "coucou.wav", true);
    rep.ecrit("ALARME", octets_de({a}));
    planificateur.verifie(); // 10:00 finds nothing
    ouvre();
    repond_saisie([&] {
        saisie.champ2->setPlainText("Rappeler Marie");
        horloge.avance(60);
        planificateur.verifie();
        EXPECT_EQ(son.appels, std::vector<std::string>{rep.chemin() + "coucou.wav"});
        EXPECT_TRUE(message.isVisible());
        EXPECT_EQ(message.Label1->text(), "Appeler Marie");
        QTest::mouseClick(message.ok, Qt::LeftButton);
    });
    QTest::mouseClick(liste.modifier1, Qt::LeftButton);
    EXPECT_EQ(lignes(), QStringList{"10:01 : Rappeler Marie"});
    auto attendue = a;
    attendue.regle_texte("Rappeler Marie");
    EXPECT_EQ(rep.lit("ALARME"), octets_de({attendue}));
}

} // namespace
} // namespace quorvel
