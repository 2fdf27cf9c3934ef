#include "commun/repertoire_temp.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/garde.hpp"

#include <cerrno>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;

TEST(Erreurs, ChaqueErrnoDonneSonCodeEtSonMessage) {
    struct Cas {
        int e;
        int code;
        const char* message;
    };
    const Cas cas[] = {{ENOENT, 2, "Fichier introuvable"},
                       {ENOTDIR, 3, "Nom de fichier incorrect"},
                       {ENAMETOOLONG, 3, "Nom de fichier incorrect"},
                       {EMFILE, 4, "Trop de fichiers ouverts"},
                       {ENFILE, 4, "Trop de fichiers ouverts"},
                       {EACCES, 5, "Accès au fichier refusé"},
                       {EROFS, 5, "Accès au fichier refusé"},
                       {ENOSPC, 101, "Disque plein"},
                       {EDQUOT, 101, "Disque plein"},
                       {EIO, 29, "Erreur E/S 29"},
                       {EBADF, 6, "Erreur E/S 6"}};
    for (const Cas& c : cas) {
        EXPECT_EQ(code_depuis_errno(c.e), c.code) << c.e;
        EXPECT_EQ(ErreurES(code_depuis_errno(c.e)).message(), c.message) << c.e;
    }
    EXPECT_EQ(message_es(100), "Lecture au delà de la fin de fichier");
    EXPECT_EQ(message_es(106), "Saisie numérique incorrecte");
    // An unknown errno never reads as one of the known messages.
    const int inconnu = code_depuis_errno(EPIPE);
    EXPECT_EQ(message_es(inconnu), "Erreur E/S " + std::to_string(inconnu));
    EXPECT_EQ(message_calcul(Arithmetique::division_par_zero), "Division flottante par zéro");
    EXPECT_EQ(message_calcul(Arithmetique::operation_incorrecte), "Opération flottante incorrecte");
}

class Fichiers : public ::testing::Test {
protected:
    void TearDown() override { pannes::desarme(); }
    RepertoireTemp rep;
};

TEST_F(Fichiers, OuvertureCreationLectureEcritureTroncature) {
    EXPECT_FALSE(FichierEnregistrements::ouvre(rep.fichier("X"), 4).has_value());
    auto f = FichierEnregistrements::cree(rep.fichier("X"), 4);
    f.ecrit(0, "abcd");
    f.ecrit(2, "ijkl");
    EXPECT_EQ(f.nombre(), 3);
    char t[5] = {};
    f.lit(2, t);
    EXPECT_STREQ(t, "ijkl");
    f.tronque(1);
    EXPECT_EQ(f.taille_octets(), 4);
    try {
        f.lit(1, t);
        FAIL();
    } catch (const ErreurES& e) {
        EXPECT_EQ(e.code(), 100);
    }
    f.ferme();
    EXPECT_EQ(rep.lit("X"), "abcd");
    rep.ecrit("Y", "abcdefghij");
    auto g = FichierEnregistrements::ouvre(rep.fichier("Y"), 4);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->nombre(), 2); // the incomplete last record does not count
    EXPECT_THROW(FichierEnregistrements::cree(rep.fichier("absent/Z"), 1), ErreurES);
}

TEST_F(Fichiers, PanneInjecteeDonneLeCodeAttendu) {
    auto f = FichierEnregistrements::cree(rep.fichier("X"), 1);
    pannes::arme(1, ENOSPC);
    try {
        f.ecrit(0, "a");
        FAIL();
    } catch (const ErreurES& e) {
        EXPECT_EQ(e.code(), 101);
    }
    f.ecrit(0, "a");
    pannes::arme(1, 0); // short read
    char c;
    EXPECT_THROW(f.lit(0, &c), ErreurES);
    // A file that exists but cannot be opened is an error, never "missing".
    pannes::arme(1, EACCES);
    EXPECT_THROW(FichierEnregistrements::ouvre(rep.fichier("X"), 1), ErreurES);
    pannes::arme(1, EMFILE);
    try {
        FichierEnregistrements::ouvre(rep.fichier("X"), 1);
        FAIL();
    } catch (const ErreurES& e) {
        EXPECT_EQ(e.code(), 4);
    }
}

TEST_F(Fichiers, RemplacementAtomiqueNePerdJamaisLAncienContenu) {
    rep.ecrit("T", "ancien");
    // Fail at every step of the replacement: the old text stays whole, no temporary is left.
    for (int n = 1;; ++n) {
        pannes::arme(n, ENOSPC);
        bool echec = false;
        try {
            remplace_atomiquement(rep.fichier("T"), "nouveau texte");
        } catch (const ErreurES& e) {
            echec = true;
            EXPECT_EQ(e.code(), 101);
        }
        pannes::desarme();
        if (!echec) break;
        EXPECT_EQ(rep.lit("T"), "ancien") << n;
        EXPECT_EQ(rep.fichiers(), std::vector<std::string>{"T"}) << n;
        ASSERT_LT(n, 50);
    }
    EXPECT_EQ(rep.lit("T"), "nouveau texte");
    EXPECT_EQ(lit_tout(rep.fichier("T")), "nouveau texte");
}

TEST(Cp1252, AllerRetourDeChaqueOctet) {
    std::string tous;
    for (int i = 1; i < 256; ++i) tous.push_back(static_cast<char>(i));
    EXPECT_EQ(vers_cp1252(depuis_cp1252(tous)), tous);
    EXPECT_EQ(depuis_cp1252("\xE9t\xE9 \x80"), QStringLiteral("été €"));
    EXPECT_EQ(vers_cp1252(QStringLiteral("Œuvre – “x”")), "\x8Cuvre \x96 \x93x\x94");
    EXPECT_EQ(vers_cp1252(QStringLiteral("日本")), "??");
}

TEST(Garde, RapporteLErreurEtRetablitLeDrapeau) {
    DialoguesTest d;
    bool libre = true;
    const bool ok = garde(d, nullptr, QStringLiteral("Quorvel V2.32"), [&] {
        Verrou v(libre);
        EXPECT_FALSE(libre);
        throw ErreurES(101);
    });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(libre);
    ASSERT_EQ(d.erreurs.size(), 1u);
    EXPECT_EQ(d.erreurs[0].titre, QStringLiteral("Quorvel V2.32"));
    EXPECT_EQ(d.erreurs[0].texte, QStringLiteral("Disque plein."));
    EXPECT_TRUE(garde(d, nullptr, QString(), [] {}));
    garde(d, nullptr, QString(), [] { throw ErreurCalcul(Arithmetique::division_par_zero); });
    EXPECT_EQ(d.erreurs.back().texte, QStringLiteral("Division flottante par zéro."));
}
