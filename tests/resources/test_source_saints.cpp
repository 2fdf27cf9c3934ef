// The generator's conversion of the UTF-8 saints list: a damaged list stops
// the build with a clear message instead of shipping a wrong calendar.
#include "generateur/donnees.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <tuple>

using namespace quorvel::generateur;

namespace {

std::vector<SaintSource> annee_complete() {
    const int jours[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<SaintSource> s;
    for (int m = 1; m <= 12; ++m)
        for (int j = 1; j <= jours[m - 1]; ++j)
            s.push_back({j, m, "Saint"});
    return s;
}

} // namespace

TEST(SourceSaints, LitLesLignesIgnoreLesCommentairesRefuseLesMalFormees) {
    const auto s = lit_source_saints("# en-tête\n\n01/01 Jour de l'An\r\n02/01 Basile\n");
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(std::tie(s[0].jour, s[0].mois, s[0].nom), std::tuple(1, 1, "Jour de l'An"));
    EXPECT_EQ(std::tie(s[1].jour, s[1].mois, s[1].nom), std::tuple(2, 1, "Basile"));
    for (const char* ligne : {"1/01 Basile\n", "01-01 Basile\n", "01/01Basile\n", "01/0a Basile\n"})
        EXPECT_THROW(lit_source_saints(ligne), std::runtime_error) << ligne;
}

TEST(SourceSaints, EcritDesEnregistrementsDe37Octets) {
    auto s = annee_complete();
    s[31 + 28].nom = "Auguste";      // 29/02
    s[359].nom = "Noël";             // 25/12
    s[0].nom = std::string(29, 'x'); // the longest name allowed
    const auto f = fichiers_saints(s);
    ASSERT_EQ(f.size(), 12u);
    EXPECT_EQ(f[1].size(), 29u * 37);
    EXPECT_EQ(f[1].substr(28 * 37, 37),
              std::string("29/02\0Auguste", 13) + std::string(37 - 13, '\0'));
    EXPECT_EQ(f[11].substr(24 * 37, 11), std::string("25/12\0No\xEBl", 11));
    EXPECT_EQ(f[0].substr(6, 30), std::string(29, 'x') + '\0');
}

TEST(SourceSaints, RefuseUnCalendrierIncompletOuUnNomQuiNeTientPas) {
    struct Cas {
        const char* quoi;
        std::function<void(std::vector<SaintSource>&)> abime;
    } const cas[] = {
        {"sans 29 février", [](auto& s) { s.erase(s.begin() + 31 + 28); }},
        {"jours inversés", [](auto& s) { std::swap(s[3], s[4]); }},
        {"jour en trop", [](auto& s) { s.push_back({1, 1, "Bis"}); }},
        {"nom vide", [](auto& s) { s[10].nom = "  "; }},
        {"nom de 30", [](auto& s) { s[10].nom = std::string(30, 'x'); }},
        {"hors Windows-1252", [](auto& s) { s[10].nom = "Ωmega"; }},
    };
    for (const auto& c : cas) {
        auto s = annee_complete();
        c.abime(s);
        EXPECT_THROW(fichiers_saints(s), std::runtime_error) << c.quoi;
    }
}
