// The general menu with the real saints browser, configuration dialog and
// about box: each entry opens its window over the menu and comes back to it.
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "menu/a_propos.hpp"
#include "menu/menu_general.hpp"
#include "plateforme/horloge.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/configuration.hpp"
#include "settings/reglages.hpp"
#include "widgets/logo.hpp"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

TEST_F(Menu, SaintsBrowserOpenedFromTheMenuStoresItsEdit) {
    menu.show();
    pendant_modal([&](QWidget*) {
        saints.champ->setText(QStringLiteral("Saint Menu"));
        QTest::mouseClick(saints.ok1, Qt::LeftButton);
    });
    QTest::mouseClick(menu.m1, Qt::LeftButton);
    EXPECT_EQ(rep.lit("SAINT01").substr(6, 11), std::string("Saint Menu\0", 11));
}

TEST_F(Menu, ConfigurationOpenedFromTheMenuChangesTheSettings) {
    ctx.rect_main = {200, 100, 411, 455};
    menu.show();
    dialogues.couleurs.push_back(0x00FF0000);
    QPoint place;
    pendant_modal([&](QWidget*) {
        place = configuration.pos();
        QTest::mouseClick(configuration.b5, Qt::LeftButton);
        QTest::mouseClick(configuration.cv2, Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseClick(configuration.ok1, Qt::LeftButton);
    });
    QTest::mouseClick(menu.m3, Qt::LeftButton);
    EXPECT_EQ(place, QPoint(200 + 83, 100 + 24));
    EXPECT_EQ(reglages.couleur(CouleurReglee::saint), 0x00FF0000u);
    EXPECT_EQ(reglages.video(), 2);
    // The board keeps its picture while it stays open, and changes at the next showing.
    EXPECT_TRUE(menu.fond1->isVisible());
    for (int mode : {2, 1, 3}) {
        reglages.regle_video(static_cast<std::int16_t>(mode));
        menu.hide();
        menu.show();
        EXPECT_EQ(menu.fond1->isVisible(), mode == 1) << mode;
        EXPECT_EQ(menu.fond2->isVisible(), mode != 1) << mode;
    }
}

TEST_F(Menu, AboutBoxAnimatesTheLogoOnlyWhileShown) {
    menu.show();
    bool anime_pendant = false;
    pendant_modal([&](QWidget*) {
        anime_pendant = a_propos.LOGO1->anime();
        QTest::mouseClick(a_propos.LOGO1, Qt::LeftButton, {}, QPoint(50, 50));
    });
    QTest::mouseClick(menu.m5, Qt::LeftButton);
    EXPECT_TRUE(anime_pendant);
    EXPECT_FALSE(a_propos.LOGO1->anime());
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
