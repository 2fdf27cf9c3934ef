// The alarm list dialog, driven offscreen; the file checked byte by byte.
#include "alarms/alarme_horloge.hpp"
#include "alarms/saisie_alarme.hpp"
#include "outils_alarmes.hpp"
#include "plateforme/ressources.hpp"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <functional>

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
        EXPECT_TRUE(liste.creer1->isEnabled());
        EXPECT_TRUE(liste.ok1->isEnabled());
        EXPECT_EQ(liste.modifier1->isEnabled(), liste.supprimer1->isEnabled());
        return liste.modifier1->isEnabled();
    }

    EnregistrementAlarme courante;
    Tsaisie_alarme saisie{ctx, reglages, courante};
    Talarme_horloge liste{ctx, reglages, courante, saisie};
};

TEST_F(ListeAlarmes, FichierAbsentListeVideCentree) {
    ouvre();
    EXPECT_EQ(liste.pos(), QPoint(200 + (411 - 275) / 2, 100 + (455 - 307) / 2));
    EXPECT_EQ(rep.taille("ALARME"), 0);
    EXPECT_EQ(liste.liste->count(), 0);
    EXPECT_FALSE(boutons_actifs());
    // Nothing to change or delete: the buttons do nothing even when called.
    liste.modifier1Click();
    liste.supprimer1Click();
    EXPECT_TRUE(dialogues.confirmations.empty());
}

TEST_F(ListeAlarmes, AjoutDeLaPremiereAlarmeSansChangement) {
    ouvre();
    repond_saisie();
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    EXPECT_EQ(lignes(), QStringList{"10:00 : Rappel"});
    EXPECT_EQ(liste.liste->currentRow(), 0);
    EXPECT_TRUE(boutons_actifs());
    EnregistrementAlarme defaut;
    alarme_par_defaut(defaut, ctx);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({defaut}));
}

TEST_F(ListeAlarmes, LignesDeLaListe) {
    const std::string long_texte = std::string(50, 'a') + "suite";
    rep.ecrit("ALARME", octets_de({alarme("07:30", "Rappel"),
                                   alarme("18:00", "Rappel", false, "24/12/2026"),
                                   alarme("08:00", long_texte)}));
    ouvre();
    EXPECT_EQ(lignes(), (QStringList{"07:30 : Rappel", "24/12/2026 - 18:00 : Rappel",
                                     "08:00 : " + QString(50, 'a')}));
    EXPECT_EQ(liste.liste->currentRow(), 0);
    EXPECT_EQ(liste.liste->visualItemRect(liste.liste->item(1)).height(), 16);
    EXPECT_EQ(courante, alarme("08:00", long_texte))
        << "the list is read through the current record";
}

TEST_F(ListeAlarmes, AjoutApresUnEnregistrementIncomplet) {
    const auto a = alarme("07:00", "un"), b = alarme("08:00", "deux");
    rep.ecrit("ALARME", octets_de({a, b}) + std::string(34, 'Z'));
    ouvre();
    EXPECT_EQ(lignes().size(), 2);
    repond_saisie([this] { saisie.champ2->setPlainText("trois"); });
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    EXPECT_EQ(liste.liste->currentRow(), 2);
    EXPECT_EQ(lignes().at(2), "10:00 : trois");
    EXPECT_EQ(rep.taille("ALARME"), 849);
    EXPECT_EQ(rep.lit("ALARME").substr(0, 566), octets_de({a, b}));
}

TEST_F(ListeAlarmes, Modification) {
    const auto a = alarme("07:00", "un"), b = alarme("08:00", "deux"), c = alarme("09:00", "trois");
    rep.ecrit("ALARME", octets_de({a, b, c}));
    ouvre();
    liste.liste->setCurrentRow(1);
    repond_saisie([this] {
        EXPECT_EQ(saisie.champ2->toPlainText(), "deux") << "the selected alarm is the one edited";
        saisie.champ2->setPlainText("DEUX");
    });
    QTest::mouseClick(liste.modifier1, Qt::LeftButton);
    EXPECT_EQ(lignes(), (QStringList{"07:00 : un", "08:00 : DEUX", "09:00 : trois"}));
    EXPECT_EQ(liste.liste->currentRow(), 1);
    auto b2 = b;
    b2.regle_texte("DEUX");
    EXPECT_EQ(rep.lit("ALARME"), octets_de({a, b2, c}));
}

TEST_F(ListeAlarmes, SuppressionAvecOKEtAnnuler) {
    const std::vector<EnregistrementAlarme> quatre{alarme("07:00", "un"), alarme("08:00", "deux"),
                                                   alarme("09:00", "trois"),
                                                   alarme("10:00", "quatre")};
    rep.ecrit("ALARME", octets_de(quatre));
    ouvre();
    liste.liste->setCurrentRow(2);
    dialogues.reponses = {false};
    QTest::mouseClick(liste.supprimer1, Qt::LeftButton);
    const Message question{"Confirmation", "Désirez-vous supprimer cette alarme"};
    EXPECT_EQ(dialogues.confirmations, std::vector<Message>{question});
    EXPECT_EQ(rep.lit("ALARME"), octets_de(quatre));
    EXPECT_EQ(lignes().size(), 4);

    dialogues.reponses = {true};
    QTest::mouseClick(liste.supprimer1, Qt::LeftButton);
    EXPECT_EQ(lignes(), (QStringList{"07:00 : un", "08:00 : deux", "10:00 : quatre"}));
    EXPECT_EQ(liste.liste->currentRow(), 0);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({quatre[0], quatre[1], quatre[3]}));

    // Deleting the last one leaves an empty file and the buttons off.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(boutons_actifs());
        dialogues.reponses = {true};
        QTest::mouseClick(liste.supprimer1, Qt::LeftButton);
    }
    EXPECT_EQ(liste.liste->count(), 0);
    EXPECT_FALSE(boutons_actifs());
    EXPECT_EQ(rep.taille("ALARME"), 0);
}

TEST_F(ListeAlarmes, AjoutRateSignaleEtNeToucheRien) {
    const std::string avant = octets_de({alarme("07:00", "un")});
    rep.ecrit("ALARME", avant);
    ouvre();
    repond_saisie();
    pannes::arme(3, ENOSPC); // open, size, then the write of the new record
    QTest::mouseClick(liste.creer1, Qt::LeftButton);
    pannes::desarme();
    const Message disque_plein{"Quorvel V2.32", "Disque plein."};
    EXPECT_EQ(dialogues.erreurs, std::vector<Message>{disque_plein});
    EXPECT_EQ(rep.lit("ALARME"), avant);
    EXPECT_EQ(lignes().size(), 1);
}

TEST_F(ListeAlarmes, FichierHostileAfficheCeQuiPeutLEtre) {
    std::string octets;
    for (int v = 0; v < 256; ++v)
        octets += std::string(283, static_cast<char>(v));
    rep.ecrit("ALARME", octets + "07:");
    ouvre();
    EXPECT_EQ(liste.liste->count(), 256);
    EXPECT_EQ(lignes().at(0), " -  : ")
        << "an all-zero record is a one-date alarm with empty fields";
    for (const QString& l : lignes())
        EXPECT_LE(l.size(), 10 + 3 + 5 + 3 + 50);
}

TEST_F(ListeAlarmes, ImagesDesBoutonsSelonLeModeVideo) {
    for (int mode : {1, 2}) {
        reglages.regle_video(static_cast<std::int16_t>(mode));
        ouvre();
        const std::pair<QPushButton*, QString> boutons[] = {{liste.creer1, "plus"},
                                                            {liste.modifier1, "pm"},
                                                            {liste.supprimer1, "moins"},
                                                            {liste.ok1, "coche"}};
        for (const auto& [b, nom] : boutons) {
            const QPixmap attendu = image_ressource(nom + QString::number(mode));
            if (attendu.isNull())
                GTEST_SKIP() << "artwork not built";
            EXPECT_EQ(b->iconSize(), attendu.size());
            EXPECT_EQ(
                b->icon().pixmap(attendu.size()).toImage().convertToFormat(QImage::Format_ARGB32),
                attendu.toImage().convertToFormat(QImage::Format_ARGB32));
        }
        liste.hide();
    }
}

} // namespace
} // namespace quorvel
