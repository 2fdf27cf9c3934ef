// The digital clock: its caption follows the clock, once a second.
#include "plateforme/horloge.hpp"
#include "widgets/digital.hpp"

#include <QTest>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(HorlogeDigitale, AfficheLHeureDeLHorloge) {
    HorlogeReglable h(2026, 3, 2, 10, 26, 56);
    THORLOGE_DIGITAL digital(nullptr, &h);
    EXPECT_EQ(digital.text(), "10:26:56");
    EXPECT_EQ(digital.geometry(), QRect(560, 417, 80, 25));
    h.regle(2026, 3, 2, 7, 5, 9);
    digital.affiche_heure_digitale();
    EXPECT_EQ(digital.text(), "07:05:09");
}

TEST(HorlogeDigitale, LeTopDeChaqueSecondeSuitLHorlogeMemeCachee) {
    HorlogeReglable h(2026, 3, 2, 23, 59, 59);
    THORLOGE_DIGITAL digital(nullptr, &h);
    ASSERT_FALSE(digital.isVisible());
    h.avance(1); // the system time changes: shown at the next tick
    EXPECT_EQ(digital.text(), "23:59:59");
    for (int attente = 0; attente < 2500 && digital.text() != "00:00:00"; attente += 50)
        QTest::qWait(50);
    EXPECT_EQ(digital.text(), "00:00:00");
}

} // namespace
} // namespace quorvel
