// The animated logo: frame order, stop and resume.
#include "plateforme/ressources.hpp"
#include "widgets/logo.hpp"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

// The frame a step should show; when the pictures are built into this binary
// the label's picture is compared too.
void verifie_image(const TLOGO& logo, int image) {
    const QPixmap attendue = image_ressource(QStringLiteral("l") + QString::number(image));
    if (attendue.isNull())
        return;
    EXPECT_EQ(logo.pixmap().toImage(), attendue.toImage()) << "frame l" << image;
}

TEST(Logo, StepsRunThroughThirteenFramesAndStartAgain) {
    TLOGO logo;
    EXPECT_FALSE(logo.anime());
    EXPECT_EQ(logo.compteur(), 0);
    logo.show(); // the first frame is decoded when the logo is first shown
    verifie_image(logo, 1);
    // Steps 1..13 show l1..l13; the 13th sets the counter back to 0; step 14 shows l1.
    for (int pas = 1; pas <= 27; ++pas) {
        logo.anime_logo();
        const int image = (pas - 1) % 13 + 1;
        EXPECT_EQ(logo.compteur(), image == 13 ? 0 : image) << "step " << pas;
        verifie_image(logo, image);
    }
}

// The timer drives the animation only while started; a stop keeps the frame
// and a restart resumes after it.
TEST(Logo, TimerStopAndRestart) {
    TLOGO logo;
    EXPECT_EQ(logo.minuterie()->interval(), 100);
    QTest::qWait(150);
    EXPECT_EQ(logo.compteur(), 0);
    logo.demarre_logo();
    EXPECT_TRUE(logo.anime());
    ASSERT_TRUE(QTest::qWaitFor([&] { return logo.compteur() >= 2; }, 2000));
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
