#include "commun/essai.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/image_brute.hpp"
#include "plateforme/saisie_cp1252.hpp"
#include "plateforme/son_qt.hpp"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;
namespace fs = std::filesystem;

// The platform layer: record files and their atomic replace,
// Windows-1252 texts, windows kept on screen, the raw picture format and the
// sound module.

// What the user set on a file and finds again after a save: where the name
// leads, the mode and owner of the file there ("moi": this process's), its bytes.
static std::string reglages_de(const RepertoireTemp& rep, const std::string& nom) {
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
static std::vector<std::string> arbre(const RepertoireTemp& rep) {
    std::vector<std::string> noms;
    for (const auto& e : fs::recursive_directory_iterator(rep.chemin()))
        noms.push_back(e.path().lexically_relative(rep.chemin()).string() +
                       (e.is_symlink() ? "@" : ""));
    std::sort(noms.begin(), noms.end());
    return noms;
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
    // Each case sets up x/T, the name saved to, in the empty folder x, with words
    // "nom=mode" (a file of "ancien", the mode in octal, "mode:uid:gid" to give it
    // away, which takes root) and "nom>cible" (a link, "/" for the test folder);
    // then tells reglages_de x/T after saving "nouveau".
    const struct Cas {
        const char *nom, *prepare, *apres;
    } cas[] = {{"privé", "T=600", "0600 moi nouveau"},
               {"nouveau, selon le masque", "", "0640 moi nouveau"},
               {"lien relatif", "d/vrai=604 T>d/vrai", "lien vers d/vrai, 0604 moi nouveau"},
               {"chaîne de liens, relatifs chacun à son dossier", "d/vrai=660 d/L>vrai T>d/L",
                "lien vers d/L, 0660 moi nouveau"},
               {"lien absolu", "vrai=644 T>/x/vrai", "lien vers $/x/vrai, 0644 moi nouveau"},
               {"lien vers rien encore", "T>vrai", "lien vers vrai, 0640 moi nouveau"},
               {"autre propriétaire, set-gid", "T=2754:4321:4322", "2754 4321:4322 nouveau"}};
    const auto remet = [&](const Cas& c) {
        fs::remove_all(rep.fichier("x"));
        fs::create_directory(rep.fichier("x"));
        std::istringstream mots(c.prepare);
        for (std::string mot; mots >> mot;) {
            const std::size_t fin = mot.find_first_of("=>");
            const std::string nom = rep.fichier("x/" + mot.substr(0, fin)),
                              suite = mot.substr(fin + 1);
            fs::create_directories(fs::path(nom).parent_path());
            if (mot[fin] == '>') {
                fs::create_symlink(suite[0] == '/' ? rep.fichier(suite.substr(1)) : suite, nom);
                continue;
            }
            unsigned mode = 0, uid = 0, gid = 0;
            rep.ecrit("x/" + mot.substr(0, fin), "ancien");
            const bool cede = std::sscanf(suite.c_str(), "%o:%u:%u", &mode, &uid, &gid) == 3;
            ASSERT_EQ(cede ? ::chown(nom.c_str(), uid, gid) : 0, 0);
            ::chmod(nom.c_str(), mode);
        }
    };
    std::set<std::string> etapes;
    std::map<std::string, int> rang;
    for (const Cas& c : cas) {
        if (std::strchr(c.prepare, ':') && ::geteuid() != 0)
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
    const std::vector<std::string> effaces({"PAD.quorvel-Ab12Cd", "05_03_98.ENG.quorvel-zzzz09"});
    const std::vector<std::string> gardes(
        {"PAD", "PAD.quorvel-Ab12C", "PAD.quorvel-Ab12Cde", "PAD.quorvel-Ab-2Cd",
         "PAD.quorvel-Ab12Cd~", ".quorvel-Ab12Cd", "PAD.~tmp", "sous/PAD.quorvel-Ab12Cd"});
    fs::create_directory(rep.fichier("sous"));
    fs::create_directory(rep.fichier("SAINT01.quorvel-Ab12Cd"));
    for (const auto* liste : {&effaces, &gardes})
        for (const std::string& nom : *liste)
            rep.ecrit(nom, "x");
    fs::create_symlink("PAD", rep.fichier("ALARME.quorvel-Ab12Cd"));
    EXPECT_EQ(efface_provisoires(rep.chemin()), 2);
    for (const auto* liste : {&effaces, &gardes})
        for (const std::string& nom : *liste)
            EXPECT_EQ(rep.existe(nom), liste == &gardes) << nom;
    EXPECT_TRUE(fs::is_directory(rep.fichier("SAINT01.quorvel-Ab12Cd")));
    EXPECT_TRUE(fs::is_symlink(rep.fichier("ALARME.quorvel-Ab12Cd")));
    EXPECT_EQ(efface_provisoires(rep.fichier("absent")), 0);
}

TEST(Cp1252, AllerRetourDeChaqueOctet) {
    const std::string tous = test::tous_les_octets(255)[0];
    EXPECT_EQ(vers_cp1252(depuis_cp1252(tous)), tous);
    EXPECT_EQ(filtre_cp1252(depuis_cp1252(tous)), depuis_cp1252(tous));
    EXPECT_EQ(depuis_cp1252("\xE9t\xE9 \x80"), QStringLiteral("été €"));
}

// What each character becomes in a file, and whether a text box takes it in.
TEST(Cp1252, CaracteresSansOctetPropre) {
    const std::tuple<const char16_t*, const char*, bool> cas[] = {
        {u"Œuvre – “x”", "\x8Cuvre \x96 \x93x\x94", true},
        {u"n\u202F:\u2009;\u2007!\u200A?", "n\xA0:\xA0;\xA0!\xA0?", true},
        {u"x\u2212y \u2011\u2010\u2012", "x-y ---", true},
        {u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D", true},
        {u"\u0080", "?", false}, // its byte is the euro sign's
        {u"日本", "??", false},
        {u"\U0001F600", "?", false}, // one character, not two halves
        {u"\u200B", "?", false}};
    for (const auto& [utf16, octets, admis] : cas) {
        const QString texte = QString::fromUtf16(utf16);
        EXPECT_EQ(vers_cp1252(texte), octets) << texte.toStdString();
        EXPECT_EQ(filtre_cp1252(texte), admis ? texte : QString()) << texte.toStdString();
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

// The one rule every placement ends with: a window's outer rectangle is moved
// inside the usable area of its screen.
TEST(Ecran, UneFenetreQuiDeborderaitEstRameneeSurLEcran) {
    const QRect ecran(0, 0, 1024, 768), barre_en_haut(0, 28, 1024, 740),
        second(1024, 0, 1280, 1024);
    const std::tuple<const char*, QRect, QRect, QPoint> cas[] = {
        {"dedans", {305, 146, 413, 476}, ecran, {305, 146}},
        {"aux bords exacts", {724, 568, 300, 200}, ecran, {724, 568}},
        {"aide sous le menu", {493, 376, 522, 625}, ecran, {493, 143}},
        {"à droite", {900, 100, 300, 200}, ecran, {724, 100}},
        {"en haut à gauche", {-50, -10, 300, 200}, ecran, {0, 0}},
        {"plus haute que l'écran", {100, 300, 300, 900}, ecran, {100, 0}},
        {"plus large que l'écran", {-20, 100, 1100, 200}, ecran, {0, 100}},
        {"sous une barre de tâches", {100, 0, 300, 200}, barre_en_haut, {100, 28}},
        {"second écran, en bas à droite", {2200, 900, 300, 200}, second, {2004, 824}},
        {"second écran, à cheval", {1000, 10, 300, 200}, second, {1024, 10}}};
    for (const auto& [quoi, fenetre, zone, attendu] : cas)
        EXPECT_EQ(dans_zone(fenetre, zone), QRect(attendu, fenetre.size())) << quoi;
}

static QImage exemple(bool transparente) {
    QImage im(7, 5, transparente ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    im.fill(transparente ? Qt::transparent : Qt::white);
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            if ((x + y) % 2)
                im.setPixel(x, y, qRgba(10 * x, 20 * y, 200, transparente ? 128 : 255));
    return im;
}

// The raw picture format the program compiles in: a round trip keeps every
// pixel and shares the bytes where it can. Bytes that are not 4-byte aligned
// are copied, with the same pixels. Bytes of its own (an unpacked resource) are
// kept by the picture, which takes a pixel ratio without a copy, and outlive
// the array they came in.
TEST(ImageBrute, AllerRetourSansPerteEtSansCopieQuandLesOctetsSontAlignes) {
    for (bool transparente : {false, true}) {
        SCOPED_TRACE(transparente);
        const QImage source = exemple(transparente);
        const QByteArray octets = en_image_brute(source);
        ASSERT_EQ(octets.size(), entete_image_brute + 7 * 5 * 4);
        const auto* p = reinterpret_cast<const uchar*>(octets.constData());
        const QImage lue = image_brute(p, octets.size());
        ASSERT_FALSE(lue.isNull());
        EXPECT_EQ(lue.format(),
                  transparente ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        EXPECT_EQ(lue, source.convertToFormat(lue.format()));
        EXPECT_EQ(lue.constBits(), p + entete_image_brute);

        std::vector<uchar> decale(size_t(octets.size()) + 1);
        std::memcpy(decale.data() + 1, p, size_t(octets.size()));
        const QImage copiee = image_brute(decale.data() + 1, octets.size());
        EXPECT_EQ(copiee, lue);
        EXPECT_NE(copiee.constBits(), decale.data() + 1 + entete_image_brute);

        QImage propre;
        {
            QByteArray unique(octets.constData(), octets.size());
            const uchar* pixels =
                reinterpret_cast<const uchar*>(unique.constData()) + entete_image_brute;
            propre = image_brute(std::move(unique));
            propre.setDevicePixelRatio(2);
            EXPECT_EQ(propre.constBits(), pixels);
        }
        EXPECT_EQ(propre, lue);
    }
}

// The sound module is loaded by the first sound, and its absence only costs
// the sound: every play falls back to the desktop's beep. Nothing of the sound
// system at start: the program does not link it.
TEST(Son, LeModuleNestChargeQueParLePremierSonEtSonAbsenceNeCoupeQueLeSon) {
    const auto multimedia_chargee = [] {
        QFile cartes(QStringLiteral("/proc/self/maps"));
        return cartes.open(QIODevice::ReadOnly) && cartes.readAll().contains("libQt6Multimedia");
    };
    RepertoireTemp vide;
    const QString dossier_vide = QString::fromStdString(vide.chemin());
    EXPECT_FALSE(multimedia_chargee());
    LecteurSonQt sans_module({dossier_vide});
    LecteurSonQt lecteur({dossier_vide, QStringLiteral(QUORVEL_MODULE_SON)});
    EXPECT_FALSE(lecteur.module_charge());
    EXPECT_FALSE(multimedia_chargee());

    // Without the module every sound is a beep, and asking again is harmless.
    sans_module.joue(vide.fichier("absent.wav"));
    sans_module.joue(vide.fichier("absent.wav"));
    EXPECT_FALSE(sans_module.module_charge());
    EXPECT_EQ(charge_module_son({dossier_vide}), nullptr);

    // A file of that name that is not a library is passed over.
    vide.ecrit("libquorvel_son.so", "pas une bibliothèque");
    EXPECT_EQ(charge_module_son({dossier_vide}), nullptr);

    // The next folder in the list has it: the first sound loads it.
    lecteur.joue(vide.fichier("absent.wav"));
    EXPECT_TRUE(lecteur.module_charge());
    EXPECT_TRUE(multimedia_chargee());
}
