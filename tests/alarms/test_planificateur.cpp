// The alarm clock: which alarms fall due, and a stepped clock driving the check.
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "calendar/contexte.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/erreurs.hpp"
#include "settings/reglages.hpp"

#include <QLabel>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

using test::RepertoireTemp;

EnregistrementAlarme quotidienne(const std::string& heure, const std::string& son = "a.wav") {
    EnregistrementAlarme a;
    a.regle_heure(heure);
    a.regle_texte("Rappel " + heure);
    a.regle_repete(true);
    a.regle_date("01/01/2000");
    a.regle_frequence(tous_les_jours);
    a.regle_son(son);
    return a;
}

EnregistrementAlarme hebdomadaire(const std::string& heure, std::int16_t jour) {
    auto a = quotidienne(heure);
    a.regle_frequence(jour);
    return a;
}

EnregistrementAlarme a_date(const std::string& heure, const std::string& date) {
    auto a = quotidienne(heure);
    a.regle_repete(false);
    a.regle_date(date);
    return a;
}

EnregistrementAlarme avec_texte(EnregistrementAlarme a, const std::string& texte) {
    a.regle_texte(texte);
    a.regle_affiche_texte(true);
    return a;
}

TEST(Planificateur, MinutesAVerifier) {
    struct Cas {
        std::optional<std::int64_t> derniere;
        std::int64_t maintenant;
        std::vector<std::int64_t> minutes;
    };
    const Cas cas[] = {
        {std::nullopt, 100, {100}},
        {99, 100, {100}},
        {100, 100, {}},                   // a second check in the same minute
        {97, 100, {98, 99, 100}},         // a late tick skipped two minutes
        {95, 100, {96, 97, 98, 99, 100}}, // the longest gap made up for
        {94, 100, {100}},                 // asleep: the backlog is not rung
        {105, 100, {100}},                // the clock went back
    };
    for (const Cas& c : cas)
        EXPECT_EQ(minutes_a_verifier(c.derniere, c.maintenant), c.minutes);
}

TEST(Planificateur, NumeroDeMinuteAllerRetour) {
    const HorlogeReglable instants[] = {
        {2026, 3, 2, 10, 0}, {2026, 12, 31, 23, 59}, {2028, 2, 29, 0, 0}, {1982, 1, 1, 7, 30}};
    for (const auto& h : instants) {
        const Instant t = h.maintenant();
        EXPECT_EQ(instant_de_minute(numero_minute(t)), t);
        HorlogeReglable suivante = h;
        suivante.avance(60);
        EXPECT_EQ(numero_minute(suivante.maintenant()), numero_minute(t) + 1);
        EXPECT_EQ(instant_de_minute(numero_minute(t) + 1), suivante.maintenant());
    }
}

TEST(Planificateur, AlarmeDue) {
    // Monday 2 March 2026, 07:30.
    const MinuteVerifiee lundi = minute_verifiee(HorlogeReglable(2026, 3, 2, 7, 30).maintenant());
    ASSERT_EQ(lundi.heure, "07:30");
    ASSERT_EQ(lundi.date, "02/03/2026");
    ASSERT_EQ(lundi.jour_semaine, 2);
    struct Cas {
        const char* nom;
        EnregistrementAlarme a;
        bool due;
    };
    const Cas cas[] = {
        {"tous les jours", quotidienne("07:30"), true},
        {"autre minute", quotidienne("07:31"), false},
        {"lundi", hebdomadaire("07:30", 2), true},
        {"mardi", hebdomadaire("07:30", 3), false},
        {"dimanche", hebdomadaire("07:30", 1), false},
        {"frequence inconnue", hebdomadaire("07:30", 9), false},
        {"ce jour", a_date("07:30", "02/03/2026"), true},
        {"autre jour", a_date("07:30", "03/03/2026"), false},
        {"date sans zero", a_date("07:30", "2/03/2026"), false},
        {"heure sans zero", quotidienne("7:30"), false},
        {"24:00", quotidienne("24:00"), false},
        {"heure vide", quotidienne(""), false},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(alarme_due(c.a, lundi), c.due) << c.nom;
}

TEST(Planificateur, SonsEtTexteAMontrer) {
    const std::vector<MinuteVerifiee> minute{
        minute_verifiee(HorlogeReglable(2026, 3, 2, 7, 30).maintenant())};
    const auto texte1 = avec_texte(quotidienne("07:30"), "un");
    const auto texte2 = avec_texte(quotidienne("07:30"), "deux");
    const auto muette = quotidienne("07:30");
    const auto autre = avec_texte(quotidienne("08:00"), "non");
    struct Cas {
        std::vector<EnregistrementAlarme> alarmes;
        Echeances attendu;
    };
    const Cas cas[] = {
        {{}, {{}, -1}},
        {{texte1, muette}, {{0, 1}, 0}},
        {{texte1, texte2}, {{0, 1}, 1}},
        {{muette, autre, muette}, {{0, 2}, -1}},
        {{autre, texte2, autre}, {{1}, 1}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(alarmes_dues(c.alarmes, minute), c.attendu);
}

// The check itself, driven by a stepped clock.
class Verification : public ::testing::Test {
protected:
    Verification() {
        reglages.regle_video(1);
        ctx.rect_main = {100, 50, 411, 455};
    }
    ~Verification() override { message.hide(); }

    void alarmes(const std::vector<EnregistrementAlarme>& v) {
        std::string octets;
        for (const auto& a : v)
            octets.append(reinterpret_cast<const char*>(a.octets.data()), 283);
        rep.ecrit("ALARME", octets);
    }
    std::vector<std::string> sons(std::initializer_list<const char*> noms) const {
        std::vector<std::string> v;
        for (const char* n : noms)
            v.push_back(rep.chemin() + n);
        return v;
    }
    QString texte_montre() const { return message.Label1->text(); }

    RepertoireTemp rep;
    HorlogeReglable horloge{2026, 3, 2, 10, 0, 30}; // a Monday
    LecteurSonEnregistreur son;
    DialoguesTest dialogues;
    Contexte ctx{horloge, son, dialogues, rep.chemin()};
    Reglages reglages;
    Tmessage_alarme message{ctx, reglages};
    PlanificateurAlarmes planificateur{ctx, message};
};

TEST_F(Verification, FichierAbsentCreeVideEtRienNeSonne) {
    planificateur.verifie();
    EXPECT_TRUE(rep.existe("ALARME"));
    EXPECT_EQ(rep.taille("ALARME"), 0);
    EXPECT_TRUE(son.appels.empty());
    EXPECT_FALSE(message.isVisible());
}

TEST_F(Verification, SonneUneFoisParMinute) {
    alarmes({quotidienne("10:01", "a.wav")});
    planificateur.verifie(); // 10:00
    EXPECT_TRUE(son.appels.empty());
    horloge.avance(60);
    planificateur.verifie(); // 10:01:30
    EXPECT_EQ(son.appels, sons({"a.wav"}));
    horloge.avance(20);
    planificateur.verifie(); // 10:01:50, same minute
    EXPECT_EQ(son.appels, sons({"a.wav"}));
    horloge.avance(24 * 3600);
    planificateur.verifie(); // next day, long after: only the current minute
    EXPECT_EQ(son.appels, sons({"a.wav", "a.wav"}));
}

TEST_F(Verification, MinuteDeDemarrageVerifiee) {
    alarmes({quotidienne("10:00", "a.wav")});
    horloge.avance(60); // first tick, a minute after start-up at 10:00:30
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"a.wav"}));
}

TEST_F(Verification, TopEnRetardRattrapeLaMinuteSautee) {
    alarmes({quotidienne("10:02", "b.wav"), quotidienne("10:01", "a.wav"),
             quotidienne("10:03", "c.wav")});
    horloge.regle(2026, 3, 2, 10, 0, 59);
    planificateur.verifie();
    horloge.regle(2026, 3, 2, 10, 2, 1); // the tick came two seconds late
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"b.wav", "a.wav"})) << "file order, each once";
}

TEST_F(Verification, MachineEndormieNeSonnePasLArriere) {
    alarmes({quotidienne("10:03", "manquee.wav"), quotidienne("10:20", "maintenant.wav")});
    planificateur.verifie();
    horloge.regle(2026, 3, 2, 10, 20, 5);
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"maintenant.wav"}));
}

TEST_F(Verification, HorlogeReculee) {
    alarmes({quotidienne("09:30", "a.wav")});
    planificateur.verifie();
    horloge.regle(2026, 3, 2, 9, 30, 10); // the user set the clock back
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"a.wav"}));
}

TEST_F(Verification, JourDeLaSemaineDuSystemeEtDate) {
    alarmes({hebdomadaire("10:00", 2), hebdomadaire("10:00", 3), a_date("10:00", "02/03/2026"),
             a_date("10:00", "03/03/2026")});
    planificateur.verifie(); // Monday 2 March
    EXPECT_EQ(son.appels.size(), 2u);
    horloge.avance(24 * 3600);
    planificateur.verifie(); // Tuesday 3 March
    EXPECT_EQ(son.appels.size(), 4u);
    // The scheduler knows no page: only the system date says which weekday it is.
    EXPECT_EQ(son.appels, std::vector<std::string>(4, rep.chemin() + "a.wav"));
}

TEST_F(Verification, TexteDeLaDerniereAlarmeQuiLeMontre) {
    alarmes({avec_texte(quotidienne("10:00", "1.wav"), "premier"), quotidienne("10:00", "2.wav")});
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"1.wav", "2.wav"}));
    ASSERT_TRUE(message.isVisible());
    EXPECT_EQ(texte_montre(), "premier");
    EXPECT_TRUE(message.isModal());
    EXPECT_EQ(message.pos(), QPoint(100 + (411 - 231) / 2, 50 + 220));
}

TEST_F(Verification, DeuxTextesLeSecondMontre) {
    alarmes(
        {avec_texte(quotidienne("10:00"), "premier"), avec_texte(quotidienne("10:00"), "second")});
    planificateur.verifie();
    EXPECT_EQ(texte_montre(), "second");
    EXPECT_EQ(message.textes_en_attente(), 0u);
}

TEST_F(Verification, AlarmeSansTexteNeMontreRien) {
    alarmes({quotidienne("10:00")});
    planificateur.verifie();
    EXPECT_EQ(son.appels.size(), 1u);
    EXPECT_FALSE(message.isVisible());
}

TEST_F(Verification, FenetreDejaOuverteLeTexteAttend) {
    alarmes({avec_texte(quotidienne("10:00", "a.wav"), "premier"),
             avec_texte(quotidienne("10:01", "b.wav"), "second")});
    planificateur.verifie();
    ASSERT_TRUE(message.isVisible());
    horloge.avance(60);
    planificateur.verifie(); // the first message is still open
    EXPECT_EQ(son.appels, sons({"a.wav", "b.wav"}));
    EXPECT_EQ(texte_montre(), "premier");
    EXPECT_EQ(message.textes_en_attente(), 1u);

    QTest::mouseClick(message.ok, Qt::LeftButton);
    ASSERT_TRUE(message.isVisible()) << "the waiting text shows next";
    EXPECT_EQ(texte_montre(), "second");
    QTest::mouseClick(message.ok, Qt::LeftButton);
    EXPECT_FALSE(message.isVisible());
}

TEST_F(Verification, PanneDeFichierReprisAuTopSuivant) {
    alarmes({avec_texte(quotidienne("10:00", "a.wav"), "texte")});
    pannes::arme(2, EIO); // the size of the opened file cannot be read
    EXPECT_THROW(planificateur.verifie(), ErreurES);
    pannes::desarme();
    EXPECT_TRUE(son.appels.empty());
    EXPECT_FALSE(message.isVisible());
    horloge.avance(60);
    planificateur.verifie(); // 10:01:30 looks at 10:00 again
    EXPECT_EQ(son.appels, sons({"a.wav"}));
    EXPECT_EQ(texte_montre(), "texte");
}

TEST_F(Verification, EnregistrementsHostilesSansPlantage) {
    std::string octets;
    for (int v : {0x00, 0x20, 0x7F, 0x80, 0xFF})
        octets += std::string(283, static_cast<char>(v));
    auto due = avec_texte(quotidienne("10:00"), "");
    due.octets.fill(0xFF); // no terminator anywhere, length byte 255
    due.regle_heure("10:00");
    due.regle_frequence(0);
    octets.append(reinterpret_cast<const char*>(due.octets.data()), 283);
    octets += "10:00";
    rep.ecrit("ALARME", octets);
    planificateur.verifie();
    ASSERT_EQ(son.appels.size(), 1u);
    EXPECT_EQ(texte_montre().size(), 200) << "201 bytes without terminator show as 200";
}

} // namespace
} // namespace quorvel
