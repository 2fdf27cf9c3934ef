// The alarm entry dialog, driven offscreen.
#include "alarms/alarme_horloge.hpp"
#include "alarms/saisie_alarme.hpp"
#include "outils_alarmes.hpp"
#include "widgets/digital.hpp"

namespace quorvel {
namespace {

using Message = DialoguesTest::Message;
const Message erreur_heure{"Erreur", "Heure illégale, respectez le format => HH:MM"};
const Message erreur_date{"Erreur", "date illégale, respectez le format => JJ/MM/AAAA"};

class SaisieAlarme : public ::testing::Test, public test::Bureau {
protected:
    SaisieAlarme() { alarme_par_defaut(courante, ctx); }
    ~SaisieAlarme() override { saisie.hide(); }
    void montre() {
        saisie.show();
        saisie.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&saisie));
    }
    EnregistrementAlarme courante;
    Tsaisie_alarme saisie{ctx, reglages, courante};
};

// A repeating alarm's hidden date is not checked: kept as it is.
TEST_F(SaisieAlarme, NouvelleAlarmeSansChangementGardeLesValeursParDefaut) {
    courante.regle_date("junk");
    const EnregistrementAlarme attendu = courante;
    montre();
    EXPECT_EQ(saisie.HORLOGE_DIGITAL1->text(), "10:00:30");
    EXPECT_EQ(saisie.focusWidget(), saisie.champ1);
    // The fields the dialog stores back are checked by the record being unchanged below.
    EXPECT_EQ(saisie.champ8->text(), QString::fromStdString(rep.chemin() + "coucou.wav"));
    EXPECT_TRUE(saisie.champ5->isEnabled());
    EXPECT_FALSE(saisie.champ7->isEnabled());
    QTest::mouseClick(saisie.ok1, Qt::LeftButton);
    EXPECT_FALSE(saisie.isVisible());
    EXPECT_EQ(courante, attendu);
    EXPECT_TRUE(dialogues.erreurs.empty());
}

TEST_F(SaisieAlarme, ChampsDuRecordEtRetour) {
    courante =
        test::alarme("18:45", "ligne 1\r\nligne \xE9", false, "24/12/2026", 3, "coucou.wav", true);
    montre();
    EXPECT_TRUE(saisie.champ6->isChecked());
    EXPECT_FALSE(saisie.champ4->isChecked());
    EXPECT_EQ(saisie.champ5->currentIndex(), 3);
    EXPECT_FALSE(saisie.champ5->isEnabled());
    EXPECT_TRUE(saisie.champ7->isEnabled());
    EXPECT_TRUE(saisie.champ3->isChecked());

    // Back to a repetition: both the weekday and the date are kept.
    QTest::mouseClick(saisie.champ4, Qt::LeftButton);
    EXPECT_TRUE(saisie.champ5->isEnabled());
    EXPECT_FALSE(saisie.champ7->isEnabled());
    saisie.champ5->setCurrentIndex(6);
    QTest::mouseClick(saisie.ok1, Qt::LeftButton);
    EXPECT_TRUE(courante.repete());
    EXPECT_EQ(courante.frequence(), 6);
    EXPECT_EQ(courante.date(), "24/12/2026");
    EXPECT_EQ(courante.texte(), "ligne 1\r\nligne \xE9");
}

// A time or a date that can never ring is refused on leaving its field (Tab)
// or by OK (Enter reaches it without leaving): the message, the field set to
// now and focused again. A right one is stored as soon as the field is left.
TEST_F(SaisieAlarme, HeureEtDateControleesEnQuittantLeChampOuParOK) {
    struct Cas {
        bool date;
        const char* saisi;
        Qt::Key fin;
        bool accepte;
    };
    const Cas cas[] = {
        {false, "06:15", Qt::Key_Tab, true},     {false, "24:00", Qt::Key_Tab, false},
        {false, "", Qt::Key_Tab, false},         {false, "99:99", Qt::Key_Return, false},
        {true, "29/02/2028", Qt::Key_Tab, true}, {true, "31/02/2026", Qt::Key_Tab, false},
        {true, "", Qt::Key_Return, false}};
    courante.regle_repete(false);
    montre();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.saisi);
        dialogues.erreurs.clear();
        QLineEdit* champ = c.date ? saisie.champ7 : saisie.champ1;
        champ->setFocus();
        champ->clear();
        QTest::keyClicks(champ, c.saisi);
        QTest::keyClick(champ, c.fin);
        const std::string garde = c.date ? courante.date() : courante.heure();
        if (c.accepte) {
            EXPECT_TRUE(dialogues.erreurs.empty());
            EXPECT_EQ(garde, c.saisi);
            continue;
        }
        const char* maintenant = c.date ? "02/03/2026" : "10:00";
        EXPECT_EQ(dialogues.erreurs, std::vector<Message>{c.date ? erreur_date : erreur_heure});
        EXPECT_EQ(garde, maintenant);
        EXPECT_EQ(champ->text(), maintenant);
        EXPECT_EQ(saisie.focusWidget(), champ);
        EXPECT_TRUE(saisie.isVisible());
    }
}

// On Monday 2 March 2026 at 10:00:30, an alarm that no check will find due is
// stored only if the user says so; otherwise the dialog stays as typed.
TEST_F(SaisieAlarme, AlarmePasseeStockeeSeulementSurConfirmation) {
    const Message question{"Confirmation", "Cette alarme ne sonnera pas\u00A0: sa date et son "
                                           "heure sont passées. Enregistrer quand même\u00A0?"};
    struct Cas {
        bool date;
        const char *heure, *jour;
        bool demande, reponse;
    };
    const Cas cas[] = {
        {true, "09:59", "02/03/2026", true, true},   {true, "09:59", "02/03/2026", true, false},
        {true, "23:00", "01/03/2026", true, false},  {true, "10:00", "02/03/2026", false, false},
        {true, "08:00", "03/03/2026", false, false}, {false, "09:59", "01/03/2026", false, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.heure) + " " + c.jour);
        alarme_par_defaut(courante, ctx);
        dialogues.confirmations.clear();
        dialogues.reponses = {c.reponse};
        montre();
        (c.date ? saisie.champ6 : saisie.champ4)->click();
        saisie.champ1->setText(c.heure);
        saisie.champ7->setText(c.jour);
        QTest::mouseClick(saisie.ok1, Qt::LeftButton);
        EXPECT_EQ(dialogues.confirmations,
                  c.demande ? std::vector<Message>{question} : std::vector<Message>{});
        const bool garde = !c.demande || c.reponse;
        EXPECT_EQ(saisie.isVisible(), !garde);
        EXPECT_EQ(saisie.champ1->text(), c.heure);
        EXPECT_EQ(saisie.champ7->text(), c.jour);
        if (garde) {
            EXPECT_EQ(courante.date(), c.jour);
        }
        saisie.hide();
    }
}

TEST_F(SaisieAlarme, TexteBorneEtFermetureSansOK) {
    montre();
    saisie.champ2->setPlainText(QString(250, QLatin1Char('x')));
    EXPECT_EQ(saisie.champ2->toPlainText().size(), 200);
    // A line break is stored as two bytes: 99 x, a break, 99 y fill the 200; never half a break.
    saisie.champ2->setPlainText(QString(99, 'x') + "\n" + QString(120, 'y'));
    EXPECT_EQ(saisie.champ2->toPlainText(), QString(99, 'x') + "\n" + QString(99, 'y'));
    saisie.champ2->setPlainText(QString(199, 'x') + "\ny");
    EXPECT_EQ(saisie.champ2->toPlainText(), QString(199, 'x'));
    saisie.champ3->setChecked(true);
    saisie.reject(); // closed without OK: nothing copied back
    EXPECT_EQ(courante.texte(), "Rappel");
    EXPECT_FALSE(courante.affiche_texte());
}

// Every byte 01..FF of alarm texts read from the alarm file by the list, shown
// in this dialog and stored back by "OK": only a lone CR or LF becomes CR LF.
TEST_F(SaisieAlarme, ChaqueOctetDuTexteRevientTelQuel) {
    std::vector<EnregistrementAlarme> alarmes;
    for (const std::string& texte : test::tous_les_octets(128))
        alarmes.push_back(test::alarme("07:30", texte));
    rep.ecrit("ALARME", test::octets_de(alarmes));
    Talarme_horloge liste{ctx, reglages, courante, saisie};
    liste.show();
    for (int n = 0; n < static_cast<int>(alarmes.size()); ++n) {
        liste.liste->setCurrentRow(n);
        QTimer::singleShot(0, &saisie, [this] { QTest::mouseClick(saisie.ok1, Qt::LeftButton); });
        QTest::mouseClick(liste.modifier1, Qt::LeftButton);
        alarmes[n].regle_texte(
            std::regex_replace(alarmes[n].texte(), std::regex("\r\n|\r|\n"), "\r\n"));
    }
    EXPECT_EQ(rep.lit("ALARME"), test::octets_de(alarmes));
    EXPECT_TRUE(dialogues.erreurs.empty());
    liste.hide();
}

TEST_F(SaisieAlarme, ChoixEtEssaiDuSon) {
    const std::string ancien = rep.chemin() + "coucou.wav";
    struct Cas {
        QString choisi;
        std::string son; // stored afterwards
        bool message;
    };
    const Cas cas[] = {
        {QString(), ancien, false}, // cancelled: the chooser gives back its preset
        {"/usr/share/sons/gong.wav", "/usr/share/sons/gong.wav", false},
        {QString::fromStdString("/" + std::string(70, 'x') + ".wav"), ancien, true},
        {QString::fromStdString(rep.chemin() + std::string(50, 'n') + ".wav"),
         std::string(50, 'n') + ".wav", false},
        {QString::fromUtf8("/tmp/\xE6\x97\xA5.wav"), ancien, true},
        {QString::fromUtf8("/tmp/été.wav"), "/tmp/\xE9t\xE9.wav", false},
    };
    montre();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.choisi.toStdString());
        alarme_par_defaut(courante, ctx);
        saisie.donnee_champ();
        dialogues.erreurs.clear();
        dialogues.filtres.clear();
        if (!c.choisi.isNull())
            dialogues.fichiers.push_back(c.choisi);
        QTest::mouseClick(saisie.champ8, Qt::LeftButton);
        EXPECT_EQ(dialogues.filtres, std::vector<QString>{"sons|*.wav"});
        EXPECT_EQ(courante.son(), c.son);
        EXPECT_EQ(dialogues.erreurs.size(), c.message ? 1u : 0u);
        EXPECT_EQ(saisie.champ8->text(), QString::fromLatin1(c.son.data(), c.son.size()));
    }
    courante.regle_son("sonnette.wav");
    QTest::mouseClick(saisie.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(son.appels, std::vector<std::string>{rep.chemin() + "sonnette.wav"});
}

} // namespace
} // namespace quorvel
