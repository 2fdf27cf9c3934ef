// The alarm record and the alarm file, byte by byte.
#include "outils_alarmes.hpp"

namespace quorvel {
namespace {

using namespace test;

TEST(EnregistrementAlarme, ChampsAuxPositionsDuFichier) {
    const auto champ = [](std::string s, std::size_t taille) {
        s.resize(taille, '\0');
        return s;
    };
    const auto a = alarme("07:30", "R\xE9veil", false, "24/12/2026", 0x0102, "C:\\son.wav", true);
    // Shown and repeating flags after the text; the frequency little-endian; the sound after its
    // length byte.
    EXPECT_EQ(octets_de({a}), champ("07:30", 6) + champ("R\xE9veil", 201) + std::string("\1\0", 2) +
                                  champ("24/12/2026", 11) + "\x02\x01\n" +
                                  champ("C:\\son.wav", 60));
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

// Untrusted records, every byte the same: each read stays inside its field,
// the sound's length byte is bounded by 60, and so is the list line.
TEST(EnregistrementAlarme, LectureBorneeParLeChamp) {
    for (int v = 0; v < 256; ++v) {
        SCOPED_TRACE(v);
        EnregistrementAlarme a;
        a.octets.fill(static_cast<std::uint8_t>(v));
        const char c = static_cast<char>(v);
        EXPECT_EQ(a.heure(), v ? std::string(6, c) : "");
        EXPECT_EQ(a.date(), v ? std::string(11, c) : "");
        EXPECT_EQ(a.texte(), v ? std::string(201, c) : "");
        EXPECT_EQ(a.son(), std::string(std::min(v, 60), c));
        EXPECT_EQ(a.repete() && a.affiche_texte(), v != 0);
        EXPECT_LE(ligne_alarme(a).size(), 10u + 3 + 5 + 3 + 50);
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
    std::filesystem::create_directory(d + "sons");
    rep.ecrit("coucou.wav", "RIFF");
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

// Deleting moves the later records up and leaves the last one moved in the
// current record; a change is made in place; a number outside the file is an error.
TEST(FichierAlarme, SuppressionEtModification) {
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
    RepertoireTemp rep;
    rep.ecrit("ALARME", octets_de({un, deux}));
    modifie_alarme(rep.chemin(), 1, trois);
    EXPECT_THROW(modifie_alarme(rep.chemin(), 2, trois), ErreurES);
    EXPECT_THROW(modifie_alarme(rep.chemin(), -1, trois), ErreurES);
    EnregistrementAlarme courante;
    EXPECT_THROW(supprime_alarme(rep.chemin(), 2, courante), ErreurES);
    EXPECT_EQ(rep.lit("ALARME"), octets_de({un, trois}));
}

} // namespace
} // namespace quorvel
