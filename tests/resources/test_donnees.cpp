// The installation data (saints calendar, help, sounds) and the generator's
// conversion of the UTF-8 saints list behind it.
#include "commun/essai.hpp"
#include "generateur/donnees.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/fichier.hpp"
#include "saints/saints.hpp"

#include <cstdint>
#include <stdexcept>

using namespace quorvel;
using namespace quorvel::generateur;

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

// RIFF, a 16-byte PCM mono format chunk, 16 bits, then the samples; audible,
// and not clipped.
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
        int crete = 0;
        for (std::size_t i = 44; i + 1 < o.size(); i += 2)
            crete = std::max(crete, std::abs(static_cast<std::int16_t>(le(o, i, 2))));
        EXPECT_GT(crete, 16000);
        EXPECT_LT(crete, 32767);
    }
}

static std::vector<SaintSource> annee_complete() {
    std::vector<SaintSource> s;
    for (int m = 1; m <= 12; ++m)
        for (int j = 1; j <= jours_des_mois[m - 1]; ++j)
            s.push_back({j, m, "Saint"});
    return s;
}

// The generator's conversion of the UTF-8 saints list: a damaged list stops
// the build with a clear message instead of shipping a wrong calendar.
TEST(SourceSaints, LitLesLignesIgnoreLesCommentairesRefuseLesMalFormees) {
    const auto s = lit_source_saints("# en-tête\n\n01/01 Jour de l'An\r\n02/01 Basile\n");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(std::tie(s[0].jour, s[0].mois, s[0].nom), std::tuple(1, 1, "Jour de l'An"));
    EXPECT_EQ(std::tie(s[1].jour, s[1].mois, s[1].nom), std::tuple(2, 1, "Basile"));
    for (const char* ligne : {"1/01 Basile\n", "01-01 Basile\n", "01/01Basile\n", "01/0a Basile\n"})
        EXPECT_THROW(lit_source_saints(ligne), std::runtime_error) << ligne;
}

// 37-byte records; 29 characters is the longest name allowed.
TEST(SourceSaints, EcritDesEnregistrementsDe37Octets) {
    auto s = annee_complete();
    s[31 + 28].nom = "Auguste"; // 29/02
    s[359].nom = "Noël";        // 25/12
    s[0].nom = std::string(29, 'x');
    const auto f = fichiers_saints(s);
    ASSERT_EQ(f.size(), 12u);
    EXPECT_EQ(f[1].size(), 29u * 37);
    EXPECT_EQ(f[1].substr(28 * 37, 37),
              std::string("29/02\0Auguste", 13) + std::string(37 - 13, '\0'));
    EXPECT_EQ(f[11].substr(24 * 37, 11), std::string("25/12\0No\xEBl", 11));
    EXPECT_EQ(f[0].substr(6, 30), std::string(29, 'x') + '\0');
}

TEST(SourceSaints, RefuseUnCalendrierIncompletOuUnNomQuiNeTientPas) {
    const std::pair<const char*, std::function<void(std::vector<SaintSource>&)>> cas[] = {
        {"sans 29 février", [](auto& s) { s.erase(s.begin() + 31 + 28); }},
        {"jours inversés", [](auto& s) { std::swap(s[3], s[4]); }},
        {"jour en trop",
         [](auto& s) {
             s.push_back({1, 1, "Bis"});
         }},
        {"nom vide", [](auto& s) { s[10].nom = "  "; }},
        {"nom de 30", [](auto& s) { s[10].nom = std::string(30, 'x'); }},
        {"hors Windows-1252", [](auto& s) { s[10].nom = "Ωmega"; }}};
    for (const auto& [quoi, abime] : cas) {
        auto s = annee_complete();
        abime(s);
        EXPECT_THROW(fichiers_saints(s), std::runtime_error) << quoi;
    }
}
