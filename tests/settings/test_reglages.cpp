#include "commun/repertoire_temp.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/fichier.hpp"
#include "settings/reglages.hpp"

#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;

namespace {
std::uint32_t u32(const std::string& s, std::size_t o) {
    return static_cast<std::uint8_t>(s[o]) | (static_cast<std::uint8_t>(s[o + 1]) << 8) |
           (static_cast<std::uint8_t>(s[o + 2]) << 16) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[o + 3])) << 24);
}
int i16(const std::string& s, std::size_t o) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(s[o]) | (static_cast<std::uint8_t>(s[o + 1]) << 8));
}
} // namespace

TEST(Reglages, FichierCreeAvecLesValeursParDefautOctetParOctet) {
    RepertoireTemp rep;
    Reglages r;
    lit_reglages(rep.chemin(), r);
    const std::string f = rep.lit("PAD.CFG");
    ASSERT_EQ(f.size(), 241u);
    EXPECT_EQ(f.substr(0, 43), std::string(43, '\0'));
    EXPECT_EQ(u32(f, 43), 0u);
    EXPECT_EQ(i16(f, 47), 1);
    EXPECT_EQ(i16(f, 49), 8);
    EXPECT_EQ(f.substr(51, 16), "\x0FTimes New Roman");
    EXPECT_EQ(i16(f, 96), 1);
    EXPECT_EQ(i16(f, 98), 12);
    EXPECT_EQ(f.substr(100, 16), "\x0FTimes New Roman");
    EXPECT_EQ(u32(f, 145), 0x800000u);
    EXPECT_EQ(u32(f, 149), 0x808000u);
    EXPECT_EQ(u32(f, 165), 0xFFu);
    EXPECT_EQ(u32(f, 169), 0xFFu);
    const std::string son = rep.chemin() + "coucou.wav";
    if (son.size() <= 60) {
        EXPECT_EQ(static_cast<std::uint8_t>(f[177]), son.size());
        EXPECT_EQ(f.substr(178, son.size()), son);
    }
    EXPECT_EQ(f[238], 1);
    EXPECT_EQ(i16(f, 239), 1);
    EXPECT_EQ(r.video(), 1);
    EXPECT_EQ(r.police_calendrier(), (PoliceReglee{0, 1, 8, "Times New Roman"}));
}

TEST(Reglages, LeFichierEstReluTelQuelOctetsReservesCompris) {
    RepertoireTemp rep;
    std::string contenu(241, '\0');
    for (std::size_t i = 0; i < 241; ++i) contenu[i] = static_cast<char>(i * 7);
    contenu[51] = 40; // face name of 40 characters
    contenu[177] = static_cast<char>(200); // a length beyond its field
    rep.ecrit("PAD.CFG", contenu);
    Reglages r;
    lit_reglages(rep.chemin(), r);
    EXPECT_EQ(r.police_calendrier().nom.size(), 40u);
    EXPECT_EQ(r.son_alarme().size(), 60u); // clamped, never past the field
    ecrit_reglages(rep.chemin(), r);
    EXPECT_EQ(rep.lit("PAD.CFG"), contenu);
}

TEST(Reglages, FichierCourtDonneLesDefautsRecouvertsDesChampsComplets) {
    RepertoireTemp rep;
    Reglages ecrit;
    config_defaut(ecrit, rep.chemin());
    ecrit.regle_couleur(CouleurReglee::mois, 0x123456);   // 141..144: kept
    ecrit.regle_couleur(CouleurReglee::jour, 0x654321);   // 145..148: cut, so default
    rep.ecrit("PAD.CFG", std::string(reinterpret_cast<const char*>(ecrit.octets.data()), 147));
    Reglages r;
    lit_reglages(rep.chemin(), r);
    EXPECT_EQ(r.couleur(CouleurReglee::mois), 0x123456u);
    EXPECT_EQ(r.couleur(CouleurReglee::jour), 0x800000u);
    EXPECT_EQ(r.video(), 1);
    ecrit_reglages(rep.chemin(), r);
    EXPECT_EQ(rep.taille("PAD.CFG"), 241);
}

TEST(Reglages, SauvegardeApresDisparitionEcritLesReglagesEnMemoire) {
    RepertoireTemp rep;
    Reglages r;
    lit_reglages(rep.chemin(), r);
    r.regle_video(2);
    r.regle_son_page(false);
    std::remove(rep.fichier("PAD.CFG").c_str());
    ecrit_reglages(rep.chemin(), r);
    Reglages relu;
    lit_reglages(rep.chemin(), relu);
    EXPECT_EQ(relu.video(), 2);
    EXPECT_FALSE(relu.son_page());
}

TEST(Reglages, SonDAlarmeJamaisCoupe) {
    Reglages r;
    config_defaut(r, "/tmp/");
    EXPECT_EQ(r.son_alarme(), "/tmp/coucou.wav");
    EXPECT_FALSE(r.regle_son_alarme(std::string(61, 'x')));
    EXPECT_EQ(r.son_alarme(), "/tmp/coucou.wav");
    EXPECT_TRUE(r.regle_son_alarme(std::string(60, 'x')));
    const std::string long_rep = "/" + std::string(55, 'r') + "/";
    EXPECT_EQ(son_par_defaut(long_rep), "coucou.wav");
    EXPECT_EQ(son_par_defaut("/home/\xC3\xA9t\xC3\xA9/"), "/home/\xE9t\xE9/coucou.wav");
    r.octets[238] = 2;
    EXPECT_TRUE(r.son_page());
}

TEST(Reglages, UneEcritureQuiEchoueEstSignalee) {
    RepertoireTemp rep;
    Reglages r;
    lit_reglages(rep.chemin(), r);
    const std::string avant = rep.lit("PAD.CFG");
    pannes::arme(2, ENOSPC);
    EXPECT_THROW(ecrit_reglages(rep.chemin(), r), ErreurES);
    pannes::desarme();
    EXPECT_EQ(rep.lit("PAD.CFG"), avant);
}
