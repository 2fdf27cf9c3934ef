// The installation data (saints calendar, help, sounds) and the launcher that
// seeds the user's data directory with it.
#include "commun/repertoire_temp.hpp"
#include "plateforme/cp1252.hpp"
#include "saints/saints.hpp"

#include <QProcess>
#include <QProcessEnvironment>
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

// A data directory holding a copy of the shipped saints files.
struct Saints : ::testing::Test {
    test::RepertoireTemp rep;
    void SetUp() override {
        for (int m = 1; m <= 12; ++m) {
            const std::string nom = nom_fichier_saints(m);
            rep.ecrit(nom, lit(donnees + nom));
        }
    }
};

const char* const installees[] = {"SAINT01", "SAINT02",    "SAINT12",
                                  "DOC.HLP", "papier.wav", "coucou.wav"};

// An installation prefix in a temporary directory: the real launcher and data,
// and a stand-in program that notes where and how it was started.
struct Lanceur : ::testing::Test {
    quorvel::test::RepertoireTemp racine;
    std::string prefixe, maison;

    void SetUp() override {
        prefixe = racine.chemin() + "prefixe/";
        maison = racine.chemin() + "maison/";
        fs::create_directories(prefixe + "bin");
        fs::create_directories(prefixe + "share/quorvel-installation");
        fs::create_directories(maison);
        fs::copy_file(QUORVEL_LANCEUR, prefixe + "bin/quorvel-lanceur");
        for (const auto& e : fs::directory_iterator(donnees))
            fs::copy_file(e.path(),
                          prefixe + "share/quorvel-installation/" + e.path().filename().string());
        std::ofstream(prefixe + "bin/quorvel")
            << "#!/bin/sh\npwd > \"$PWD/lance-dans\"\necho \"$@\" > \"$PWD/arguments\"\n";
        fs::permissions(prefixe + "bin/quorvel", fs::perms::owner_all);
    }

    int lance(const QStringList& arguments, bool avec_xdg) {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", QString::fromStdString(maison));
        if (avec_xdg)
            env.insert("XDG_DATA_HOME", QString::fromStdString(racine.chemin() + "xdg"));
        else
            env.remove("XDG_DATA_HOME");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QString::fromStdString(racine.chemin()));
        p.start("/bin/sh",
                QStringList{QString::fromStdString(prefixe + "bin/quorvel-lanceur")} + arguments);
        if (!p.waitForFinished(20000))
            return -1;
        return p.exitCode();
    }
};

} // namespace

TEST_F(Saints, TroisCentSoixanteSixJoursNommesDansLOrdre) {
    const int jours[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}; // 366 days
    EnregistrementSaint s;
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        ASSERT_EQ(rep.taille(nom_fichier_saints(m)), jours[m - 1] * 37);
        auto f = ouvre_saints(rep.chemin(), m);
        const auto n = f.nombre();
        EXPECT_EQ(n, jours[m - 1]);
        for (std::int64_t i = 0; i < n; ++i) {
            lit_saint(f, i, s);
            char attendu[6];
            std::snprintf(attendu, sizeof attendu, "%02d/%02d", int(i + 1), m);
            EXPECT_EQ(s.date(), attendu);
            EXPECT_FALSE(s.nom().empty()) << attendu;
            EXPECT_LE(s.nom().size(), 29u) << attendu;
        }
        ferme_saints(f);
    }
}

TEST_F(Saints, LesNomsSontEnWindows1252EtLaPageLesTrouve) {
    struct Cas {
        int jour, mois;
        const char* nom; // UTF-8
    } const cas[] = {{1, 1, "Jour de l'An"}, {14, 2, "Valentin"},
                     {29, 2, "Auguste"},     {19, 3, "Joseph"},
                     {18, 5, "Éric"},        {25, 12, "Noël"},
                     {31, 12, "Sylvestre"},  {1, 10, "Thérèse"}, {12, 12, "J.F. de Chantal"}};
    for (const auto& c : cas) {
        EnregistrementSaint tampon;
        std::string courant = "inchangé";
        saint_du_jour(rep.chemin(), c.jour, c.mois, tampon, courant);
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
        EXPECT_EQ(o.substr(0, 4), "RIFF");
        EXPECT_EQ(le(o, 4, 4), o.size() - 8);
        EXPECT_EQ(o.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(le(o, 16, 4), 16u);
        EXPECT_EQ(le(o, 20, 2), 1u); // PCM
        EXPECT_EQ(le(o, 22, 2), 1u); // mono
        const std::uint32_t frequence = le(o, 24, 4);
        EXPECT_EQ(le(o, 28, 4), frequence * 2);
        EXPECT_EQ(le(o, 34, 2), 16u);
        EXPECT_EQ(o.substr(36, 4), "data");
        const std::uint32_t octets = le(o, 40, 4);
        ASSERT_EQ(octets, o.size() - 44);
        const double duree = octets / 2.0 / frequence;
        EXPECT_GE(duree, c.min_s);
        EXPECT_LE(duree, c.max_s);
        // Audible, and not clipped.
        int crete = 0;
        for (std::size_t i = 44; i + 1 < o.size(); i += 2)
            crete = std::max(crete, std::abs(static_cast<std::int16_t>(le(o, i, 2))));
        EXPECT_GT(crete, 16000);
        EXPECT_LT(crete, 32767);
    }
}

// Into $XDG_DATA_HOME/quorvel, or ~/.local/share/quorvel without it.
TEST_F(Lanceur, GarnitUnDossierVideEtYDemarreLeProgramme) {
    for (const bool avec_xdg : {true, false}) {
        SCOPED_TRACE(avec_xdg);
        ASSERT_EQ(lance({"-x"}, avec_xdg), 0);
        const std::string dossier =
            avec_xdg ? racine.chemin() + "xdg/quorvel/" : maison + ".local/share/quorvel/";
        for (const char* nom : installees) {
            EXPECT_EQ(lit(dossier + nom), lit(donnees + nom)) << nom;
            // The user may change their copy (the saints browser rewrites it).
            EXPECT_NE(fs::status(dossier + nom).permissions() & fs::perms::owner_write,
                      fs::perms::none)
                << nom;
        }
        // The stand-in program ran inside the data directory.
        std::string ici = lit(dossier + "lance-dans");
        if (!ici.empty() && ici.back() == '\n')
            ici.pop_back();
        EXPECT_EQ(fs::canonical(ici), fs::canonical(dossier));
        EXPECT_EQ(lit(dossier + "arguments"), "-x\n");
    }
}

TEST_F(Lanceur, NeRemplaceJamaisUnFichierDeLUtilisateur) {
    const std::string dossier = racine.chemin() + "xdg/quorvel/";
    fs::create_directories(dossier);
    std::ofstream(dossier + "SAINT01", std::ios::binary) << "mes saints";
    std::ofstream(dossier + "PAD", std::ios::binary) << std::string("mes notes\0", 10);
    ASSERT_EQ(lance({}, true), 0);
    EXPECT_EQ(lit(dossier + "SAINT01"), "mes saints");
    EXPECT_EQ(lit(dossier + "PAD"), std::string("mes notes\0", 10));
    // What was missing is added all the same.
    EXPECT_EQ(lit(dossier + "SAINT02"), lit(donnees + "SAINT02"));
    EXPECT_EQ(lit(dossier + "coucou.wav"), lit(donnees + "coucou.wav"));
}
