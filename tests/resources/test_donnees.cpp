// The installation data (saints calendar, help, sounds) and the launcher that
// seeds the user's data directory with it.
#include "commun/repertoire_temp.hpp"
#include "plateforme/cp1252.hpp"
#include "saints/saints.hpp"

#include <QProcess>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

const std::string donnees = QUORVEL_DONNEES;

std::string lit(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::string& o, std::size_t i, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(o[i + k]);
    return v;
}

} // namespace

// 366 records in date order, February's 29th included, each named, in
// Windows-1252, and found by the page's lookup.
TEST(Saints, TroisCentSoixanteSixJoursNommesEnWindows1252) {
    test::RepertoireTemp rep;
    const int jours[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    EnregistrementSaint s;
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        rep.ecrit(nom_fichier_saints(m), lit(donnees + nom_fichier_saints(m)));
        ASSERT_EQ(rep.taille(nom_fichier_saints(m)), jours[m - 1] * 37);
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
    const struct {
        int jour, mois;
        const char* nom; // UTF-8
    } cas[] = {{1, 1, "Jour de l'An"}, {14, 2, "Valentin"}, {29, 2, "Auguste"},
               {19, 3, "Joseph"},      {18, 5, "Éric"},     {25, 12, "Noël"},
               {31, 12, "Sylvestre"},  {1, 10, "Thérèse"},  {12, 12, "J.F. de Chantal"}};
    for (const auto& c : cas) {
        std::string courant = "inchangé";
        saint_du_jour(rep.chemin(), c.jour, c.mois, s, courant);
        // The page shows the first 20 characters.
        EXPECT_EQ(depuis_cp1252(courant), QString::fromUtf8(c.nom).left(20))
            << c.jour << "/" << c.mois;
    }
}

TEST(Aide, QuatreSujetsEtTousLesFichiers) {
    const std::string aide = lit(donnees + "DOC.HLP");
    // The topics the windows open, the files, the windows.
    for (const char* texte : {"<a name=\"sujet1\">", "<a name=\"sujet6\">", "<a name=\"sujet7\">",
                              "<a name=\"sujet8\">", "PAD.CFG", "ALARME", "SAINT01", ".ENG", ".PAD",
                              "papier.wav", "coucou.wav", "DOC.HLP", "SAINT A FETER",
                              "ALARME D'HORLOGE", "SAISIE DE L'ALARME", "CONFIGURATION"})
        EXPECT_NE(aide.find(texte), std::string::npos) << texte;
}

TEST(Sons, WavPcmSeizeBitsMonoDeLaBonneDuree) {
    struct Cas {
        const char* nom;
        double min_s, max_s;
    } const cas[] = {{"papier.wav", 0.3, 0.6}, {"coucou.wav", 0.8, 1.3}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string o = lit(donnees + c.nom);
        ASSERT_GE(o.size(), 44u);
        // RIFF, a 16-byte PCM mono format chunk, 16 bits, then the samples.
        EXPECT_EQ(o.substr(0, 4) + o.substr(8, 8) + o.substr(36, 4), "RIFFWAVEfmt data");
        EXPECT_EQ(le(o, 4, 4), o.size() - 8);
        EXPECT_EQ(le(o, 16, 4), 16u);
        EXPECT_EQ(le(o, 20, 4), 1u | 1u << 16);
        const std::uint32_t frequence = le(o, 24, 4);
        EXPECT_EQ(le(o, 28, 4), frequence * 2);
        EXPECT_EQ(le(o, 34, 2), 16u);
        const std::uint32_t octets = le(o, 40, 4);
        ASSERT_EQ(octets, o.size() - 44);
        EXPECT_GE(octets / 2.0 / frequence, c.min_s);
        EXPECT_LE(octets / 2.0 / frequence, c.max_s);
        // Audible, and not clipped.
        int crete = 0;
        for (std::size_t i = 44; i + 1 < o.size(); i += 2)
            crete = std::max(crete, std::abs(static_cast<std::int16_t>(le(o, i, 2))));
        EXPECT_GT(crete, 16000);
        EXPECT_LT(crete, 32767);
    }
}

// An installation in a temporary prefix, the program a stand-in. The launcher
// fills the data folder with every installed file the user may then change,
// never over one of the user's, and starts the program there (its environment
// and platform: tests/e2e/lanceur.sh).
TEST(Lanceur, GarnitLeDossierSansRemplacerLesFichiersDeLUtilisateur) {
    test::RepertoireTemp racine;
    const std::string prefixe = racine.chemin() + "prefixe/",
                      dossier = racine.chemin() + "xdg/quorvel/";
    for (const std::string& d : {prefixe + "bin", prefixe + "share", dossier})
        fs::create_directories(d);
    fs::copy(donnees, prefixe + "share/quorvel-installation");
    fs::copy_file(QUORVEL_LANCEUR, prefixe + "bin/quorvel-lanceur");
    std::ofstream(prefixe + "bin/quorvel") << "#!/bin/sh\n: > lance-ici\n";
    fs::permissions(prefixe + "bin/quorvel", fs::perms::owner_all);
    std::ofstream(dossier + "SAINT01", std::ios::binary) << "mes saints";
    QProcess p;
    p.setProcessEnvironment([&] {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(racine.chemin() + "xdg"));
        return env;
    }());
    p.start("/bin/sh", {QString::fromStdString(prefixe + "bin/quorvel-lanceur")});
    ASSERT_TRUE(p.waitForFinished(20000));
    ASSERT_EQ(p.exitCode(), 0);
    EXPECT_EQ(lit(dossier + "SAINT01"), "mes saints");
    for (const char* nom : {"SAINT02", "SAINT12", "DOC.HLP", "papier.wav", "coucou.wav"}) {
        EXPECT_EQ(lit(dossier + nom), lit(donnees + nom)) << nom;
        EXPECT_NE(fs::status(dossier + nom).permissions() & fs::perms::owner_write, fs::perms::none)
            << nom;
    }
    EXPECT_TRUE(fs::exists(dossier + "lance-ici")) << "started in the data folder";
}
