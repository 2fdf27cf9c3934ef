// The saints files and their browser on a temporary data directory: what it
// shows, what it stores in the saints files and when.
#include "calendar/utilitaires.hpp"
#include "commun/bureau.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

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
    return octets.substr(n * taille_saint + 6, taille_saint - 6).c_str();
}

class Fsaint : public ::testing::Test, public test::Bureau {
public:
    Fsaint() {
        config_defaut(reglages, rep.chemin());
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        rep.ecrit("SAINT12", fichier_saints(12, 31, "Dec "));
        fenetre = std::make_unique<Tsaints>(ctx, reglages, tampon);
    }

    void clique_ligne(int n) {
        QListWidget* l = fenetre->liste;
        l->scrollToItem(l->item(n));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                          l->visualItemRect(l->item(n)).center());
    }
    void clique(QPushButton* bouton) { QTest::mouseClick(bouton, Qt::LeftButton); }
    void rouvre() {
        fenetre->hide();
        fenetre->show();
    }

    EnregistrementSaint tampon;
    std::unique_ptr<Tsaints> fenetre;
};

// Each showing starts at January with the first day selected; the month
// buttons go round the year and make a missing file on the spot.
TEST_F(Fsaint, SOuvreEnJanvierEtLesMoisFontLeTourDeLAnnee) {
    const auto montre = [&](const char* mois, const char* premier) {
        EXPECT_EQ(fenetre->affiche_mois->text(), QString::fromUtf8(mois));
        EXPECT_EQ(fenetre->liste->currentRow(), 0);
        EXPECT_EQ(fenetre->champ->text(), QString::fromUtf8(premier));
    };
    fenetre->show();
    montre("Janvier ", "Jan 1");
    ASSERT_EQ(fenetre->liste->count(), 31);
    EXPECT_EQ(fenetre->liste->item(0)->text(), QStringLiteral("01/01 - Jan 1"));
    EXPECT_EQ(fenetre->liste->item(30)->text(), QStringLiteral("31/01 - Jan 31"));
    clique(fenetre->moins1);
    montre("Décembre ", "Dec 1");
    clique(fenetre->plus1);
    clique(fenetre->plus1);
    montre("Février ", "");
    EXPECT_EQ(fenetre->liste->count(), 29);
    EXPECT_EQ(rep.taille("SAINT02"), 29 * static_cast<long long>(taille_saint));
    EXPECT_EQ(fenetre->liste->item(28)->text(), QStringLiteral("29/02 - "));
    rouvre();
    montre("Janvier ", "Jan 1");
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// Each way of leaving an edited line stores the name, cut to the 29 characters
// an edit may store, in the record edited and in no other: another line, OK,
// Escape, the close box, a change of month.
TEST_F(Fsaint, UnNomRenommeEstEnregistreQuandOnQuitteLaLigne) {
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
        int choisie; // the line selected afterwards; -1 closed by OK, -2 closed otherwise,
                     // -3 another month shown
    };
    const Cas cas[] = {
        {"clic sur une autre ligne", 0, 0, clic(4), 4},
        {"flèche dans la liste", 0, 0, touche(Qt::Key_Down), 1},
        {"clic sur la ligne en cours", 0, 0, clic(0), 0},
        {"caractère tapé dans la liste", 2, 0, touche(Qt::Key_X), 2},
        {"nom long", 0, 1, clic(1), 1},
        {"OK", 9, 1, [](Fsaint& t) { t.clique(t.fenetre->ok1); }, -1},
        {"Échap", 5, 0, [](Fsaint& t) { QTest::keyClick(t.fenetre.get(), Qt::Key_Escape); }, -2},
        {"case de fermeture", 6, 1, [](Fsaint& t) { t.fenetre->close(); }, -2},
        {"mois suivant", 3, 0, [](Fsaint& t) { t.clique(t.fenetre->plus1); }, -3},
        {"mois précédent", 7, 1, [](Fsaint& t) { t.clique(t.fenetre->moins1); }, -3},
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
        if (c.choisie == -3) {
            EXPECT_NE(fenetre->affiche_mois->text(), QStringLiteral("Janvier "));
            fenetre->hide();
            continue;
        }
        EXPECT_EQ(fenetre->liste->item(c.ligne)->text(),
                  QStringLiteral("%1/01 - ").arg(c.ligne + 1, 2, 10, QLatin1Char('0')) +
                      QString::fromLatin1(stockes[c.nom]));
        if (c.choisie < 0) {
            EXPECT_FALSE(fenetre->isVisible());
            EXPECT_EQ(fenetre->result(), c.choisie == -1 ? QDialog::Accepted : QDialog::Rejected);
            continue;
        }
        EXPECT_EQ(fenetre->liste->currentRow(), c.choisie);
        EXPECT_EQ(fenetre->index_saint(), c.choisie);
        EXPECT_EQ(fenetre->champ->text(), c.choisie == c.ligne
                                              ? tapes[c.nom]
                                              : QStringLiteral("Jan %1").arg(c.choisie + 1));
        fenetre->hide();
    }
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// Browsing writes nothing, nor does a change of month. A stored name of 30
// characters, longer than an edit may store, is not cut by passing over it. An
// empty file shows an empty list and stays empty.
TEST_F(Fsaint, ParcourirOuChangerDeMoisNEcritRien) {
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
    clique(fenetre->plus1);
    clique(fenetre->moins1);
    EXPECT_EQ(fenetre->champ->text(), QStringLiteral("Jan 1"));
    // What is shown after the change is not taken for an edit.
    clique_ligne(3);
    clique(fenetre->ok1);
    EXPECT_EQ(rep.lit("SAINT01"), octets);
    EXPECT_EQ(std::filesystem::last_write_time(rep.fichier("SAINT01")), date);

    rep.ecrit("SAINT01", "");
    fenetre->show();
    EXPECT_EQ(fenetre->liste->count(), 0);
    EXPECT_TRUE(fenetre->champ->text().isEmpty());
    fenetre->champ->setText(QStringLiteral("Rien"));
    clique(fenetre->ok1);
    EXPECT_FALSE(fenetre->isVisible());
    EXPECT_EQ(rep.taille("SAINT01"), 0);
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// Every byte 01..FF in saints' names read into the field, one character typed
// after it, and stored: the name in the file is what was read plus that character.
TEST_F(Fsaint, ChaqueOctetDUnNomRevientTelQuel) {
    const std::vector<std::string> noms = test::tous_les_octets(28);
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
    clique(fenetre->ok1);
    EXPECT_EQ(rep.lit("SAINT01"), avec_noms("+"));
}

// A file error at any step of a store is reported, and the next edit is
// stored normally: the step's guard flag is not left cleared.
TEST_F(Fsaint, UnePanneALEnregistrementEstSignaleeSansBloquerLaSuite) {
    fenetre->show();
    pannes::desarme();
    fenetre->champ->setText(QStringLiteral("Compte"));
    clique_ligne(1);
    const int etapes = pannes::operations();
    ASSERT_GT(etapes, 0);
    for (int k = 1; k <= etapes; ++k) {
        SCOPED_TRACE(k);
        rep.ecrit("SAINT01", fichier_saints(1, 31, "Jan "));
        rouvre();
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
TEST_F(Fsaint, UnMoisLuEnPartieNEstEcritQueLaOuLUtilisateurTape) {
    const std::string fevrier = fichier_saints(2, 29, "Feb ");
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        rep.ecrit("SAINT02", fevrier);
        std::filesystem::remove(rep.fichier("SAINT02.illisible"));
        rouvre();
        clique_ligne(4);
        dialogues.erreurs.clear();
        pannes::arme(n, 0); // the first read from the n-th operation on comes back short
        clique(fenetre->plus1);
        pannes::desarme();
        if (dialogues.erreurs.empty())
            break;
        if (fenetre->mois_affiche() != 2)
            continue; // the failure fell on January's own store, before the change
        const int lignes = fenetre->liste->count();
        for (int l = 0; l < std::min(lignes, 2); ++l)
            clique_ligne(l);
        EXPECT_EQ(rep.lit("SAINT02"), fevrier);
        if (lignes == 0)
            continue;
        QTest::keyClicks(fenetre->champ, "X");
        clique(fenetre->ok1);
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

// The saint of the day is the last record of the date, cut to 20 characters
// (the field holds 30); where none is dated so, there is no saint.
// A record without a terminator stays within its fields.
TEST(Saints, SaintDuJourLeDernierGagneSinonAucun) {
    RepertoireTemp rep;
    EnregistrementSaint s;
    std::string saint = "avant";
    auto f = ouvre_saints(rep.chemin(), 3);
    const auto pose = [&](int n, const char* date, const std::string& nom) {
        s.regle_date(date);
        s.regle_nom(nom);
        ecrit_saint(f, n, s);
    };
    pose(4, "05/03", "Premier");
    pose(6, "05/03", std::string(40, 'n')); // a second record for the 5th
    pose(7, "x5/03", "Jamais");
    lit_saint(f, 6, s);
    EXPECT_EQ(s.nom(), std::string(30, 'n'));
    ferme_saints(f);
    saint_du_jour(rep.chemin(), 5, 3, s, saint);
    EXPECT_EQ(saint, std::string(20, 'n'));
    saint_du_jour(rep.chemin(), 8, 3, s, saint);
    EXPECT_EQ(saint, "");

    rep.ecrit("SAINT04", std::string(37 * 2, 'Z') + std::string(10, 'q'));
    saint = "avant";
    saint_du_jour(rep.chemin(), 1, 4, s, saint);
    EXPECT_EQ(saint, "");
    auto g = ouvre_saints(rep.chemin(), 4);
    EXPECT_EQ(g.nombre(), 2);
    lit_saint(g, 0, s);
    EXPECT_EQ(s.date(), "ZZZZZZ");
    EXPECT_EQ(s.nom().size(), 31u);
}

} // namespace
} // namespace quorvel
