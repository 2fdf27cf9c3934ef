// The command line: which arguments are a calendar command, and which are
// refused before anything is read or written.
#include "ical/commande_ical.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvel::ical {
namespace {

TEST(Commande, ArgumentsLusOuRefuses) {
    using G = CommandeIcal::Genre;
    const struct {
        std::vector<std::string> arguments;
        bool commande;
        G genre;
        std::string fichier, dossier, erreur;
    } cas[] = {
        {{}, false, G::exporte, "", "", ""},
        {{"-platform", "offscreen"}, false, G::exporte, "", "", ""},
        {{"--donnees", "/d"}, false, G::exporte, "", "", ""},
        {{"--exporte-ical", "a.ics"}, true, G::exporte, "a.ics", ".", ""},
        {{"--importe-ical", "b.ics", "--donnees", "/d"}, true, G::importe, "b.ics", "/d", ""},
        {{"--donnees", "/d", "--exporte-ical", "a.ics"}, true, G::exporte, "a.ics", "/d", ""},
        {{"--exporte-ical"}, true, G::exporte, "", "", "--exporte-ical attend un nom de fichier"},
        {{"--importe-ical", ""}, true, G::exporte, "", "", "attend un nom de fichier"},
        {{"--exporte-ical", "a.ics", "--donnees"},
         true,
         G::exporte,
         "",
         "",
         "attend un nom de dossier"},
        {{"--exporte-ical", "a.ics", "--importe-ical", "b.ics"},
         true,
         G::exporte,
         "",
         "",
         "deux fois"},
        {{"--exporte-ical", "a.ics", "--donnees", "/d", "--donnees", "/e"},
         true,
         G::exporte,
         "",
         "",
         "deux fois"},
        {{"--exporte-ical", "a.ics", "en-trop"}, true, G::exporte, "", "", "argument inattendu"},
    };
    for (const auto& c : cas) {
        std::string trace;
        for (const auto& a : c.arguments)
            trace += a + " ";
        SCOPED_TRACE(trace);
        std::string erreur;
        const auto commande = analyse_commande(c.arguments, erreur);
        ASSERT_EQ(commande.has_value(), c.commande);
        if (!c.erreur.empty()) {
            EXPECT_NE(erreur.find(c.erreur), std::string::npos) << erreur;
        } else if (commande) {
            EXPECT_EQ(erreur, "");
            EXPECT_EQ(commande->genre, c.genre);
            EXPECT_EQ(commande->fichier, c.fichier);
            EXPECT_EQ(commande->dossier, c.dossier);
        }
    }
}

TEST(Commande, UneErreurDArgumentsSortEn2AvantDeRienLire) {
    std::ostringstream sortie, erreurs;
    const HorlogeReglable horloge(2026, 12, 7);
    EXPECT_EQ(commande_ical({"--importe-ical", "/absent.ics", "x"}, sortie, erreurs, horloge), 2);
    EXPECT_NE(erreurs.str().find("argument inattendu «\u00a0x\u00a0».\nUtilisation\u00a0:"),
              std::string::npos)
        << erreurs.str();
    EXPECT_EQ(commande_ical({"-platform", "offscreen"}, sortie, erreurs, horloge), std::nullopt);
}

} // namespace
} // namespace quorvel::ical
