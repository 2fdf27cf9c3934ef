// The command line: which arguments are a calendar command, and which are
// refused before anything is read or written.
#include "ical/commande_ical.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvel::ical {
namespace {

std::string trace(const std::vector<std::string>& arguments) {
    std::string t;
    for (const auto& a : arguments)
        t += a + " ";
    return t;
}

TEST(Commande, ArgumentsLusOuRefuses) {
    using G = CommandeIcal::Genre;
    const struct {
        std::vector<std::string> arguments;
        G genre;
        std::string fichier, dossier;
    } commandes[] = {
        {{"--exporte-ical", "a.ics"}, G::exporte, "a.ics", "."},
        {{"--importe-ical", "b.ics", "--donnees", "/d"}, G::importe, "b.ics", "/d"},
        {{"--donnees", "/d", "--exporte-ical", "a.ics"}, G::exporte, "a.ics", "/d"},
    };
    for (const auto& c : commandes) {
        SCOPED_TRACE(trace(c.arguments));
        std::string erreur;
        const auto commande = analyse_commande(c.arguments, erreur);
        ASSERT_TRUE(commande.has_value());
        EXPECT_EQ(erreur, "");
        EXPECT_EQ(commande->genre, c.genre);
        EXPECT_EQ(commande->fichier, c.fichier);
        EXPECT_EQ(commande->dossier, c.dossier);
    }
    // Not a calendar command: the window starts.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"-platform", "offscreen"}, {"--donnees", "/d"}}) {
        std::string erreur;
        EXPECT_FALSE(analyse_commande(arguments, erreur).has_value()) << trace(arguments);
    }
    const std::pair<std::vector<std::string>, std::string> refusees[] = {
        {{"--exporte-ical"}, "--exporte-ical attend un nom de fichier"},
        {{"--importe-ical", ""}, "attend un nom de fichier"},
        {{"--exporte-ical", "a.ics", "--donnees"}, "attend un nom de dossier"},
        {{"--exporte-ical", "a.ics", "--importe-ical", "b.ics"}, "deux fois"},
        {{"--exporte-ical", "a.ics", "--donnees", "/d", "--donnees", "/e"}, "deux fois"},
        {{"--exporte-ical", "a.ics", "en-trop"}, "argument inattendu"},
    };
    for (const auto& [arguments, message] : refusees) {
        std::string erreur;
        EXPECT_TRUE(analyse_commande(arguments, erreur).has_value()) << trace(arguments);
        EXPECT_NE(erreur.find(message), std::string::npos) << trace(arguments) << erreur;
    }
}

TEST(Commande, UneErreurDArgumentsSortEn2AvantDeRienLire) {
    std::ostringstream sortie, erreurs;
    const HorlogeReglable horloge(2026, 12, 7);
    EXPECT_EQ(
        commande_ical({"--importe-ical", "/absent.ics", "x"}, sortie, erreurs, horloge, {}), 2);
    EXPECT_NE(erreurs.str().find("argument inattendu «\u00a0x\u00a0».\nUtilisation\u00a0:"),
              std::string::npos)
        << erreurs.str();
    EXPECT_EQ(commande_ical({"-platform", "offscreen"}, sortie, erreurs, horloge, {}),
              std::nullopt);
}

} // namespace
} // namespace quorvel::ical
