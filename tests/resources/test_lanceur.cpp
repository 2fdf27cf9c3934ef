// The launcher: makes the user's data directory, seeds it with the
// installation data it lacks, never overwrites, and starts the program there.
#include "commun/repertoire_temp.hpp"

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string donnees = QUORVEL_DONNEES;
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

    static std::string lit(const std::string& chemin) {
        std::ifstream f(chemin, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
};

} // namespace

TEST_F(Lanceur, GarnitUnDossierVideEtYDemarreLeProgramme) {
    ASSERT_EQ(lance({"-x"}, true), 0);
    const std::string dossier = racine.chemin() + "xdg/quorvel/";
    for (const char* nom : installees) {
        EXPECT_EQ(lit(dossier + nom), lit(donnees + nom)) << nom;
        // The user may change their copy (the saints browser rewrites it).
        EXPECT_NE(fs::status(dossier + nom).permissions() & fs::perms::owner_write, fs::perms::none)
            << nom;
    }
    // The stand-in program ran inside the data directory.
    std::string ici = lit(dossier + "lance-dans");
    if (!ici.empty() && ici.back() == '\n')
        ici.pop_back();
    EXPECT_EQ(fs::canonical(ici), fs::canonical(dossier));
    EXPECT_EQ(lit(dossier + "arguments"), "-x\n");
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

TEST_F(Lanceur, SansXdgDataHomePrendLeDossierHabituel) {
    ASSERT_EQ(lance({}, false), 0);
    const std::string dossier = maison + ".local/share/quorvel/";
    EXPECT_TRUE(fs::exists(dossier + "DOC.HLP"));
    EXPECT_TRUE(fs::exists(dossier + "lance-dans"));
}
