// The account file of a data folder: what is written comes back byte for byte,
// private to its owner, and a file that cannot be understood is refused by name.
#include "commun/essai.hpp"
#include "ical/compte_caldav.hpp"

#include <sys/stat.h>

namespace quorvel::caldav {
namespace {

using test::RepertoireTemp;

TEST(CompteCaldav, CeQuiEstEcritSeRelit) {
    const Reglage comptes[] = {
        {"https://agenda.exemple.fr/dav/zoé/été/", "Zoé\u00a0Lefèvre"},
        {"http://127.0.0.1:5232/cal/", ""},
        {"https://x.fr/a=b", " espaces = "},
    };
    for (const Reglage& r : comptes) {
        const RepertoireTemp d;
        d.ecrit(fichier_compte, "url=https://ancien/\n");
        ::chmod(d.fichier(fichier_compte).c_str(), 0644);
        ecrit_reglage(d.chemin(), r);
        const auto relu = lit_reglage(d.chemin());
        ASSERT_TRUE(relu) << r.url;
        EXPECT_EQ(relu->url, r.url);
        EXPECT_EQ(relu->utilisateur, r.utilisateur);
        struct stat st {};
        ASSERT_EQ(::stat(d.fichier(fichier_compte).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << r.url;
        EXPECT_EQ(d.lit(fichier_compte).rfind("# ", 0), 0u);
    }
    const RepertoireTemp vide;
    EXPECT_FALSE(lit_reglage(vide.chemin()));
    ecrit_reglage(vide.chemin(), comptes[0]);
    EXPECT_EQ(vide.fichiers(), std::vector<std::string>{fichier_compte});
}

TEST(CompteCaldav, UnFichierIncomprisEstRefuseParSonNom) {
    const struct {
        const char* contenu; // nullptr: a folder of that name
        const char* raison;
    } cas[] = {
        {"# à la main\r\n\r\nutilisateur=zoé\r\nurl=https://x.fr/\r\n", nullptr},
        {"utilisateur=zoé\n", "aucune adresse (url=)"},
        {"url=\n", "aucune adresse (url=)"},
        {"url=https://x.fr/\nzoé\n", "ligne 2 incomprise"},
        {"url=https://x.fr/\nutilisateur=Zo\xe9\n", "ce n'est pas un texte UTF-8"},
        {nullptr, "Accès au fichier refusé"},
    };
    for (const auto& c : cas) {
        const RepertoireTemp d;
        if (c.contenu)
            d.ecrit(fichier_compte, c.contenu);
        else
            std::filesystem::create_directory(d.fichier(fichier_compte));
        try {
            const auto r = lit_reglage(d.chemin());
            EXPECT_FALSE(c.raison) << c.raison;
            EXPECT_EQ(r->url, "https://x.fr/");
            EXPECT_EQ(r->utilisateur, "zoé");
        } catch (const ErreurQuorvel& e) {
            ASSERT_TRUE(c.raison) << e.message();
            EXPECT_EQ(e.message(), "Compte CalDAV «\u00a0" + d.fichier(fichier_compte) +
                                       "\u00a0» inutilisable\u00a0: " + c.raison);
        }
    }
    const RepertoireTemp d;
    EXPECT_THROW(ecrit_reglage(d.chemin(), {"https://x.fr/\nurl=https://autre/", ""}),
                 ErreurQuorvel);
    EXPECT_TRUE(d.fichiers().empty());
}

} // namespace
} // namespace quorvel::caldav
