// One program per data folder: the lock, the request to come forward, and what
// a later start leaves on disk (nothing).
#include "app/instance_unique.hpp"
#include "commun/essai.hpp"

#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

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

using Requete = InstanceUnique::Requete;

// Asks from another thread while the holder answers (or not) on this one; the
// holder notes what it heard.
template <class Question>
auto demande(InstanceUnique& premiere, bool repond, std::vector<Requete>& entendues,
             Question&& question) {
    auto reponse = std::async(std::launch::async, std::forward<Question>(question));
    pollfd attente{premiere.prise(), POLLIN, 0};
    if (repond && ::poll(&attente, 1, 2000) == 1)
        premiere.repond([&](const Requete& r, InstanceUnique::Reponse rep) {
            entendues.push_back(r);
            rep.envoie(r.genre == Requete::Genre::premier_plan ? "Q" : "0Synchronisé");
        });
    return reponse.get();
}

bool demande(const InstanceUnique& seconde, InstanceUnique& premiere, bool repond, int& appels,
             std::chrono::milliseconds delai = 2s) {
    std::vector<Requete> entendues;
    const bool venue =
        demande(premiere, repond, entendues, [&] { return seconde.demande_premier_plan(delai); });
    for (const Requete& r : entendues)
        appels += r.genre == Requete::Genre::premier_plan;
    return venue;
}

// What a caller writes on the socket itself, then reads back.
std::string brut(const std::string& prise, const std::string& octets) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", prise.c_str());
    std::string lu;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
        ::send(fd, octets.data(), octets.size(), MSG_NOSIGNAL);
        char c[256];
        for (ssize_t n; (n = ::recv(fd, c, sizeof c, 0)) > 0;)
            lu.append(c, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return lu;
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

// What a later start asks, as the holder hears it: to come forward, or to
// synchronise with the password it was given; anything else, or nothing at
// all (an older program), asks to come forward.
TEST(InstanceUnique, LaDemandeDUnDemarrageSuivantEstEntendueTelleQuelle) {
    RepertoireTemp donnees;
    InstanceUnique premiere(donnees.chemin(), "");
    InstanceUnique seconde(donnees.chemin(), "");
    ASSERT_GE(premiere.prise(), 0);
    std::vector<Requete> entendues;
    EXPECT_EQ(demande(premiere, true, entendues,
                      [&] { return seconde.demande_synchronisation("mot\nde passe é", 2s); }),
              std::optional<std::string>("0Synchronisé"));
    EXPECT_EQ(
        demande(premiere, true, entendues, [&] { return seconde.demande_synchronisation("", 2s); }),
        std::optional<std::string>("0Synchronisé"));
    EXPECT_EQ(demande(premiere, false, entendues,
                      [&] { return seconde.demande_synchronisation("", 100ms); }),
              std::nullopt);
    ASSERT_EQ(entendues.size(), 2u);
    EXPECT_EQ(entendues[0].genre, Requete::Genre::synchronise);
    EXPECT_EQ(entendues[0].mot_de_passe, "mot\nde passe é");
    EXPECT_EQ(entendues[1].genre, Requete::Genre::synchronise);
    EXPECT_EQ(entendues[1].mot_de_passe, "");
    premiere.repond([](const Requete&, InstanceUnique::Reponse) {}); // the one left unanswered

    struct Cas {
        const char* quoi;
        std::string octets;
    };
    const Cas cas[] = {
        {"rien (un programme plus ancien)", ""},
        {"une demande inconnue", "rangement\n"},
        {"une longueur qui n'en est pas une", "synchronise x\n"},
        {"un mot de passe plus court que dit", "synchronise 9\nabc"},
        {"une ligne sans fin", std::string(100, 'a')},
    };
    const std::string prise = donnees.fichier(".quorvel.prise");
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        entendues.clear();
        EXPECT_EQ(demande(premiere, true, entendues, [&] { return brut(prise, c.octets); }), "Q");
        ASSERT_EQ(entendues.size(), 1u);
        EXPECT_EQ(entendues[0].genre, Requete::Genre::premier_plan);
    }
}
