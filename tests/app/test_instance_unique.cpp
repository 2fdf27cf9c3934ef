// One program per data folder: the lock, the request to come forward, and what
// a later start leaves on disk (nothing).
#include "app/instance_unique.hpp"
#include "commun/essai.hpp"

#include <future>
#include <poll.h>
#include <sys/stat.h>

using namespace quorvel;
using namespace quorvel::test;
using namespace std::chrono_literals;
using Etat = InstanceUnique::Etat;
namespace fs = std::filesystem;

namespace {

// Every file of the folder with its bytes and its modification time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> cliche(const RepertoireTemp& r) {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> c;
    for (const std::string& nom : r.fichiers())
        c[nom] = {r.lit(nom), fs::last_write_time(r.fichier(nom))};
    return c;
}

// Asks from another thread while the holder answers (or not) on this one.
bool demande(const InstanceUnique& seconde, InstanceUnique& premiere, bool repond, int& appels,
             std::chrono::milliseconds delai = 2s) {
    auto reponse =
        std::async(std::launch::async, [&] { return seconde.demande_premier_plan(delai); });
    pollfd attente{premiere.prise(), POLLIN, 0};
    if (repond && ::poll(&attente, 1, 2000) == 1)
        premiere.repond([&] { ++appels; });
    return reponse.get();
}

struct Lieu {
    const char* quoi;
    bool prise_a_part; // the socket in the runtime folder rather than the data folder
};
const Lieu lieux[] = {{"prise dans le dossier d'exécution", true},
                      {"prise dans le dossier de données", false}};

} // namespace

TEST(InstanceUnique, UnSeulProgrammeParDossierEtUnDemarrageSuivantNeToucheARien) {
    for (const Lieu& l : lieux) {
        SCOPED_TRACE(l.quoi);
        RepertoireTemp donnees, autre, execution;
        const std::string prise = l.prise_a_part ? execution.chemin() : "";
        const fs::path lien = fs::path(autre.chemin()) / "lien";
        fs::create_directory_symlink(donnees.chemin(), lien);
        donnees.ecrit("PAD", "Courses");

        auto premiere = std::make_unique<InstanceUnique>(donnees.chemin(), prise);
        ASSERT_EQ(premiere->etat(), Etat::seule);
        ASSERT_GE(premiere->prise(), 0);
        // Another folder runs alongside, and keeps to its own requests.
        RepertoireTemp deuxieme;
        InstanceUnique a_cote(deuxieme.chemin(), prise);
        EXPECT_EQ(a_cote.etat(), Etat::seule);
        const auto avant = cliche(donnees);
        {
            int appels = 0;
            // By the same path and through a link: the same folder.
            for (const std::string& chemin : {donnees.chemin(), lien.string()}) {
                InstanceUnique seconde(chemin, prise);
                EXPECT_EQ(seconde.etat(), Etat::deja_ouverte) << chemin;
                EXPECT_EQ(seconde.prise(), -1);
                EXPECT_TRUE(demande(seconde, *premiere, true, appels)) << chemin;
            }
            EXPECT_EQ(appels, 2);
            // A holder that does not answer is not taken as having come forward.
            InstanceUnique seconde(donnees.chemin(), prise);
            EXPECT_FALSE(demande(seconde, *premiere, false, appels, 100ms));
            EXPECT_EQ(appels, 2);
        }
        EXPECT_EQ(cliche(donnees), avant);

        // The end of the holder frees the folder and takes its socket away.
        premiere.reset();
        EXPECT_EQ(donnees.fichiers(), (std::vector<std::string>{".quorvel.verrou", "PAD"}));
        EXPECT_EQ(InstanceUnique(donnees.chemin(), prise).etat(), Etat::seule);
        EXPECT_EQ(execution.fichiers().size(), l.prise_a_part ? 1u : 0u); // the neighbour's
    }
}

// Where no lock can be had the program still starts; where it can, it holds
// even in a folder that has become read-only.
TEST(InstanceUnique, SansVerrouPossibleLeProgrammeDemarreQuandMeme) {
    RepertoireTemp donnees;
    EXPECT_EQ(InstanceUnique(donnees.fichier("absent"), "").etat(), Etat::sans_verrou);
    // A socket place that cannot be made: the folder is held all the same, and
    // a later start learns it cannot bring it forward.
    InstanceUnique premiere(donnees.chemin(), donnees.fichier("absent"));
    EXPECT_EQ(premiere.etat(), Etat::seule);
    EXPECT_EQ(premiere.prise(), -1);
    InstanceUnique seconde(donnees.chemin(), donnees.fichier("absent"));
    EXPECT_EQ(seconde.etat(), Etat::deja_ouverte);
    EXPECT_FALSE(seconde.demande_premier_plan(100ms));

    if (::geteuid() == 0)
        return; // permissions do not stop root
    RepertoireTemp lecture_seule;
    InstanceUnique(lecture_seule.chemin(), "");
    ::chmod(lecture_seule.fichier(".quorvel.verrou").c_str(), 0400);
    ::chmod(lecture_seule.chemin().c_str(), 0500);
    InstanceUnique gardee(lecture_seule.chemin(), "");
    EXPECT_EQ(gardee.etat(), Etat::seule);
    EXPECT_EQ(InstanceUnique(lecture_seule.chemin(), "").etat(), Etat::deja_ouverte);
}
