// The alarm record and the alarm file, byte by byte.
#include "alarms/alarme.hpp"
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/erreurs.hpp"

#include <cerrno>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

using test::RepertoireTemp;

EnregistrementAlarme alarme(const std::string& heure, const std::string& texte, bool repete = true,
                            const std::string& date = "03/03/2026", std::int16_t frequence = 0,
                            const std::string& son = "coucou.wav", bool affiche = false) {
    EnregistrementAlarme a;
    a.regle_heure(heure);
    a.regle_texte(texte);
    a.regle_affiche_texte(affiche);
    a.regle_repete(repete);
    a.regle_date(date);
    a.regle_frequence(frequence);
    EXPECT_TRUE(a.regle_son(son));
    return a;
}

std::string octets_de(const EnregistrementAlarme& a) {
    return std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size());
}

std::string octets_de(const std::vector<EnregistrementAlarme>& v) {
    std::string s;
    for (const auto& a : v)
        s += octets_de(a);
    return s;
}

TEST(EnregistrementAlarme, ChampsAuxPositionsDuFichier) {
    const auto a = alarme("07:30", "R\xE9veil", false, "24/12/2026", 0x0102, "C:\\son.wav", true);
    const std::string o = octets_de(a);
    ASSERT_EQ(o.size(), 283u);
    EXPECT_EQ(o.substr(0, 6), std::string("07:30\0", 6));
    EXPECT_EQ(o.substr(6, 7), std::string("R\xE9veil\0", 7));
    EXPECT_EQ(o.substr(13, 194), std::string(194, '\0'));
    EXPECT_EQ(o[207], 1);
    EXPECT_EQ(o[208], 0);
    EXPECT_EQ(o.substr(209, 11), std::string("24/12/2026\0", 11));
    EXPECT_EQ(static_cast<unsigned char>(o[220]), 0x02);
    EXPECT_EQ(static_cast<unsigned char>(o[221]), 0x01);
    EXPECT_EQ(o[222], 10);
    EXPECT_EQ(o.substr(223, 10), "C:\\son.wav");
    EXPECT_EQ(o.substr(233), std::string(50, '\0'));
    EXPECT_EQ(a.frequence(), 0x0102);
}

TEST(EnregistrementAlarme, TextesTropLongsCoupesAuChamp) {
    EnregistrementAlarme a;
    a.regle_heure("12:345678");
    a.regle_texte(std::string(250, 'x'));
    a.regle_date("01/01/20261234");
    EXPECT_EQ(a.heure(), "12:34");
    EXPECT_EQ(a.texte(), std::string(200, 'x'));
    EXPECT_EQ(a.date(), "01/01/2026");
    EXPECT_EQ(a.octets[5], 0);
    EXPECT_EQ(a.octets[206], 0);
    EXPECT_EQ(a.octets[219], 0);
    a.regle_frequence(-2);
    EXPECT_EQ(a.frequence(), -2);
}

TEST(EnregistrementAlarme, SonDePlusDeSoixanteCaracteresRefuse) {
    EnregistrementAlarme a;
    ASSERT_TRUE(a.regle_son(std::string(60, 's')));
    EXPECT_EQ(a.son(), std::string(60, 's'));
    EXPECT_FALSE(a.regle_son(std::string(61, 't')));
    EXPECT_EQ(a.son(), std::string(60, 's'));
    ASSERT_TRUE(a.regle_son("a.wav"));
    EXPECT_EQ(a.son(), "a.wav");
    EXPECT_EQ(a.octets[228], 0) << "the rest of the old path is cleared";
}

// Untrusted records: every read stays inside its field.
TEST(EnregistrementAlarme, LectureBorneeParLeChamp) {
    struct Cas {
        const char* nom;
        std::uint8_t remplissage;
        std::string heure, date;
        std::size_t texte, son;
        bool repete, affiche;
    };
    const Cas cas[] = {
        {"zeros", 0x00, "", "", 0, 0, false, false},
        {"sans terminateur", 'A', "AAAAAA", "AAAAAAAAAAA", 201, 60, true, true},
        {"octets hauts", 0xFF, std::string(6, '\xFF'), std::string(11, '\xFF'), 201, 60, true,
         true},
        {"longueur 7", 0x07, std::string(6, '\x07'), std::string(11, '\x07'), 201, 7, true, true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EnregistrementAlarme a;
        a.octets.fill(c.remplissage);
        EXPECT_EQ(a.heure(), c.heure);
        EXPECT_EQ(a.date(), c.date);
        EXPECT_EQ(a.texte().size(), c.texte);
        EXPECT_EQ(a.son().size(), c.son);
        EXPECT_EQ(a.repete(), c.repete);
        EXPECT_EQ(a.affiche_texte(), c.affiche);
        EXPECT_LE(ligne_alarme(a).size(), 10u + 3 + 6 + 3 + 50);
    }
}

TEST(EnregistrementAlarme, LigneDeLaListe) {
    struct Cas {
        EnregistrementAlarme a;
        std::string ligne;
    };
    const std::string long_texte = std::string(50, 'a') + "BCDEF";
    const Cas cas[] = {
        {alarme("07:30", "Rappel"), "07:30 : Rappel"},
        {alarme("18:00", "Rappel", false, "24/12/2026"), "24/12/2026 - 18:00 : Rappel"},
        {alarme("08:00", long_texte), "08:00 : " + std::string(50, 'a')},
        {alarme("08:00", "un\r\ndeux"), "08:00 : un  deux"},
        {alarme("09:15", "\xC9t\xE9", true, "junk", 3), "09:15 : \xC9t\xE9"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(ligne_alarme(c.a), c.ligne);
}

TEST(EnregistrementAlarme, CheminDuSon) {
    const std::string rep = "/donnees/";
    struct Cas {
        std::string son, chemin;
    };
    const Cas cas[] = {
        {"coucou.wav", "/donnees/coucou.wav"},
        {"/usr/share/sons/gong.wav", "/usr/share/sons/gong.wav"},
        {"C:\\QUORVEL\\coucou.wav", "/donnees/coucou.wav"},
        {"/sons/\xE9t\xE9.wav", "/sons/\xC3\xA9t\xC3\xA9.wav"},
        {"", ""},
    };
    for (const Cas& c : cas) {
        EnregistrementAlarme a;
        ASSERT_TRUE(a.regle_son(c.son));
        EXPECT_EQ(chemin_son(a, rep), c.chemin) << c.son;
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

TEST(FichierAlarme, PremiereOuvertureCreeUnFichierVide) {
    RepertoireTemp rep;
    EXPECT_EQ(compte_alarmes(rep.chemin()), 0);
    EXPECT_TRUE(rep.existe("ALARME"));
    EXPECT_EQ(rep.taille("ALARME"), 0);
}

TEST(FichierAlarme, EnregistrementIncompletIgnorePuisEcrase) {
    RepertoireTemp rep;
    const auto a = alarme("07:00", "un"), b = alarme("08:00", "deux"), c = alarme("09:00", "trois");
    rep.ecrit("ALARME", octets_de(std::vector{a, b}) + std::string(34, 'Z'));
    EXPECT_EQ(compte_alarmes(rep.chemin()), 2);
    EXPECT_EQ(lit_alarmes(rep.chemin()), (std::vector{a, b}));

    EXPECT_EQ(ajoute_alarme(rep.chemin(), c), 2);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(std::vector{a, b, c}));

    EnregistrementAlarme courante = alarme("23:59", "courante");
    rep.ecrit("ALARME", octets_de(std::vector{a, b}) + std::string(34, 'Z'));
    supprime_alarme(rep.chemin(), 0, courante);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(b));
    EXPECT_EQ(courante, b);
}

TEST(FichierAlarme, Suppression) {
    const auto a = alarme("07:00", "un"), b = alarme("08:00", "deux"), c = alarme("09:00", "trois");
    const auto marque = alarme("23:59", "courante");
    struct Cas {
        std::vector<EnregistrementAlarme> avant;
        int n;
        std::vector<EnregistrementAlarme> apres;
        EnregistrementAlarme courante;
    };
    const Cas cas[] = {
        {{a, b, c}, 0, {b, c}, c},
        {{a, b, c}, 1, {a, c}, c},
        {{a, b, c}, 2, {a, b}, marque}, // nothing moved: the record is unchanged
        {{a}, 0, {}, marque},
    };
    for (const Cas& k : cas) {
        RepertoireTemp rep;
        rep.ecrit("ALARME", octets_de(k.avant));
        EnregistrementAlarme courante = marque;
        supprime_alarme(rep.chemin(), k.n, courante);
        EXPECT_EQ(rep.lit("ALARME"), octets_de(k.apres));
        EXPECT_TRUE(rep.existe("ALARME"));
        EXPECT_EQ(courante, k.courante);
        EXPECT_EQ(rep.fichiers(), std::vector<std::string>{"ALARME"});
    }
}

TEST(FichierAlarme, ModificationEnPlaceEtHorsLimites) {
    RepertoireTemp rep;
    const auto a = alarme("07:00", "un"), b = alarme("08:00", "deux"), c = alarme("09:00", "trois");
    rep.ecrit("ALARME", octets_de(std::vector{a, b}));
    modifie_alarme(rep.chemin(), 1, c);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(std::vector{a, c}));
    EXPECT_THROW(modifie_alarme(rep.chemin(), 2, c), ErreurES);
    EXPECT_THROW(modifie_alarme(rep.chemin(), -1, c), ErreurES);
    EnregistrementAlarme courante;
    EXPECT_THROW(supprime_alarme(rep.chemin(), 2, courante), ErreurES);
    EXPECT_EQ(rep.lit("ALARME"), octets_de(std::vector{a, c}));
}

TEST(FichierAlarme, TexteAccentueDeDeuxCentsCaracteres) {
    RepertoireTemp rep;
    std::string texte;
    for (int i = 0; i < 100; ++i)
        texte += i % 2 ? "\xE9\r" : "\xE0\n";
    ASSERT_EQ(texte.size(), 200u);
    ajoute_alarme(rep.chemin(), alarme("10:00", texte));
    EnregistrementAlarme lu;
    lit_alarme(rep.chemin(), 0, lu);
    EXPECT_EQ(lu.texte(), texte);
}

TEST(FichierAlarme, FichierExistantIlliblePasRecreeVide) {
    RepertoireTemp rep;
    const std::string contenu = octets_de(alarme("07:00", "garde-moi"));
    rep.ecrit("ALARME", contenu);
    pannes::arme(1, EMFILE); // the read-write open fails
    EXPECT_THROW(compte_alarmes(rep.chemin()), ErreurES);
    pannes::desarme();
    EXPECT_EQ(rep.lit("ALARME"), contenu);
}

// Each step of each operation fails in turn: what was stored survives.
class PannesAlarme : public ::testing::Test {
protected:
    void TearDown() override { pannes::desarme(); }
    RepertoireTemp rep;
    const std::vector<EnregistrementAlarme> avant{alarme("07:00", "un"), alarme("08:00", "deux"),
                                                  alarme("09:00", "trois")};
    const EnregistrementAlarme nouvelle = alarme("10:00", "quatre");

    // Runs op with the k-th file operation failing, k = 1, 2, ... until op no
    // longer meets the fault; check runs after each failure.
    template <class Op, class Verif> int parcourt(int erreur, Op op, Verif verif) {
        for (int k = 1; k < 100; ++k) {
            rep.ecrit("ALARME", octets_de(avant));
            pannes::arme(k, erreur);
            try {
                op();
            } catch (const ErreurES&) {
                pannes::desarme();
                SCOPED_TRACE("operation " + std::to_string(k));
                verif();
                continue;
            }
            pannes::desarme();
            return k;
        }
        ADD_FAILURE() << "the operation never ended";
        return 0;
    }
};

TEST_F(PannesAlarme, SuppressionRateeLaisseLeFichierIntact) {
    for (int erreur : {ENOSPC, EIO, 0}) {
        EnregistrementAlarme courante = nouvelle;
        const int etapes = parcourt(
            erreur, [&] { supprime_alarme(rep.chemin(), 0, courante); },
            [&] {
                EXPECT_EQ(rep.lit("ALARME"), octets_de(avant));
                EXPECT_EQ(rep.fichiers(), std::vector<std::string>{"ALARME"});
                EXPECT_EQ(courante, nouvelle);
            });
        EXPECT_GT(etapes, 3);
        EXPECT_EQ(rep.lit("ALARME"), octets_de(std::vector{avant[1], avant[2]}));
    }
}

TEST_F(PannesAlarme, AjoutOuModificationRateNeToucheQueSonEnregistrement) {
    const std::string debut = octets_de(avant);
    parcourt(
        ENOSPC, [&] { ajoute_alarme(rep.chemin(), nouvelle); },
        [&] {
            EXPECT_EQ(rep.lit("ALARME").substr(0, debut.size()), debut);
            // A failed close comes after the record was written.
            const auto c = compte_alarmes(rep.chemin());
            EXPECT_TRUE(c == 3 || c == 4) << c;
        });
    parcourt(
        EIO, [&] { modifie_alarme(rep.chemin(), 1, nouvelle); },
        [&] {
            const std::string apres = rep.lit("ALARME");
            ASSERT_EQ(apres.size(), debut.size());
            EXPECT_EQ(apres.substr(0, 283), debut.substr(0, 283));
            EXPECT_EQ(apres.substr(566), debut.substr(566));
        });
    EXPECT_EQ(lit_alarmes(rep.chemin()), (std::vector{avant[0], nouvelle, avant[2]}));
}

} // namespace
} // namespace quorvel
