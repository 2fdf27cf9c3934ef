// The general menu with the real saints browser, configuration dialog and
// about box: each entry opens its window over the menu and comes back to it.
// The about box: its name, the logo running while it shows and the clicks that
// close it. (The board's picture at each opening, and the help key, are tested
// with every window in tests/shell/test_fenetres.cpp.)
#include "commun/bureau.hpp"
#include "menu/a_propos.hpp"
#include "menu/menu_general.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/configuration.hpp"
#include "widgets/label3d.hpp"
#include "widgets/logo.hpp"

namespace quorvel {
namespace {

class Menu : public ::testing::Test, public test::Bureau {
public:
    Menu()
        : saints(ctx, reglages, tampon), configuration(ctx, reglages), a_propos(ctx),
          menu(ctx, reglages, saints, alarmes, configuration, a_propos) {
        config_defaut(reglages, rep.chemin());
        ecrit_reglages(rep.chemin(), reglages);
        menu.show();
    }

    // Clicks an entry; f runs on the modal window it opens, then that window is
    // let close (or closed, when f left it open).
    void ouvre(QLabel* entree, std::function<void(QWidget*)> f) {
        QTimer::singleShot(0, [f] {
            QWidget* w = QApplication::activeModalWidget();
            f(w);
            if (w && w->isVisible())
                static_cast<QDialog*>(w)->reject();
        });
        QTest::mouseClick(entree, Qt::LeftButton);
    }

    EnregistrementSaint tampon;
    Tsaints saints;
    QDialog alarmes;
    Tconfiguration configuration;
    Ta_propos a_propos;
    Tmenu_general menu;
};

TEST_F(Menu, ChaqueEntreeOuvreSaFenetreEtRevientAuMenu) {
    const std::pair<QLabel*, QDialog*> cas[] = {
        {menu.m1, &saints}, {menu.m2, &alarmes}, {menu.m3, &configuration}, {menu.m5, &a_propos}};
    for (const auto& [entree, dialogue] : cas) {
        SCOPED_TRACE(entree->text().toStdString());
        QWidget* ouvert = nullptr;
        ouvre(entree, [&](QWidget* w) {
            if ((ouvert = w))
                static_cast<QDialog*>(w)->accept();
        });
        EXPECT_EQ(ouvert, dialogue);
        EXPECT_FALSE(dialogue->isVisible());
        EXPECT_TRUE(menu.isVisible());
    }
    // The help entry opens topic 1 and keeps the menu.
    QTest::mouseClick(menu.m4, Qt::LeftButton);
    ASSERT_EQ(dialogues.aides.size(), 1u);
    EXPECT_EQ(dialogues.aides[0].sujet, 1);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(dialogues.erreurs.empty());
    QTest::mouseClick(menu.m6, Qt::LeftButton);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.result(), QDialog::Accepted);
}

} // namespace
} // namespace quorvel
