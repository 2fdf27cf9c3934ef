// The alarm record and the alarm file, byte by byte.
#include "outils_alarmes.hpp"

#include <cerrno>
#include <filesystem>

namespace quorvel {
namespace {

using test::alarme;
using test::octets_de;
using test::RepertoireTemp;

TEST(EnregistrementAlarme, ChampsAuxPositionsDuFichier) {
    const auto a = alarme("07:30", "R\xE9veil", false, "24/12/2026", 0x0102, "C:\\son.wav", true);
    const std::string o = octets_de({a});
    ASSERT_EQ(o.size(), 283u);
    EXPECT_EQ(o.substr(0, 6), std::string("07:30\0", 6));
    EXPECT_EQ(o.substr(6, 7), std::string("R\xE9veil\0", 7));
    EXPECT_EQ(o.substr(13, 194), std::string(194, '\0'));
    EXPECT_EQ(o.substr(207, 2), std::string("\1\0", 2));
    EXPECT_EQ(o.substr(209, 11), std::string("24/12/2026\0", 11));
    EXPECT_EQ(o.substr(220, 3), "\x02\x01\x0A");
    EXPECT_EQ(o.substr(223, 10), "C:\\son.wav");
    EXPECT_EQ(o.substr(233), std::string(50, '\0'));
    EXPECT_EQ(a.frequence(), 0x0102);
}

TEST(EnregistrementAlarme, ChampsTropLongs) {
    std::string texte;
    for (int i = 0; i < 125; ++i)
        texte += i % 2 ? "\xE9\r" : "\xE0\n";
    EnregistrementAlarme a;
    a.regle_heure("12:345678");
    a.regle_texte(texte);
    a.regle_date("01/01/20261234");
    EXPECT_EQ(a.heure(), "12:34");
    EXPECT_EQ(a.texte(), texte.substr(0, 200));
    EXPECT_EQ(a.date(), "01/01/2026");
    for (int terminateur : {5, 206, 219})
        EXPECT_EQ(a.octets[terminateur], 0) << terminateur;
    // A sound path over 60 characters is refused whole; a shorter one clears the old tail.
    ASSERT_TRUE(a.regle_son(std::string(60, 's')));
    EXPECT_FALSE(a.regle_son(std::string(61, 't')));
    EXPECT_EQ(a.son(), std::string(60, 's'));
    ASSERT_TRUE(a.regle_son("a.wav"));
    EXPECT_EQ(a.son(), "a.wav");
    EXPECT_EQ(a.octets[228], 0);
}

// Untrusted records: every read stays inside its field.
TEST(EnregistrementAlarme, LectureBorneeParLeChamp) {
    struct Cas {
        std::uint8_t remplissage;
        std::string heure, date;
        std::size_t texte, son;
        bool oui;
    };
    const Cas cas[] = {
        {0x00, "", "", 0, 0, false},
        {'A', "AAAAAA", "AAAAAAAAAAA", 201, 60, true},
        {0xFF, std::string(6, '\xFF'), std::string(11, '\xFF'), 201, 60, true},
        {0x07, std::string(6, '\x07'), std::string(11, '\x07'), 201, 7, true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(int(c.remplissage));
        EnregistrementAlarme a;
        a.octets.fill(c.remplissage);
        EXPECT_EQ(a.heure(), c.heure);
        EXPECT_EQ(a.date(), c.date);
        EXPECT_EQ(a.texte().size(), c.texte);
        EXPECT_EQ(a.son().size(), c.son);
        EXPECT_EQ(a.repete(), c.oui);
        EXPECT_EQ(a.affiche_texte(), c.oui);
    }
    // The list line of any such record, as shown: bounded too.
    for (int v = 0; v < 256; ++v) {
        EnregistrementAlarme a;
        a.octets.fill(static_cast<std::uint8_t>(v));
        EXPECT_LE(ligne_alarme(a).size(), 10u + 3 + 5 + 3 + 50) << v;
    }
}

TEST(EnregistrementAlarme, LigneDeLaListeEtCheminDuSon) {
    const std::pair<EnregistrementAlarme, std::string> lignes[] = {
        {alarme("07:30", "Rappel"), "07:30 : Rappel"},
        {alarme("18:00", "Rappel", false, "24/12/2026"), "24/12/2026 - 18:00 : Rappel"},
        {alarme("08:00", std::string(50, 'a') + "BCDEF"), "08:00 : " + std::string(50, 'a')},
        {alarme("08:00", "un\r\ndeux"), "08:00 : un  deux"},
        {alarme("09:15", "\xC9t\xE9", true, "junk", 3), "09:15 : \xC9t\xE9"},
        {EnregistrementAlarme{}, " -  : "}, // all zeros: a one-date alarm with empty fields
    };
    for (const auto& [a, ligne] : lignes)
        EXPECT_EQ(ligne_alarme(a), ligne);
    // The data folder holds coucou.wav, and a sound of its own under sons/.
    RepertoireTemp rep;
    const std::string d = rep.chemin();
    rep.ecrit("coucou.wav", "RIFF");
    std::filesystem::create_directory(d + "sons");
    rep.ecrit("sons/coucou.wav", "RIFF");
    const std::pair<std::string, std::string> chemins[] = {
        {"coucou.wav", d + "coucou.wav"},
        {"/usr/share/sons/gong.wav", "/usr/share/sons/gong.wav"}, // the desktop beep plays
        {"C:\\QUORVEL\\coucou.wav", d + "coucou.wav"},
        {"/sons/\xE9t\xE9.wav", "/sons/\xC3\xA9t\xC3\xA9.wav"},
        {"", ""},
        // The folder copied from another user or machine: the sound is found by its name.
        {"/home/marie/quorvel/coucou.wav", d + "coucou.wav"},
        {d + "sons/coucou.wav", d + "sons/coucou.wav"},
    };
    for (const auto& [son, chemin] : chemins) {
        EnregistrementAlarme a;
        ASSERT_TRUE(a.regle_son(son));
        EXPECT_EQ(chemin_son(a, d), chemin) << son;
    }
}

TEST(AlarmeParDefaut, ValeursDuNouvelAlarme) {
    HorlogeReglable h(2026, 3, 3, 7, 5, 42);
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx(h, son, dialogues, "/home/marie/quorvel/");
    EnregistrementAlarme a;
    a.octets.fill(0xAA);
    alarme_par_defaut(a, ctx);
    EXPECT_EQ(a,
              alarme("07:05", "Rappel", true, "03/03/2026", 0, "/home/marie/quorvel/coucou.wav"));
    // A data directory too deep for the field: the bare name, which still names the file.
    Contexte profond(h, son, dialogues, "/" + std::string(55, 'd') + "/");
    alarme_par_defaut(a, profond);
    EXPECT_EQ(a.son(), "coucou.wav");
}

const auto un = alarme("07:00", "un"), deux = alarme("08:00", "deux"),
           trois = alarme("09:00", "trois"), marque = alarme("23:59", "courante");

TEST(FichierAlarme, EnregistrementIncompletIgnorePuisEcrase) {
    RepertoireTemp rep;
    const std::string abime = octets_de({un, deux}) + std::string(34, 'Z');
    rep.ecrit("ALARME", abime);
    EXPECT_EQ(compte_alarmes(rep.chemin()), 2);
    EXPECT_EQ(lit_alarmes(rep.chemin()), (std::vector{un, deux}));
    EXPECT_EQ(ajoute_alarme(rep.chemin(), trois), 2);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({un, deux, trois}));

    EnregistrementAlarme courante = marque;
    rep.ecrit("ALARME", abime);
    supprime_alarme(rep.chemin(), 0, courante);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({deux}));
    EXPECT_EQ(courante, deux);
    // Each time, the cut file was kept aside first, never over an earlier copy.
    EXPECT_EQ(rep.fichiers(),
              (std::vector<std::string>{"ALARME", "ALARME.illisible", "ALARME.illisible.2"}));
    EXPECT_EQ(rep.lit("ALARME.illisible"), abime);
    EXPECT_EQ(rep.lit("ALARME.illisible.2"), abime);
}

TEST(FichierAlarme, Suppression) {
    struct Cas {
        std::vector<EnregistrementAlarme> avant;
        int n;
        std::vector<EnregistrementAlarme> apres;
        EnregistrementAlarme courante;
    };
    const Cas cas[] = {
        {{un, deux, trois}, 0, {deux, trois}, trois},
        {{un, deux, trois}, 1, {un, trois}, trois},
        {{un, deux, trois}, 2, {un, deux}, marque}, // nothing moved: the record is unchanged
        {{un}, 0, {}, marque},
    };
    for (const Cas& k : cas) {
        RepertoireTemp rep;
        rep.ecrit("ALARME", octets_de(k.avant));
        EnregistrementAlarme courante = marque;
        supprime_alarme(rep.chemin(), k.n, courante);
        EXPECT_EQ(rep.lit("ALARME"), octets_de(k.apres));
        EXPECT_EQ(courante, k.courante);
        EXPECT_EQ(rep.fichiers(), std::vector<std::string>{"ALARME"});
    }
}

TEST(FichierAlarme, ModificationEnPlaceEtHorsLimites) {
    RepertoireTemp rep;
    rep.ecrit("ALARME", octets_de({un, deux}));
    modifie_alarme(rep.chemin(), 1, trois);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({un, trois}));
    EXPECT_THROW(modifie_alarme(rep.chemin(), 2, trois), ErreurES);
    EXPECT_THROW(modifie_alarme(rep.chemin(), -1, trois), ErreurES);
    EnregistrementAlarme courante;
    EXPECT_THROW(supprime_alarme(rep.chemin(), 2, courante), ErreurES);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({un, trois}));
}

// Faults at each step of adding, changing and deleting are walked by the
// program-wide fault tests; here, the open that must never empty the file.
TEST(FichierAlarme, FichierExistantIlliblePasRecreeVide) {
    RepertoireTemp rep;
    const std::string contenu = octets_de({un, deux});
    rep.ecrit("ALARME", contenu);
    pannes::arme(1, EMFILE); // the read-write open fails
    EXPECT_THROW(compte_alarmes(rep.chemin()), ErreurES);
    pannes::desarme();
    EXPECT_EQ(rep.lit("ALARME"), contenu);
}

} // namespace
} // namespace quorvel
