// The general menu with the real saints browser, configuration dialog and
// about box: each entry opens its window over the menu and comes back to it.
// The about box: its name, its place, the logo running while it shows and the
// clicks that close it. (The board's picture at each opening is tested with
// every window in tests/shell/test_fenetres.cpp.)
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "menu/a_propos.hpp"
#include "menu/menu_general.hpp"
#include "plateforme/horloge.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/configuration.hpp"
#include "settings/reglages.hpp"
#include "widgets/label3d.hpp"
#include "widgets/logo.hpp"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quorvel {
namespace {

class Menu : public ::testing::Test {
public:
    Menu()
        : ctx(horloge, son, dialogues, rep.chemin()), saints(ctx, reglages, tampon),
          configuration(ctx, reglages), a_propos(ctx),
          menu(ctx, reglages, saints, alarmes, configuration, a_propos) {
        config_defaut(reglages, rep.chemin());
        ecrit_reglages(rep.chemin(), reglages);
    }

    // Runs f on the modal window that the next click opens, then lets it close.
    void pendant_modal(std::function<void(QWidget*)> f) {
        QTimer::singleShot(0, [f] { f(QApplication::activeModalWidget()); });
    }

    test::RepertoireTemp rep;
    HorlogeReglable horloge{2024, 3, 5};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx;
    Reglages reglages;
    EnregistrementSaint tampon;
    Tsaints saints;
    QDialog alarmes;
    Tconfiguration configuration;
    Ta_propos a_propos;
    Tmenu_general menu;
};

TEST_F(Menu, EachEntryOpensItsDialogAndComesBackToTheMenu) {
    struct Cas {
        QLabel* entree;
        QDialog* dialogue;
    };
    const Cas cas[] = {
        {menu.m1, &saints}, {menu.m2, &alarmes}, {menu.m3, &configuration}, {menu.m5, &a_propos}};
    menu.show();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.entree->text().toStdString());
        QWidget* ouvert = nullptr;
        pendant_modal([&](QWidget* w) {
            ouvert = w;
            if (w)
                static_cast<QDialog*>(w)->accept();
        });
        QTest::mouseClick(c.entree, Qt::LeftButton);
        EXPECT_EQ(ouvert, c.dialogue);
        EXPECT_FALSE(c.dialogue->isVisible());
        EXPECT_TRUE(menu.isVisible());
    }
    EXPECT_TRUE(dialogues.erreurs.empty());
    QTest::mouseClick(menu.m6, Qt::LeftButton);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.result(), QDialog::Accepted);
}

TEST(APropos, NameIsTheTitleWithoutItsVersion) {
    const std::pair<std::string, QString> cas[] = {
        {"Quorvel V2.32", QStringLiteral("Quorvel")},
        {"ABC V1.00", QStringLiteral("ABC")},
        {"1234567", QStringLiteral("1")},
        {"123456", QString()},
        {"", QString()},
    };
    for (const auto& [titre, nom] : cas)
        EXPECT_EQ(nom_logiciel(titre), nom) << titre;
}

TEST_F(Menu, AboutBoxShowsTheNameOfTheTitleCentredOnTheScreen) {
    for (const auto& [titre, nom] :
         {std::pair{"Quorvel V2.32", "Quorvel"}, {"Autre V9.99", "Autre"}}) {
        ctx.titre = titre;
        a_propos.show();
        EXPECT_EQ(a_propos.logiciel->text(), nom);
        const QRect ecran = a_propos.screen()->geometry();
        EXPECT_EQ(a_propos.pos(), QPoint(ecran.x() + (ecran.width() - 324) / 2,
                                         ecran.y() + (ecran.height() - 215) / 2));
        a_propos.hide();
    }
}

// From the menu: the logo runs only while the box is shown; a click on the
// picture, the logo or the name closes it.
TEST_F(Menu, AboutBoxAnimatesTheLogoAndAnyClickCloses) {
    menu.show();
    for (QWidget* cible :
         std::initializer_list<QWidget*>{a_propos.Image1, a_propos.LOGO1, a_propos.logiciel}) {
        SCOPED_TRACE(cible->metaObject()->className());
        bool anime_pendant = false;
        pendant_modal([&](QWidget*) {
            anime_pendant = a_propos.LOGO1->anime();
            QTest::mouseClick(cible, Qt::LeftButton, {}, QPoint(30, 30));
            if (a_propos.isVisible())
                a_propos.reject(); // not closed by the click: the check below fails
        });
        QTest::mouseClick(menu.m5, Qt::LeftButton);
        EXPECT_TRUE(anime_pendant);
        EXPECT_EQ(a_propos.result(), QDialog::Accepted);
        EXPECT_FALSE(a_propos.LOGO1->anime());
    }
}

TEST_F(Menu, HelpEntryAndHelpKeyOpenTopicOne) {
    menu.show();
    QTest::mouseClick(menu.m4, Qt::LeftButton);
    QTest::keyClick(&menu, Qt::Key_F1);
    ASSERT_EQ(dialogues.aides.size(), 2u);
    for (const auto& aide : dialogues.aides) {
        EXPECT_EQ(aide.fichier, QString::fromStdString(rep.chemin() + "DOC.HLP"));
        EXPECT_EQ(aide.sujet, 1);
    }
    EXPECT_TRUE(menu.isVisible());
}

} // namespace
} // namespace quorvel
