#include "alarms/rappel_agenda.hpp"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(RappelAgenda, LigneCouranteSelonLHeure) {
    const int attendues[24] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 13, 13};
    for (int h = 0; h < 24; ++h) EXPECT_EQ(creneau_courant(h), attendues[h]) << h;
}

TEST(RappelAgenda, ChaqueHeureDeLAgendaNeCompteQuUneFois) {
    int derniere = 9; // started at 09:40
    EXPECT_EQ(nouvelle_heure_agenda(9, derniere), 0);
    EXPECT_EQ(nouvelle_heure_agenda(10, derniere), 3);
    EXPECT_EQ(derniere, 10);
    EXPECT_EQ(nouvelle_heure_agenda(10, derniere), 0);
    // The night leaves the last hour as it was, so 8 o'clock counts in the morning.
    derniere = 21;
    EXPECT_EQ(nouvelle_heure_agenda(23, derniere), 0);
    EXPECT_EQ(nouvelle_heure_agenda(3, derniere), 0);
    EXPECT_EQ(derniere, 21);
    EXPECT_EQ(nouvelle_heure_agenda(8, derniere), 1);
    EXPECT_EQ(nouvelle_heure_agenda(20, derniere), 13);
    EXPECT_EQ(nouvelle_heure_agenda(7, derniere), 0);
}
