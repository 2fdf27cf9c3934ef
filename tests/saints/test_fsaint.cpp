// The saints files and their browser on a temporary data directory: what it
// shows, what it stores in the saints files and when.
#include "calendar/contexte.hpp"
#include "calendar/utilitaires.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/horloge.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
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
        std::string r = nombre_zeros(j, 2) + "/" + nombre_zeros(mois, 2) + '\0' + prefixe;
        r += std::to_string(j);
        r.resize(taille_saint, '\0');
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
    EXPECT_EQ(fenetre->affiche_mois->text(), QStringLiteral("Janvier "));
    EXPECT_TRUE(dialogues.erreurs.empty());

    QTest::keyClick(fenetre.get(), Qt::Key_F1);
    ASSERT_EQ(dialogues.aides.size(), 1u);
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

// Each way of leaving an edited line stores the name, cut to the 29 characters
// an edit may store, in the record edited and in no other.
TEST_F(Fsaint, StoresARenamedSaintWhenTheUserMovesOn) {
    const QString tapes[] = {QStringLiteral("Sainte Éloïse"), QString(35, QLatin1Char('a'))};
    const std::string stockes[] = {"Sainte \xC9lo\xEFse", std::string(29, 'a')}; // Windows-1252
    const auto clic = [](int n) { return [n](Fsaint& t) { t.clique_ligne(n); }; };
    const auto touche = [](Qt::Key k) {
        return [k](Fsaint& t) { QTest::keyClick(t.fenetre->liste, k); };
    };
    struct Cas {
        const char* quoi;
        int ligne, nom; // the line edited, the name typed
        std::function<void(Fsaint&)> action;
        int choisie; // the line selected afterwards; -1 once the window has closed
    };
    const Cas cas[] = {
        {"click on another line", 0, 0, clic(4), 4},
        {"arrow key in the list", 0, 0, touche(Qt::Key_Down), 1},
        {"click on the line being edited", 0, 0, clic(0), 0},
        {"character typed into the list", 2, 0, touche(Qt::Key_X), 2},
        {"long name", 0, 1, clic(1), 1},
        {"OK", 9, 1, [](Fsaint& t) { QTest::mouseClick(t.fenetre->ok1, Qt::LeftButton); }, -1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        fenetre->show();
        if (c.ligne != 0)
            clique_ligne(c.ligne);
        fenetre->champ->setText(tapes[c.nom]);
        c.action(*this);

        const std::string octets = rep.lit("SAINT01");
        EXPECT_EQ(nom_du_fichier(octets, c.ligne), stockes[c.nom]);
        EXPECT_EQ(nom_du_fichier(octets, c.ligne + 1), "Jan " + std::to_string(c.ligne + 2));
        EXPECT_EQ(fenetre->liste->item(c.ligne)->text(),
                  QStringLiteral("%1/01 - ").arg(c.ligne + 1, 2, 10, QLatin1Char('0')) +
                      QString::fromLatin1(stockes[c.nom]));
        if (c.choisie < 0) {
            EXPECT_FALSE(fenetre->isVisible());
            EXPECT_EQ(fenetre->result(), QDialog::Accepted);
            continue;
        }
        EXPECT_EQ(fenetre->liste->currentRow(), c.choisie);
        EXPECT_EQ(fenetre->index_saint(), c.choisie);
        const QString montre = QStringLiteral("Jan %1").arg(c.choisie + 1);
        EXPECT_EQ(fenetre->champ->text(), c.choisie == c.ligne ? tapes[c.nom] : montre);
        fenetre->hide();
    }
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// Browsing writes nothing, nor does an edit left by a change of month. A stored
// name of 30 characters, longer than an edit may store, is not cut by passing over it.
TEST_F(Fsaint, BrowsingOrChangingMonthWritesNothing) {
    std::string octets = fichier_saints(1, 31, "Jan ");
    octets.replace(taille_saint + 6, 30, std::string(30, 'b'));
    rep.ecrit("SAINT01", octets);
    const auto date = std::filesystem::last_write_time(rep.fichier("SAINT01"));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

    fenetre->show();
    clique_ligne(1);
    EXPECT_EQ(fenetre->champ->text(), QString(30, QLatin1Char('b')));
    clique_ligne(5);
    QTest::keyClick(fenetre->liste, Qt::Key_Up);
    fenetre->champ->setText(QStringLiteral("Perdu"));
    QTest::mouseClick(fenetre->plus1, Qt::LeftButton);
    QTest::mouseClick(fenetre->moins1, Qt::LeftButton);
    EXPECT_EQ(fenetre->champ->text(), QStringLiteral("Jan 1"));
    // What is shown after the change is not taken for an edit.
    clique_ligne(3);
    QTest::mouseClick(fenetre->ok1, Qt::LeftButton);

    EXPECT_EQ(rep.lit("SAINT01"), octets);
    EXPECT_EQ(std::filesystem::last_write_time(rep.fichier("SAINT01")), date);
}

// Every byte 01..FF in saints' names read into the field, one character typed
// after it, and stored: the name in the file is what was read plus that character.
TEST_F(Fsaint, EveryByteOfANameIsStoredBackAsRead) {
    std::string montants;
    for (int i = 1; i < 256; ++i)
        montants += static_cast<char>(i);
    std::vector<std::string> noms;
    for (const std::string& octets : {montants, std::string(montants.rbegin(), montants.rend())})
        for (std::size_t debut = 0; debut < octets.size(); debut += 28)
            noms.push_back(octets.substr(debut, 28));
    const auto avec_noms = [&](const std::string& suite) {
        std::string octets = fichier_saints(1, 31, "Jan ");
        for (std::size_t n = 0; n < noms.size(); ++n) {
            std::string nom = noms[n] + suite;
            nom.resize(taille_saint - 6, '\0');
            octets.replace(n * taille_saint + 6, nom.size(), nom);
        }
        return octets;
    };
    rep.ecrit("SAINT01", avec_noms(""));
    fenetre->show();
    for (int n = 0; n < static_cast<int>(noms.size()); ++n) {
        clique_ligne(n);
        QTest::keyClicks(fenetre->champ, "+");
    }
    QTest::mouseClick(fenetre->ok1, Qt::LeftButton);
    EXPECT_EQ(rep.lit("SAINT01"), avec_noms("+"));
}

// The spaces and dashes Windows-1252 lacks are stored as their nearest byte; a
// character without one is refused, typed or pasted, and the rest is kept.
TEST_F(Fsaint, CharactersWithoutAByteTypedOrPasted) {
    struct Cas {
        const char16_t* saisi;
        bool colle;
        const char* stocke;
    };
    const Cas cas[] = {
        {u"\u202F", false, "a\xA0"},
        {u"\U0001F600", false, "a"},
        {u"\u2212\U0001F600\u2011\u2009!", true, "a--\xA0!"},
    };
    for (const Cas& c : cas) {
        const QString saisi = QString::fromUtf16(c.saisi);
        SCOPED_TRACE(saisi.toStdString());
        fenetre->show();
        fenetre->champ->setText(QStringLiteral("a"));
        if (c.colle) {
            QGuiApplication::clipboard()->setText(saisi);
            fenetre->champ->paste();
        } else {
            QTest::sendKeyEvent(QTest::Click, fenetre->champ, Qt::Key_unknown, saisi, {});
        }
        QTest::mouseClick(fenetre->ok1, Qt::LeftButton);
        EXPECT_EQ(nom_du_fichier(rep.lit("SAINT01"), 0), c.stocke);
    }
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

// A read that fails while February is listed, at each record in turn: moving
// about then writes nothing (the name January left in the field included), and
// a name typed is stored, the file kept aside first when its list was cut short.
TEST_F(Fsaint, AMonthNotReadWholeIsWrittenOnlyWhereTheUserTyped) {
    const std::string fevrier = fichier_saints(2, 29, "Feb ");
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        rep.ecrit("SAINT02", fevrier);
        std::filesystem::remove(rep.fichier("SAINT02.illisible"));
        fenetre->hide();
        fenetre->show();
        clique_ligne(4);
        dialogues.erreurs.clear();
        pannes::arme(n, 0); // the first read from the n-th operation on comes back short
        QTest::mouseClick(fenetre->plus1, Qt::LeftButton);
        pannes::desarme();
        if (dialogues.erreurs.empty())
            break;
        const int lignes = fenetre->liste->count();
        for (int l = 0; l < std::min(lignes, 2); ++l)
            clique_ligne(l);
        EXPECT_EQ(rep.lit("SAINT02"), fevrier);
        if (lignes == 0)
            continue;
        QTest::keyClicks(fenetre->champ, "X");
        QTest::mouseClick(fenetre->ok1, Qt::LeftButton);
        const int l = std::min(lignes, 2) - 1;
        EXPECT_EQ(nom_du_fichier(rep.lit("SAINT02"), l), "Feb " + std::to_string(l + 1) + "X");
        const bool coupee = lignes < 29;
        EXPECT_EQ(rep.existe("SAINT02.illisible") ? rep.lit("SAINT02.illisible") : "",
                  coupee ? fevrier : "");
        EXPECT_EQ(
            std::count_if(dialogues.erreurs.begin(), dialogues.erreurs.end(),
                          [](const auto& m) { return m.texte.contains(QStringLiteral("gardé")); }),
            coupee ? 1 : 0);
    }
    EXPECT_GT(n, 29) << "every record read was made to fail";
}

// The saints files themselves.
struct Saints : ::testing::Test {
    RepertoireTemp rep;
    EnregistrementSaint s;
    std::string saint = "avant";
};

TEST_F(Saints, FichierCreeAvecLesDatesEtDesNomsVides) {
    saint_du_jour(rep.chemin(), 10, 3, s, saint);
    EXPECT_EQ(saint, "");
    const std::string f = rep.lit("SAINT03");
    ASSERT_EQ(f.size(), 31u * 37);
    EXPECT_EQ(f.substr(0, 37), std::string("01/03") + std::string(32, '\0'));
    EXPECT_EQ(f.substr(30 * 37, 6), std::string("31/03\0", 6));
    // February gets 29 days whatever today's year, so
    // the 29th of a later leap year has its saint.
    auto f2 = ouvre_saints(rep.chemin(), 2);
    ASSERT_EQ(f2.nombre(), 29);
    lit_saint(f2, 28, s);
    ferme_saints(f2);
    EXPECT_EQ(s.date(), "29/02");
}

TEST_F(Saints, SaintDuJourLeDernierGagneAucunGardeLePrecedent) {
    auto f = ouvre_saints(rep.chemin(), 3);
    lit_saint(f, 4, s);
    s.regle_nom("Sainte Olive de la Tr\xE8s Longue");
    ecrit_saint(f, 4, s);
    s.regle_date("05/03");
    s.regle_nom("Second");
    ecrit_saint(f, 6, s); // a second record for the 5th
    s.regle_date("x5/03");
    s.regle_nom("Jamais");
    ecrit_saint(f, 7, s);
    ferme_saints(f);
    saint_du_jour(rep.chemin(), 5, 3, s, saint);
    EXPECT_EQ(saint, "Second");
    saint = "avant";
    saint_du_jour(rep.chemin(), 8, 3, s, saint);
    EXPECT_EQ(saint, "avant");
    // 30 characters in the field, 20 shown.
    auto g = ouvre_saints(rep.chemin(), 3);
    lit_saint(g, 4, s);
    EXPECT_EQ(s.nom(), "Sainte Olive de la Tr\xE8s Longue");
    s.regle_date("05/03");
    s.regle_nom(std::string(40, 'n'));
    EXPECT_EQ(s.nom().size(), 30u);
    ecrit_saint(g, 6, s);
    ferme_saints(g);
    saint_du_jour(rep.chemin(), 5, 3, s, saint);
    EXPECT_EQ(saint, std::string(20, 'n'));
}

TEST_F(Saints, EnregistrementSansTerminateurNeDebordePas) {
    rep.ecrit("SAINT04", std::string(37 * 2, 'Z') + std::string(10, 'q'));
    saint_du_jour(rep.chemin(), 1, 4, s, saint);
    EXPECT_EQ(saint, "avant");
    auto f = ouvre_saints(rep.chemin(), 4);
    EXPECT_EQ(f.nombre(), 2);
    lit_saint(f, 0, s);
    EXPECT_EQ(s.date(), "ZZZZZZ");
    EXPECT_EQ(s.nom().size(), 31u);
}

} // namespace
} // namespace quorvel
