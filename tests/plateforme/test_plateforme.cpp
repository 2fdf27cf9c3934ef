#include "commun/repertoire_temp.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/saisie_cp1252.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/fichier.hpp"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;
namespace fs = std::filesystem;

// The disk-full, denied and too-many-files messages are the fault tests'.
TEST(Erreurs, ChaqueErrnoDonneSonMessage) {
    const std::pair<int, const char*> cas[] = {{ENOENT, "Fichier introuvable"},
                                               {ENOTDIR, "Nom de fichier incorrect"},
                                               {EROFS, "Accès au fichier refusé"},
                                               {EDQUOT, "Disque plein"},
                                               {EIO, "Erreur E/S 29"}};
    for (const auto& [e, message] : cas)
        EXPECT_EQ(ErreurES(code_depuis_errno(e)).message(), message) << e;
    // An unknown errno never reads as one of the known messages.
    const int inconnu = code_depuis_errno(EPIPE);
    EXPECT_EQ(message_es(inconnu), "Erreur E/S " + std::to_string(inconnu));
}

namespace {

// What the user set on a file and finds again after a save: where the name
// leads, the mode and owner of the file there ("moi": this process's), its bytes.
std::string reglages_de(const RepertoireTemp& rep, const std::string& nom) {
    const std::string chemin = rep.fichier(nom);
    struct stat st {};
    if (::lstat(chemin.c_str(), &st) != 0)
        return "absent";
    std::string r;
    if (S_ISLNK(st.st_mode)) {
        r = fs::read_symlink(chemin).string();
        if (r.starts_with(rep.chemin()))
            r = "$/" + r.substr(rep.chemin().size());
        r = "lien vers " + r + ", ";
        if (::stat(chemin.c_str(), &st) != 0)
            return r + "rien";
    }
    char droits[64];
    if (st.st_uid == ::geteuid() && st.st_gid == ::getegid())
        std::snprintf(droits, sizeof droits, "%04o moi ", st.st_mode & 07777);
    else
        std::snprintf(droits, sizeof droits, "%04o %u:%u ", st.st_mode & 07777, st.st_uid,
                      st.st_gid);
    return r + droits + lit_tout(chemin);
}

// Every name under the directory, links marked, to see a temporary left behind
// or a link made a plain file.
std::vector<std::string> arbre(const RepertoireTemp& rep) {
    std::vector<std::string> noms;
    for (const auto& e : fs::recursive_directory_iterator(rep.chemin()))
        noms.push_back(e.path().lexically_relative(rep.chemin()).string() +
                       (e.is_symlink() ? "@" : ""));
    std::sort(noms.begin(), noms.end());
    return noms;
}

} // namespace

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
    // Created where a link leads, the link kept; a file already there is never emptied.
    fs::create_symlink("Z", rep.fichier("L"));
    FichierEnregistrements::cree(rep.fichier("L"), 1).ecrit(0, "z");
    EXPECT_EQ(reglages_de(rep, "L"), "lien vers Z, " + reglages_de(rep, "Z"));
    EXPECT_THROW(FichierEnregistrements::cree(rep.fichier("Y"), 1), ErreurES);
    EXPECT_EQ(rep.lit("Y"), "abcdefghij");
    // A file that exists but cannot be opened is an error, never "missing".
    pannes::arme(1, EACCES);
    EXPECT_THROW(FichierEnregistrements::ouvre(rep.fichier("Y"), 1), ErreurES);
}

// The replace made to fail at each of its steps, through each kind of name a
// user may have set up. Before the rename nothing has changed; after it the new
// file is in place whole; no temporary is ever left, no link undone.
TEST_F(Fichiers, RemplacementAtomiqueGardeCeQueLUtilisateurAChoisi) {
    struct Masque {
        mode_t ancien = ::umask(027);
        ~Masque() { ::umask(ancien); }
    } masque;
    const auto fichier = [&](const char* nom, mode_t mode) {
        rep.ecrit(nom, "ancien");
        ::chmod(rep.fichier(nom).c_str(), mode);
    };
    const auto lien = [&](const std::string& vers, const char* nom) {
        fs::create_symlink(vers, rep.fichier(nom));
    };
    struct Cas {
        const char* nom;
        std::function<void()> prepare; // makes x/T, the name saved to, in the empty folder x
        const char* apres;             // reglages_de x/T after saving "nouveau"
        bool racine = false;           // giving a file away takes root
    };
    const Cas cas[] = {
        {"privé", [&] { fichier("x/T", 0600); }, "0600 moi nouveau"},
        {"nouveau, selon le masque", [] {}, "0640 moi nouveau"},
        {"lien relatif",
         [&] {
             fs::create_directory(rep.fichier("x/d"));
             fichier("x/d/vrai", 0604);
             lien("d/vrai", "x/T");
         },
         "lien vers d/vrai, 0604 moi nouveau"},
        {"chaîne de liens, relatifs chacun à son dossier",
         [&] {
             fs::create_directory(rep.fichier("x/d"));
             fichier("x/d/vrai", 0660);
             lien("vrai", "x/d/L");
             lien("d/L", "x/T");
         },
         "lien vers d/L, 0660 moi nouveau"},
        {"lien absolu",
         [&] {
             fichier("x/vrai", 0644);
             lien(rep.fichier("x/vrai"), "x/T");
         },
         "lien vers $/x/vrai, 0644 moi nouveau"},
        {"lien vers rien encore", [&] { lien("vrai", "x/T"); }, "lien vers vrai, 0640 moi nouveau"},
        {"autre propriétaire, set-gid",
         [&] {
             fichier("x/T", 02754);
             ASSERT_EQ(::chown(rep.fichier("x/T").c_str(), 4321, 4322), 0);
             ::chmod(rep.fichier("x/T").c_str(), 02754);
         },
         "2754 4321:4322 nouveau", true},
    };
    const auto remet = [&](const Cas& c) {
        fs::remove_all(rep.fichier("x"));
        fs::create_directory(rep.fichier("x"));
        c.prepare();
    };
    std::set<std::string> etapes;
    std::map<std::string, int> rang;
    for (const Cas& c : cas) {
        if (c.racine && ::geteuid() != 0)
            continue;
        SCOPED_TRACE(c.nom);
        const auto essai = [&](int n, int erreur) {
            remet(c);
            pannes::arme(n, erreur);
            try {
                remplace_atomiquement(rep.fichier("x/T"), "nouveau");
            } catch (const ErreurES& e) {
                EXPECT_EQ(e.code(), 101);
            }
            const std::string etape = pannes::touchee();
            pannes::desarme();
            return etape;
        };
        essai(0, 0);
        const std::vector<std::string> arbre_apres = arbre(rep);
        EXPECT_EQ(reglages_de(rep, "x/T"), c.apres);
        remet(c);
        const std::vector<std::string> arbre_avant = arbre(rep);
        const std::string avant = reglages_de(rep, "x/T");
        for (int n = 1;; ++n) {
            const std::string etape = essai(n, ENOSPC);
            if (etape.empty())
                break;
            etapes.insert(etape);
            rang.emplace(etape, n);
            const bool renomme = etape == "open dossier" || etape == "fsync dossier";
            EXPECT_EQ(reglages_de(rep, "x/T"), renomme ? c.apres : avant) << etape;
            EXPECT_EQ(arbre(rep), renomme ? arbre_apres : arbre_avant) << etape;
            ASSERT_LT(n, 50);
        }
    }
    EXPECT_EQ(etapes,
              (std::set<std::string>{"lstat", "readlink", "mkstemp", "pwrite", "fchown", "fchmod",
                                     "fsync", "close", "rename", "open dossier", "fsync dossier"}));
    // Another user's file that cannot be given back is saved all the same, as ours.
    remet(cas[0]);
    pannes::arme(rang["fchown"], EPERM);
    remplace_atomiquement(rep.fichier("x/T"), "nouveau");
    EXPECT_EQ(pannes::touchee(), "fchown");
    EXPECT_EQ(reglages_de(rep, "x/T"), cas[0].apres);
}

// Start-up removes what a killed save left: the temporaries by their name, in
// the data folder, plain files only.
TEST_F(Fichiers, NettoyageDesProvisoires) {
    const std::vector<std::string> effaces = {"PAD.quorvel-Ab12Cd", "05_03_98.ENG.quorvel-zzzz09"};
    const std::vector<std::string> gardes = {"PAD",
                                             "PAD.quorvel-Ab12C",
                                             "PAD.quorvel-Ab12Cde",
                                             "PAD.quorvel-Ab-2Cd",
                                             "PAD.quorvel-Ab12Cd~",
                                             ".quorvel-Ab12Cd",
                                             "PAD.~tmp",
                                             "sous/PAD.quorvel-Ab12Cd"};
    fs::create_directory(rep.fichier("sous"));
    fs::create_directory(rep.fichier("SAINT01.quorvel-Ab12Cd"));
    for (const auto& liste : {effaces, gardes})
        for (const std::string& nom : liste)
            rep.ecrit(nom, "x");
    fs::create_symlink("PAD", rep.fichier("ALARME.quorvel-Ab12Cd"));
    EXPECT_EQ(efface_provisoires(rep.chemin()), 2);
    for (const std::string& nom : effaces)
        EXPECT_FALSE(rep.existe(nom)) << nom;
    for (const std::string& nom : gardes)
        EXPECT_TRUE(rep.existe(nom)) << nom;
    EXPECT_TRUE(fs::is_directory(rep.fichier("SAINT01.quorvel-Ab12Cd")));
    EXPECT_TRUE(fs::is_symlink(rep.fichier("ALARME.quorvel-Ab12Cd")));
    EXPECT_EQ(efface_provisoires(rep.fichier("absent")), 0);
}

TEST(Cp1252, AllerRetourDeChaqueOctet) {
    std::string tous;
    for (int i = 1; i < 256; ++i)
        tous.push_back(static_cast<char>(i));
    EXPECT_EQ(vers_cp1252(depuis_cp1252(tous)), tous);
    EXPECT_EQ(filtre_cp1252(depuis_cp1252(tous)), depuis_cp1252(tous));
    EXPECT_EQ(depuis_cp1252("\xE9t\xE9 \x80"), QStringLiteral("été €"));
}

// What each character becomes in a file, and whether a text box takes it in.
TEST(Cp1252, CaracteresSansOctetPropre) {
    struct Cas {
        const char16_t* texte;
        const char* octets;
        bool admis;
    };
    const Cas cas[] = {
        {u"Œuvre – “x”", "\x8Cuvre \x96 \x93x\x94", true},
        {u"n\u202F:\u2009;\u2007!\u200A?", "n\xA0:\xA0;\xA0!\xA0?", true},
        {u"x\u2212y \u2011\u2010\u2012", "x-y ---", true},
        {u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D", true},
        {u"\u0080", "?", false}, // its byte is the euro sign's
        {u"日本", "??", false},
        {u"\U0001F600", "?", false}, // one character, not two halves
        {u"\u200B", "?", false},
    };
    for (const Cas& c : cas) {
        const QString texte = QString::fromUtf16(c.texte);
        SCOPED_TRACE(texte.toStdString());
        EXPECT_EQ(vers_cp1252(texte), c.octets);
        EXPECT_EQ(filtre_cp1252(texte), c.admis ? texte : QString());
    }
    EXPECT_EQ(filtre_cp1252(QStringLiteral("a\U0001F600b\u00A0c")), QStringLiteral("ab\u00A0c"));
}

// A text box's document read back whole: no-break spaces and control characters
// stay, paragraphs and line separators are line breaks.
TEST(Cp1252, TexteBrutDUnDocument) {
    QTextDocument document;
    document.setPlainText(QStringLiteral("a\u00A0!\t\u0001\u0081\nb"));
    QTextCursor(&document).insertText(QString(QChar::LineSeparator));
    EXPECT_EQ(texte_brut(document), QStringLiteral("\na\u00A0!\t\u0001\u0081\nb"));
}
