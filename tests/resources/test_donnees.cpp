// The installation data: the saints calendar, the help and the sounds.
#include "commun/essai.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/fichier.hpp"
#include "saints/saints.hpp"

#include <cstdint>

using namespace quorvel;

static const std::string donnees = QUORVEL_DONNEES;
static const int jours_des_mois[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

static std::uint32_t le(const std::string& o, std::size_t i, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(o[i + k]);
    return v;
}

// 366 records in date order, February's 29th included, each named, in
// Windows-1252, and found by the page's lookup (which shows 20 characters).
TEST(Saints, TroisCentSoixanteSixJoursNommesEnWindows1252) {
    test::RepertoireTemp rep;
    EnregistrementSaint s;
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        rep.ecrit(nom_fichier_saints(m), lit_tout(donnees + nom_fichier_saints(m)));
        ASSERT_EQ(rep.taille(nom_fichier_saints(m)), jours_des_mois[m - 1] * 37);
        auto f = ouvre_saints(rep.chemin(), m);
        for (std::int64_t i = 0; i < f.nombre(); ++i) {
            lit_saint(f, i, s);
            char attendu[6];
            std::snprintf(attendu, sizeof attendu, "%02d/%02d", int(i + 1), m);
            EXPECT_EQ(s.date(), attendu);
            EXPECT_FALSE(s.nom().empty()) << attendu;
            EXPECT_LE(s.nom().size(), 29u) << attendu;
        }
        ferme_saints(f);
    }
    const std::tuple<int, int, const char*> cas[] = {
        {1, 1, "Jour de l'An"}, {14, 2, "Valentin"}, {29, 2, "Auguste"},
        {19, 3, "Joseph"},      {18, 5, "Éric"},     {25, 12, "Noël"},
        {31, 12, "Sylvestre"},  {1, 10, "Thérèse"},  {12, 12, "J.F. de Chantal"}};
    for (const auto& [jour, mois, nom] : cas) {
        std::string courant = "inchangé";
        saint_du_jour(rep.chemin(), jour, mois, s, courant);
        EXPECT_EQ(depuis_cp1252(courant), QString::fromUtf8(nom).left(20)) << jour << "/" << mois;
    }
}

// The topics the windows open, the files, the windows.
TEST(Aide, QuatreSujetsEtTousLesFichiers) {
    const std::string aide = lit_tout(donnees + "DOC.HLP");
    for (const char* texte : {"<a name=\"sujet1\">", "<a name=\"sujet6\">", "<a name=\"sujet7\">",
                              "<a name=\"sujet8\">", "PAD.CFG", "ALARME", "SAINT01", ".ENG", ".PAD",
                              "papier.wav", "coucou.wav", "DOC.HLP", "SAINT A FETER",
                              "ALARME D'HORLOGE", "SAISIE DE L'ALARME", "CONFIGURATION"})
        EXPECT_NE(aide.find(texte), std::string::npos) << texte;
}

// RIFF, a 16-byte PCM mono format chunk, 16 bits, then the samples.
TEST(Sons, WavPcmSeizeBitsMonoDeLaBonneDuree) {
    const std::tuple<const char*, double, double> cas[] = {{"papier.wav", 0.3, 0.6},
                                                           {"coucou.wav", 0.8, 1.3}};
    for (const auto& [nom, min_s, max_s] : cas) {
        SCOPED_TRACE(nom);
        const std::string o = lit_tout(donnees + nom);
        ASSERT_GE(o.size(), 44u);
        EXPECT_EQ(o.substr(0, 4) + o.substr(8, 8) + o.substr(36, 4), "RIFFWAVEfmt data");
        const std::uint32_t frequence = le(o, 24, 4), octets = le(o, 40, 4);
        const std::pair<std::size_t, std::size_t> champs[] = {{le(o, 4, 4), o.size() - 8},
                                                              {le(o, 16, 4), 16u},
                                                              {le(o, 20, 4), 1u | 1u << 16},
                                                              {le(o, 28, 4), frequence * 2},
                                                              {le(o, 34, 2), 16u}};
        for (const auto& [lu, attendu] : champs)
            EXPECT_EQ(lu, attendu);
        ASSERT_EQ(octets, o.size() - 44);
        EXPECT_GE(octets / 2.0 / frequence, min_s);
        EXPECT_LE(octets / 2.0 / frequence, max_s);
    }
}
