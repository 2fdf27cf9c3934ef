// The help viewer: the help file at its topic, one window reused, and a clear
// message when the file is missing.
#include "commun/essai.hpp"
#include "menu/aide.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/garde.hpp"

#include <QScrollBar>
#include <QTextBrowser>

namespace quorvel {
namespace {

TEST(Aide, OuvreLeFichierAuSujetEtReutiliseLaFenetre) {
    test::RepertoireTemp rep;
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body>";
    for (const std::string sujet : {"1", "6", "7", "8"}) {
        html += "<h1><a name=\"sujet" + sujet + "\"></a>Sujet " + sujet + " : Menu Général</h1>";
        for (int i = 0; i < 60; ++i)
            html += "<p>Ligne " + std::to_string(i) + "</p>";
    }
    rep.ecrit("DOC.HLP", html + "</body></html>");
    const QString fichier = QString::fromStdString(rep.fichier("DOC.HLP"));

    ouvre_aide(nullptr, fichier, 6);
    Taide* fenetre = Taide::courante();
    ASSERT_NE(fenetre, nullptr);
    EXPECT_TRUE(fenetre->isVisible());
    EXPECT_TRUE(fenetre->texte()->toPlainText().contains(QStringLiteral("Menu Général")));
    QScrollBar* barre = fenetre->texte()->verticalScrollBar();
    EXPECT_TRUE(QTest::qWaitFor([&] { return barre->value() > 0; }, 1000));
    const int sujet6 = barre->value();

    ouvre_aide(nullptr, fichier, 8);
    EXPECT_EQ(Taide::courante(), fenetre);
    EXPECT_TRUE(QTest::qWaitFor([&] { return barre->value() > sujet6; }, 1000));
    const int sujet8 = barre->value();

    ouvre_aide(nullptr, fichier, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return barre->value() < sujet8; }, 1000));
    EXPECT_LT(barre->value(), sujet6);
    fenetre->close();
}

TEST(Aide, FichierAbsentMessageFrancaisParLaGarde) {
    test::RepertoireTemp rep;
    DialoguesTest dialogues;
    const QString fichier = QString::fromStdString(rep.fichier("DOC.HLP"));
    EXPECT_FALSE(garde(dialogues, nullptr, QStringLiteral("Quorvel V2.32"),
                       [&] { ouvre_aide(nullptr, fichier, 1); }));
    ASSERT_EQ(dialogues.erreurs.size(), 1u);
    EXPECT_EQ(dialogues.erreurs[0].texte, QStringLiteral("Impossible d'ouvrir le fichier d'aide ") +
                                              fichier + QLatin1Char('.'));
}

} // namespace
} // namespace quorvel
