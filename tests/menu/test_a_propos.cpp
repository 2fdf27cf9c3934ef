// The about box: its name, its place and the clicks that close it.
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "menu/a_propos.hpp"
#include "plateforme/horloge.hpp"
#include "widgets/label3d.hpp"
#include "widgets/logo.hpp"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

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

class AProposFenetre : public ::testing::Test {
public:
    AProposFenetre() : ctx(horloge, son, dialogues, rep.chemin()), boite(ctx) {}
    test::RepertoireTemp rep;
    HorlogeReglable horloge{2024, 3, 5};
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx;
    Ta_propos boite;
};

TEST_F(AProposFenetre, ShowsTheNameCentredOnTheScreen) {
    boite.show();
    EXPECT_EQ(boite.logiciel->text(), QStringLiteral("Quorvel"));
    const QRect ecran = boite.screen()->geometry();
    EXPECT_EQ(boite.pos(), QPoint(ecran.x() + (ecran.width() - 324) / 2,
                                  ecran.y() + (ecran.height() - 215) / 2));
    boite.hide();

    ctx.titre = "Autre V9.99";
    boite.show();
    EXPECT_EQ(boite.logiciel->text(), QStringLiteral("Autre"));
}

TEST_F(AProposFenetre, AClickOnThePictureTheLogoOrTheNameCloses) {
    QWidget* cibles[] = {boite.Image1, boite.LOGO1, boite.logiciel};
    for (QWidget* cible : cibles) {
        boite.show();
        ASSERT_TRUE(boite.isVisible());
        QTest::mouseClick(cible, Qt::LeftButton, {}, QPoint(30, 30));
        EXPECT_FALSE(boite.isVisible()) << cible->metaObject()->className();
        EXPECT_EQ(boite.result(), QDialog::Accepted);
    }
}

} // namespace
} // namespace quorvel
