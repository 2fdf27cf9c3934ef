// The hourly agenda reminder, the current hour on today's page, and the purge.
#include "banc.hpp"
#include "calendar/dates.hpp"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {
// Sets bell k of a date in its agenda file, as an earlier run would have left it.
void pose_cloche(RepertoireTemp& rep, int j, int m, int a, int k) {
    std::string eng(806, '\0');
    eng[793 + k - 1] = 1;
    rep.ecrit(fichier_agenda_jour(j, m, a), eng);
}
int sonneries(const Banc& b) {
    int n = 0;
    for (const auto& s : b.son.appels)
        if (s.find("coucou.wav") != std::string::npos) ++n;
    return n;
}
} // namespace

TEST(Rappel, LaClocheSonneUneFoisQuandSonHeureCommence) {
    Banc b(2026, 3, 3, 9, 40);
    pose_cloche(b.rep, 3, 3, 2026, 3); // 10h00
    TForm1& f = b.demarre();
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 0);
    b.horloge.regle(2026, 3, 3, 10, 0, 10);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 1);
    EXPECT_EQ(b.son.appels.back(), b.etat->ctx.chemin_son(b.etat->reglages.son_alarme()));
    b.horloge.regle(2026, 3, 3, 10, 30);
    f.Timer1Timer();
    b.horloge.regle(2026, 3, 3, 11, 0, 20);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 1);
}

TEST(Rappel, PasDeSonneriePourLHeureDuDemarrage) {
    Banc b(2026, 3, 3, 10, 10);
    pose_cloche(b.rep, 3, 3, 2026, 3);
    TForm1& f = b.demarre();
    f.Timer1Timer();
    b.horloge.regle(2026, 3, 3, 10, 40);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 0);
}

TEST(Rappel, LaNuitNeCompteRienEtHuitHeuresSonne) {
    Banc b(2026, 3, 3, 21, 0);
    pose_cloche(b.rep, 4, 3, 2026, 1);
    TForm1& f = b.demarre();
    f.corne_droiteClick(); // the page shows 4 March, which will be today
    b.horloge.regle(2026, 3, 4, 3, 0);
    f.Timer1Timer();
    EXPECT_EQ(f.derniere_heure, 21);
    b.horloge.regle(2026, 3, 4, 8, 0, 5);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 1);
}

TEST(Rappel, CestLaClocheDAujourdhuiQuiSonneQuellQueSoitLaPage) {
    Banc b(2026, 3, 3, 9, 30);
    pose_cloche(b.rep, 3, 3, 2026, 3); // today's 10h00
    pose_cloche(b.rep, 4, 3, 2026, 4); // tomorrow's 11h00
    TForm1& f = b.demarre();
    f.corne_droiteClick();
    ASSERT_EQ(f.jour_courant, 4);
    b.horloge.regle(2026, 3, 3, 10, 0, 1);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 1);
    b.horloge.regle(2026, 3, 3, 11, 0, 1);
    f.Timer1Timer();
    EXPECT_EQ(sonneries(b), 1); // tomorrow's bell does not ring today
    // Looking at another day's file never creates today's.
    std::remove(b.rep.fichier("03_03_26.ENG").c_str());
    b.horloge.regle(2026, 3, 3, 12, 0, 1);
    f.Timer1Timer();
    EXPECT_FALSE(b.rep.existe("03_03_26.ENG"));
}

TEST(Rappel, LaLigneDeLHeureCouranteSurLaPageDuJour) {
    struct Cas {
        int heure;
        int ligne;
    };
    for (const Cas c : {Cas{7, 1}, Cas{8, 1}, Cas{9, 2}, Cas{19, 12}, Cas{20, 13}, Cas{22, 13}}) {
        Banc b(2026, 3, 3, c.heure, 15);
        TForm1& f = b.demarre();
        for (int k = 1; k <= 13; ++k) {
            const QColor attendue = k == c.ligne ? QColor(255, 0, 0) : QColor(0, 0, 0);
            EXPECT_EQ(f.h[k - 1]->palette().color(QPalette::WindowText), attendue) << c.heure << " " << k;
            EXPECT_EQ(f.champ[k - 1]->palette().color(QPalette::Text), attendue) << c.heure << " " << k;
        }
        f.corne_droiteClick();
        for (int k = 1; k <= 13; ++k)
            EXPECT_EQ(f.h[k - 1]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    }
}

TEST(Purge, LesFichiersDe179A5JoursAvantAujourdhuiSontEffaces) {
    Banc b(1998, 7, 10);
    std::string date = "01/01/1998";
    const std::string fin = "10/07/1998";
    for (;;) {
        const int j = std::stoi(date.substr(0, 2)), m = std::stoi(date.substr(3, 2));
        b.rep.ecrit(fichier_note_jour(j, m, 1998), std::string(1, '\0'));
        b.rep.ecrit(fichier_agenda_jour(j, m, 1998), std::string(806, '\0'));
        if (date == fin) break;
        date = date_plus_jours(date, 1);
    }
    b.rep.ecrit("PAD", "x");
    b.demarre();
    EXPECT_TRUE(b.rep.existe("11_01_98.PAD"));
    EXPECT_TRUE(b.rep.existe("11_01_98.ENG"));
    EXPECT_FALSE(b.rep.existe("12_01_98.PAD"));
    EXPECT_FALSE(b.rep.existe("12_01_98.ENG"));
    EXPECT_FALSE(b.rep.existe("05_07_98.ENG"));
    EXPECT_TRUE(b.rep.existe("06_07_98.PAD"));
    EXPECT_TRUE(b.rep.existe("06_07_98.ENG"));
    EXPECT_TRUE(b.rep.existe("01_01_98.ENG"));
    EXPECT_TRUE(b.rep.existe("PAD"));
    int restants = 0;
    for (const auto& nom : b.rep.fichiers())
        if (nom.size() == 12 && nom.substr(6, 2) == "98") ++restants;
    EXPECT_EQ(restants, 2 * (11 + 5)); // 1..11 January and 6..10 July
}

TEST(Purge, LeMemeJourDe1998EtDe2098PartageSesFichiers) {
    EXPECT_EQ(fichier_note_jour(5, 3, 1998), "05_03_98.PAD");
    EXPECT_EQ(fichier_agenda_jour(5, 3, 2098), "05_03_98.ENG");
    EXPECT_EQ(cle_jour(1, 1, 2003), "01_01_03");
}
