#include "commun/repertoire_temp.hpp"
#include "saints/saints.hpp"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;

TEST(Saints, FichierCreeAvecLesDatesEtDesNomsVides) {
    RepertoireTemp rep;
    HorlogeReglable h(1998, 3, 10);
    ServiceDates dates(h);
    dates.texte_date(3);
    std::string saint = "avant";
    EnregistrementSaint tampon;
    saint_du_jour(rep.chemin(), 10, 3, dates, tampon, saint);
    EXPECT_EQ(saint, "");
    const std::string f = rep.lit("SAINT03");
    ASSERT_EQ(f.size(), 31u * 37);
    EXPECT_EQ(f.substr(0, 37), std::string("01/03") + std::string(32, '\0'));
    EXPECT_EQ(f.substr(30 * 37, 6), std::string("31/03\0", 6));
    // February follows the year of today's date.
    auto fev = ouvre_saints(rep.chemin(), 2, dates);
    EXPECT_EQ(fev.nombre(), 28);
    h.regle(2000, 1, 1);
    dates.texte_date(3);
    std::remove(rep.fichier("SAINT02").c_str());
    EXPECT_EQ(ouvre_saints(rep.chemin(), 2, dates).nombre(), 29);
}

TEST(Saints, SaintDuJourLeDernierGagneAucunGardeLePrecedent) {
    RepertoireTemp rep;
    HorlogeReglable h(1998, 3, 10);
    ServiceDates dates(h);
    dates.texte_date(3);
    auto f = ouvre_saints(rep.chemin(), 3, dates);
    EnregistrementSaint s;
    lit_saint(f, 4, s);
    s.regle_nom("Sainte Olive de la Tr\xE8s Longue");
    ecrit_saint(f, 4, s);
    s.regle_date("05/03");
    s.regle_nom("Second");
    ecrit_saint(f, 6, s); // a second record for the 5th
    s.regle_date("x5/03");
    s.regle_nom("Jamais");
    ecrit_saint(f, 7, s);
    ferme_saints(f);
    std::string saint = "avant";
    saint_du_jour(rep.chemin(), 5, 3, dates, s, saint);
    EXPECT_EQ(saint, "Second");
    saint = "avant";
    saint_du_jour(rep.chemin(), 8, 3, dates, s, saint);
    EXPECT_EQ(saint, "avant");
    // 30 characters in the field, 20 shown.
    auto g = ouvre_saints(rep.chemin(), 3, dates);
    lit_saint(g, 4, s);
    EXPECT_EQ(s.nom(), "Sainte Olive de la Tr\xE8s Longue");
    s.regle_date("05/03");
    s.regle_nom(std::string(40, 'n'));
    EXPECT_EQ(s.nom().size(), 30u);
    ecrit_saint(g, 6, s);
    ferme_saints(g);
    saint_du_jour(rep.chemin(), 5, 3, dates, s, saint);
    EXPECT_EQ(saint, std::string(20, 'n'));
}

TEST(Saints, EnregistrementSansTerminateurNeDebordePas) {
    RepertoireTemp rep;
    rep.ecrit("SAINT04", std::string(37 * 2, 'Z') + std::string(10, 'q'));
    HorlogeReglable h(1998, 4, 1);
    ServiceDates dates(h);
    std::string saint = "x";
    EnregistrementSaint s;
    saint_du_jour(rep.chemin(), 1, 4, dates, s, saint);
    EXPECT_EQ(saint, "x");
    auto f = ouvre_saints(rep.chemin(), 4, dates);
    EXPECT_EQ(f.nombre(), 2);
    lit_saint(f, 0, s);
    EXPECT_EQ(s.date(), "ZZZZZZ");
    EXPECT_EQ(s.nom().size(), 31u);
}
