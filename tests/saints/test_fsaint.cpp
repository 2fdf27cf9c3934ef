// The saints browser on a temporary data directory: what it shows, what it
// stores in the saints files and when.
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/horloge.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace quorvel {
namespace {

using test::RepertoireTemp;

// A saints file as the installation brings it: one record per day, names given.
std::string fichier_saints(int mois, int jours, const std::string& prefixe) {
    std::string octets;
    for (int j = 1; j <= jours; ++j) {
        std::string r(taille_saint, '\0');
        const std::string date = (j < 10 ? "0" : "") + std::to_string(j) + "/" +
                                 (mois < 10 ? "0" : "") + std::to_string(mois);
        r.replace(0, date.size(), date);
        const std::string nom = prefixe + std::to_string(j);
        r.replace(6, nom.size(), nom);
        octets += r;
    }
    return octets;
}

std::string nom_du_fichier(const std::string& octets, int n) {
    const std::string r = octets.substr(static_cast<std::size_t>(n) * taille_saint, taille_saint);
    return std::string(r.c_str() + 6);
}

class Fsaint : public ::testing::Test {
public:
    Fsaint() : ctx(horloge, son, dialogues, rep.chemin()) {
        config_defaut(reglages, rep.chemin());
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        rep.ecrit("SAINT12", fichier_saints(12, 31, "Dec "));
        fenetre = std::make_unique<Tsaints>(ctx, reglages, tampon);
    }
    ~Fsaint() override { pannes::desarme(); }

    void clique_ligne(int n) {
        QListWidget* l = fenetre->liste;
        l->scrollToItem(l->item(n));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                          l->visualItemRect(l->item(n)).center());
    }
    std::filesystem::file_time_type date_modif(const std::string& nom) const {
        return std::filesystem::last_write_time(rep.fichier(nom));
    }

    RepertoireTemp rep;
    HorlogeReglable horloge{2024, 3, 5};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx;
    Reglages reglages;
    EnregistrementSaint tampon;
    std::unique_ptr<Tsaints> fenetre;
};

TEST_F(Fsaint, OpensAtJanuaryWithTheFirstDaySelected) {
    fenetre->show();
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Janvier "));
    ASSERT_EQ(fenetre->liste->count(), 31);
    EXPECT_EQ(fenetre->liste->currentRow(), 0);
    EXPECT_EQ(fenetre->liste->item(0)->text(), QStringLiteral("01/01 - Jan 1"));
    EXPECT_EQ(fenetre->liste->item(30)->text(), QStringLiteral("31/01 - Jan 31"));
    EXPECT_EQ(fenetre->champ->text(), QStringLiteral("Jan 1"));

    // A new showing starts again at January whatever was shown before.
    fenetre->plus1Click();
    fenetre->hide();
    fenetre->show();
    EXPECT_EQ(fenetre->mois_affiche(), 1);
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Janvier "));
    EXPECT_TRUE(dialogues.erreurs.empty());

    QTest::keyClick(fenetre.get(), Qt::Key_F1);
    ASSERT_EQ(dialogues.aides.size(), 1u);
    EXPECT_EQ(dialogues.aides[0].fichier, QString::fromStdString(rep.chemin() + "DOC.HLP"));
    EXPECT_EQ(dialogues.aides[0].sujet, 6);
}

TEST_F(Fsaint, MonthButtonsWrapAroundTheYearAndCreateMissingFiles) {
    fenetre->show();
    QTest::mouseClick(fenetre->moins1, Qt::LeftButton);
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Décembre "));
    EXPECT_EQ(fenetre->champ->text(), QStringLiteral("Dec 1"));
    QTest::mouseClick(fenetre->plus1, Qt::LeftButton);
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Janvier "));
    QTest::mouseClick(fenetre->plus1, Qt::LeftButton);
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Février "));
    // Made on the spot; today is in a leap year.
    EXPECT_EQ(fenetre->liste->count(), 29);
    EXPECT_EQ(rep.taille("SAINT02"), 29 * static_cast<long long>(taille_saint));
    EXPECT_EQ(fenetre->liste->item(28)->text(), QStringLiteral("29/02 - "));
    EXPECT_EQ(fenetre->liste->currentRow(), 0);
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// Each way of leaving an edited line stores the name in the record edited.
TEST_F(Fsaint, StoresARenamedSaintWhenTheUserMovesOn) {
    struct Cas {
        const char* nom;
        std::function<void(Fsaint&)> action;
        int ligne_choisie;
    };
    const std::vector<Cas> cas = {
        {"click on another line", [](Fsaint& t) { t.clique_ligne(4); }, 4},
        {"arrow key in the list",
         [](Fsaint& t) { QTest::keyClick(t.fenetre->liste, Qt::Key_Down); }, 1},
        {"click on the line being edited", [](Fsaint& t) { t.clique_ligne(0); }, 0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        fenetre->show();
        fenetre->champ->setText(QStringLiteral("Sainte Éloïse"));
        c.action(*this);

        const std::string octets = rep.lit("SAINT01");
        EXPECT_EQ(nom_du_fichier(octets, 0), "Sainte \xC9lo\xEFse");
        EXPECT_EQ(nom_du_fichier(octets, 1), "Jan 2");
        EXPECT_EQ(fenetre->liste->item(0)->text(), QStringLiteral("01/01 - Sainte Éloïse"));
        EXPECT_EQ(fenetre->liste->currentRow(), c.ligne_choisie);
        EXPECT_EQ(fenetre->index_saint(), c.ligne_choisie);
        EXPECT_EQ(fenetre->champ->text(), c.ligne_choisie == 0
                                              ? QStringLiteral("Sainte Éloïse")
                                              : QStringLiteral("Jan %1").arg(c.ligne_choisie + 1));
        fenetre->hide();
    }
    EXPECT_TRUE(dialogues.erreurs.empty());
}

TEST_F(Fsaint, CharacterTypedIntoTheListStoresTheEdit) {
    fenetre->show();
    clique_ligne(2);
    fenetre->champ->setText(QStringLiteral("Saint Typé"));
    QTest::keyClick(fenetre->liste, Qt::Key_X);
    EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 2), "Saint Typ\xE9");
}

TEST_F(Fsaint, OkStoresThePendingEditAndCloses) {
    fenetre->show();
    clique_ligne(9);
    fenetre->champ->setText(QString(35, QLatin1Char('a'))); // longer than the 29 stored
    QTest::mouseClick(fenetre->ok1, Qt::LeftButton);
    EXPECT_FALSE(fenetre->isVisible());
    EXPECT_EQ(fenetre->result(), QDialog::Accepted);
    EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 9), std::string(29, 'a'));
}

TEST_F(Fsaint, MonthChangeDropsThePendingEdit) {
    fenetre->show();
    const std::string avant = rep.lit("SAINT01");
    fenetre->champ->setText(QStringLiteral("Perdu"));
    QTest::mouseClick(fenetre->plus1, Qt::LeftButton);
    QTest::mouseClick(fenetre->moins1, Qt::LeftButton);
    EXPECT_EQ(rep.lit("SAINT01"), avant);
    EXPECT_EQ(fenetre->champ->text(), QStringLiteral("Jan 1"));
    // And what is shown after the change is not taken for an edit.
    clique_ligne(3);
    EXPECT_EQ(rep.lit("SAINT01"), avant);
}

TEST_F(Fsaint, NameLongerThan29CharactersIsStoredCut) {
    fenetre->show();
    fenetre->champ->setText(QString(35, QLatin1Char('a')));
    clique_ligne(1);
    EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 0), std::string(29, 'a'));
    EXPECT_EQ(fenetre->liste->item(0)->text(),
              QStringLiteral("01/01 - ") + QString(29, QLatin1Char('a')));
}

TEST_F(Fsaint, BrowsingWithoutEditingWritesNothing) {
    // A stored name of 30 characters, longer than an edit may store: merely
    // passing over it must not cut it.
    std::string octets = fichier_saints(1, 31, "Jan ");
    octets.replace(taille_saint + 6, 30, std::string(30, 'b'));
    rep.ecrit("SAINT01", octets);
    const auto date = date_modif("SAINT01");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

    fenetre->show();
    clique_ligne(1);
    EXPECT_EQ(fenetre->champ->text(), QString(30, QLatin1Char('b')));
    clique_ligne(5);
    QTest::keyClick(fenetre->liste, Qt::Key_Up);
    QTest::mouseClick(fenetre->ok1, Qt::LeftButton);

    EXPECT_EQ(rep.lit("SAINT01"), octets);
    EXPECT_EQ(date_modif("SAINT01"), date);
}

TEST_F(Fsaint, EmptySaintsFileShowsAnEmptyListWithoutError) {
    rep.ecrit("SAINT01", "");
    fenetre->show();
    EXPECT_EQ(fenetre->liste->count(), 0);
    EXPECT_TRUE(fenetre->champ->text().isEmpty());
    fenetre->champ->setText(QStringLiteral("Rien"));
    QTest::mouseClick(fenetre->ok1, Qt::LeftButton);
    EXPECT_FALSE(fenetre->isVisible());
    EXPECT_EQ(rep.taille("SAINT01"), 0);
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// A file error at any step of a store is reported, and the next edit is
// stored normally: the step's guard flag is not left cleared.
TEST_F(Fsaint, FileErrorDuringAStoreIsReportedAndDoesNotBlockLaterEdits) {
    fenetre->show();
    pannes::desarme();
    fenetre->champ->setText(QStringLiteral("Compte"));
    clique_ligne(1);
    const int etapes = pannes::operations();
    ASSERT_GT(etapes, 0);

    for (int k = 1; k <= etapes; ++k) {
        SCOPED_TRACE(k);
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        fenetre->hide();
        fenetre->show();
        dialogues.erreurs.clear();
        fenetre->champ->setText(QStringLiteral("Panne"));
        pannes::arme(k, EIO);
        clique_ligne(1);
        pannes::desarme();
        ASSERT_EQ(dialogues.erreurs.size(), 1u);
        EXPECT_EQ(dialogues.erreurs[0].titre, QStringLiteral("Quorvel V2.32"));
        EXPECT_TRUE(dialogues.erreurs[0].texte.endsWith(QLatin1Char('.')));

        // What was stored before the failure is still there.
        EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 2), "Jan 3");
        clique_ligne(6);
        fenetre->champ->setText(QStringLiteral("Après"));
        clique_ligne(7);
        EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 6), "Apr\xE8s");
    }
}

} // namespace
} // namespace quorvel
