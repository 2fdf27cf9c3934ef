// The general menu with the real saints browser, configuration dialog and
// about box: each entry opens its window over the menu and comes back to it.
// The about box: its name, its place, the logo running while it shows and the
// clicks that close it; its animated logo and its 3D name drawn for real. (The
// board's picture at each opening, and the help key, are tested with every
// window in tests/shell/test_fenetres.cpp.)
#include "calendar/contexte.hpp"
#include "commun/dialogues_test.hpp"
#include "commun/repertoire_temp.hpp"
#include "menu/a_propos.hpp"
#include "menu/menu_general.hpp"
#include "plateforme/ressources.hpp"
#include "saints/fsaint.hpp"
#include "saints/saints.hpp"
#include "settings/configuration.hpp"
#include "widgets/label3d.hpp"
#include "widgets/logo.hpp"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

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

// The name is the title less its six-character version, centred on the screen.
TEST_F(Menu, AProposMontreLeNomDuTitreAuCentreDeLEcran) {
    const std::pair<std::string, QString> cas[] = {
        {"Quorvel V2.32", QStringLiteral("Quorvel")},
        {"Autre V9.99", QStringLiteral("Autre")},
        {"1234567", QStringLiteral("1")},
        {"123456", QString()},
        {"", QString()},
    };
    for (const auto& [titre, nom] : cas) {
        ctx.titre = titre;
        a_propos.show();
        EXPECT_EQ(a_propos.logiciel->text(), nom) << titre;
        const QRect ecran = a_propos.screen()->geometry();
        EXPECT_EQ(a_propos.pos(), QPoint(ecran.x() + (ecran.width() - 324) / 2,
                                         ecran.y() + (ecran.height() - 215) / 2));
        a_propos.hide();
    }
}

// From the menu: the logo runs only while the box is shown; a click on the
// picture, the logo or the name closes it.
TEST_F(Menu, AProposAnimeLeLogoEtToutClicFerme) {
    for (QWidget* cible :
         std::initializer_list<QWidget*>{a_propos.Image1, a_propos.LOGO1, a_propos.logiciel}) {
        SCOPED_TRACE(cible->metaObject()->className());
        bool anime_pendant = false;
        ouvre(menu.m5, [&](QWidget*) {
            anime_pendant = a_propos.LOGO1->anime();
            QTest::mouseClick(cible, Qt::LeftButton, {}, QPoint(30, 30));
        });
        EXPECT_TRUE(anime_pendant);
        EXPECT_EQ(a_propos.result(), QDialog::Accepted);
        EXPECT_FALSE(a_propos.LOGO1->anime());
    }
}

using Pixels = std::set<std::pair<int, int>>;

Pixels de_couleur(const QImage& image, QColor couleur) {
    Pixels p;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == couleur.rgb())
                p.insert({x, y});
    return p;
}

// A 3D label whose white text has hard edges, so that each copy is an exact
// pixel set.
std::unique_ptr<TLabel3D> label(QColor fond, QColor ombre) {
    auto l = std::make_unique<TLabel3D>(QStringLiteral("Qw"));
    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(40);
    police.setBold(true);
    police.setStyleStrategy(QFont::NoAntialias);
    l->setFont(police);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Window, fond);
    l->setPalette(palette);
    l->setAutoFillBackground(true);
    l->resize(90, 50);
    l->setShadowColor(ombre);
    return l;
}

// The 3D label: the text and its shadow copy one pixel down and right, the
// text grey when disabled. The reference is a shadow the colour of the
// background, so only the text shows.
TEST(Label3D, LOmbreEstLaCopieDecaleeDUnPixelLeTexteGrisQuandInactif) {
    const QColor gris_texte =
        QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor fond =
        gris_texte == QColor(40, 200, 40) ? QColor(200, 40, 40) : QColor(40, 200, 40);
    const Pixels texte = de_couleur(label(fond, fond)->grab().toImage(), Qt::white);
    ASSERT_GT(texte.size(), 50u);
    Pixels ombre_visible;
    for (const auto& [x, y] : texte)
        if (!texte.count({x + 1, y + 1}))
            ombre_visible.insert({x + 1, y + 1});

    auto l = label(fond, Qt::black);
    QImage image = l->grab().toImage();
    EXPECT_EQ(de_couleur(image, Qt::white), texte);
    EXPECT_EQ(de_couleur(image, Qt::black), ombre_visible);
    // Disabled: the desktop's grey text over the same shadow.
    l->setEnabled(false);
    image = l->grab().toImage();
    EXPECT_TRUE(de_couleur(image, Qt::white).empty());
    EXPECT_EQ(de_couleur(image, gris_texte), texte);
    EXPECT_EQ(de_couleur(image, Qt::black), ombre_visible);
}

// The frame a step should show; when the pictures are built into this binary
// the label's picture is compared too.
void verifie_image(const TLOGO& logo, int image) {
    const QPixmap attendue = image_ressource(QStringLiteral("l") + QString::number(image));
    if (!attendue.isNull())
        EXPECT_EQ(logo.pixmap().toImage(), attendue.toImage()) << "frame l" << image;
}

// Steps 1..13 show l1..l13, the 13th setting the counter back to 0, and step
// 14 shows l1 again. The timer drives the steps only while started; a stop
// keeps the frame and a restart resumes after it.
TEST(Logo, TreizeImagesEnBoucleArretEtReprise) {
    TLOGO logo;
    logo.show(); // the first frame is decoded when the logo is first shown
    verifie_image(logo, 1);
    for (int pas = 1; pas <= 27; ++pas) {
        logo.anime_logo();
        const int image = (pas - 1) % 13 + 1;
        EXPECT_EQ(logo.compteur(), image == 13 ? 0 : image) << "step " << pas;
        verifie_image(logo, image);
    }
    QTest::qWait(150);
    EXPECT_EQ(logo.compteur(), 1);
    logo.demarre_logo();
    EXPECT_TRUE(logo.anime());
    ASSERT_TRUE(QTest::qWaitFor([&] { return logo.compteur() >= 3; }, 2000));
    logo.arrete_logo();
    EXPECT_FALSE(logo.anime());
    const int arret = logo.compteur();
    ASSERT_LT(arret, 12);
    verifie_image(logo, arret);
    QTest::qWait(250);
    EXPECT_EQ(logo.compteur(), arret);
    logo.arrete_logo(); // twice is harmless
    logo.demarre_logo();
    logo.demarre_logo();
    EXPECT_TRUE(logo.anime());
    logo.anime_logo();
    EXPECT_EQ(logo.compteur(), arret + 1);
    verifie_image(logo, arret + 1);
}

} // namespace
} // namespace quorvel
