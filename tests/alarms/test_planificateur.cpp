// The alarm clock: which alarms fall due, and a stepped clock driving the check;
// the message window (placement, text, waiting texts, dismissal); the diary
// reminder's hours.
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "alarms/rappel_agenda.hpp"
#include "outils_alarmes.hpp"

#include <QLabel>
#include <QTest>
#include <array>
#include <cerrno>

namespace quorvel {
namespace {

// Every day at heure, or (jour > 0) one weekday, or (date given) on that day only.
EnregistrementAlarme due_a(const std::string& heure, const std::string& son = "a.wav",
                           std::int16_t jour = tous_les_jours, const std::string& date = "") {
    return test::alarme(heure, "Rappel", date.empty(), date.empty() ? "01/01/2000" : date, jour,
                        son);
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
    for (const HorlogeReglable& h : {HorlogeReglable{2026, 3, 2, 10, 0}, {2026, 12, 31, 23, 59},
                                     {2028, 2, 29, 0, 0}, {1982, 1, 1, 7, 30}}) {
        const Instant t = h.maintenant();
        HorlogeReglable suivante = h;
        suivante.avance(60);
        EXPECT_EQ(instant_de_minute(numero_minute(t)), t);
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
    const std::pair<EnregistrementAlarme, bool> cas[] = {
        {due_a("07:30"), true},
        {due_a("07:31"), false},
        {due_a("07:30", "a.wav", 2), true}, // Monday
        {due_a("07:30", "a.wav", 3), false},
        {due_a("07:30", "a.wav", 1), false},
        {due_a("07:30", "a.wav", 9), false}, // unknown frequency
        {due_a("07:30", "a.wav", tous_les_jours, "02/03/2026"), true},
        {due_a("07:30", "a.wav", tous_les_jours, "03/03/2026"), false},
        {due_a("07:30", "a.wav", tous_les_jours, "2/03/2026"), false},
        {due_a("7:30"), false},
        {due_a("24:00"), false},
        {due_a(""), false},
    };
    for (const auto& [a, due] : cas)
        EXPECT_EQ(alarme_due(a, lundi), due) << ligne_alarme(a) << " " << a.frequence();
}

TEST(Planificateur, SonsEtTexteAMontrer) {
    const std::vector<MinuteVerifiee> minute{
        minute_verifiee(HorlogeReglable(2026, 3, 2, 7, 30).maintenant())};
    const auto texte1 = avec_texte(due_a("07:30"), "un"), texte2 = avec_texte(due_a("07:30"), "deux");
    const auto muette = due_a("07:30"), autre = avec_texte(due_a("08:00"), "non");
    const std::pair<std::vector<EnregistrementAlarme>, Echeances> cas[] = {
        {{}, {{}, -1}},
        {{texte1, muette}, {{0, 1}, 0}},
        {{texte1, texte2}, {{0, 1}, 1}},
        {{muette, autre, muette}, {{0, 2}, -1}},
        {{autre, texte2, autre}, {{1}, 1}},
    };
    for (const auto& [alarmes, attendu] : cas)
        EXPECT_EQ(alarmes_dues(alarmes, minute), attendu);
}

class MessageAlarme : public ::testing::Test, public test::Bureau {
protected:
    ~MessageAlarme() override { message.hide(); }
    Tmessage_alarme message{ctx, reglages};
};

TEST_F(MessageAlarme, PlaceSousLeHautDeLaFenetrePrincipale) {
    const std::pair<RectangleFenetre, QPoint> cas[] = {
        {{350, 75, 417, 455}, {443, 295}},
        {{0, 0, 416, 455}, {92, 220}}, // 92.5 with the fraction dropped
        {{-300, 10, 100, 30}, {-365, 230}},
    };
    for (const auto& [principale, position] : cas) {
        ctx.rect_main = principale;
        message.annonce("x");
        EXPECT_EQ(message.pos(), position);
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
}

TEST_F(MessageAlarme, LignesGardeesLonguesLignesCoupees) {
    message.annonce("premi\xE8re\r\nseconde\rtroisi\xE8me\n" + std::string(120, 'W'));
    ASSERT_TRUE(message.isVisible());
    EXPECT_EQ(message.Label1->text(),
              QString::fromUtf8("première\nseconde\ntroisième\n") + QString(120, QLatin1Char('W')));
    EXPECT_FALSE(message.Label1->wordWrap());
    EXPECT_GT(message.Label1->sizeHint().width(), message.Label1->width())
        << "the long line runs past the edge, cut";
    EXPECT_EQ(message.Label1->textFormat(), Qt::PlainText);
    EXPECT_TRUE(message.isModal());
}

TEST_F(MessageAlarme, TextesEnAttenteDansLOrdre) {
    // An empty text still shows the board and its OK.
    for (const char* t : {"un", "", "trois"})
        message.annonce(t);
    EXPECT_EQ(message.textes_en_attente(), 2u);
    QTest::mouseClick(message.ok, Qt::RightButton); // only the left button dismisses
    for (const char* attendu : {"un", "", "trois"}) {
        ASSERT_TRUE(message.isVisible());
        EXPECT_EQ(message.Label1->text(), attendu);
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
    EXPECT_FALSE(message.isVisible());
    EXPECT_EQ(message.textes_en_attente(), 0u);
}

// The check itself, driven by a stepped clock (Monday 2 March 2026, 10:00:30).
class Verification : public MessageAlarme {
protected:
    void alarmes(const std::vector<EnregistrementAlarme>& v) {
        rep.ecrit("ALARME", test::octets_de(v));
    }
    std::vector<std::string> sons(const std::vector<const char*>& noms) const {
        std::vector<std::string> v;
        for (const char* n : noms)
            v.push_back(rep.chemin() + n);
        return v;
    }
    QString texte_montre() const { return message.Label1->text(); }

    PlanificateurAlarmes planificateur{ctx, message};
};

// Ticks at the given times (hh, mm, ss; day 2 or 3 of March): which sounds ring, in order.
TEST_F(Verification, TopsEtSonneries) {
    struct Top {
        int jour, h, m, s;
    };
    struct Cas {
        const char* nom;
        std::vector<EnregistrementAlarme> alarmes;
        std::vector<Top> tops;
        std::vector<const char*> sons;
    };
    const Cas cas[] = {
        {"une fois par minute, puis le lendemain", {due_a("10:01")},
         {{2, 10, 0, 30}, {2, 10, 1, 30}, {2, 10, 1, 50}, {3, 10, 1, 50}}, {"a.wav", "a.wav"}},
        {"minute de demarrage", {due_a("10:00")}, {{2, 10, 1, 30}}, {"a.wav"}},
        {"top en retard: ordre du fichier, chacune une fois",
         {due_a("10:02", "b.wav"), due_a("10:01", "a.wav"), due_a("10:03", "c.wav")},
         {{2, 10, 0, 59}, {2, 10, 2, 1}}, {"b.wav", "a.wav"}},
        {"machine endormie", {due_a("10:03", "manquee.wav"), due_a("10:20", "maintenant.wav")},
         {{2, 10, 0, 30}, {2, 10, 20, 5}}, {"maintenant.wav"}},
        {"horloge reculee", {due_a("09:30")}, {{2, 10, 0, 30}, {2, 9, 30, 10}}, {"a.wav"}},
        // The scheduler knows no page: only the system date says which weekday it is.
        {"jour et date du systeme",
         {due_a("10:00", "lun.wav", 2), due_a("10:00", "mar.wav", 3),
          due_a("10:00", "d2.wav", tous_les_jours, "02/03/2026"), due_a("10:00", "d3.wav", tous_les_jours, "03/03/2026")},
         {{2, 10, 0, 30}, {3, 10, 0, 30}}, {"lun.wav", "d2.wav", "mar.wav", "d3.wav"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        alarmes(c.alarmes);
        son.appels.clear();
        horloge.regle(2026, 3, 2, 10, 0, 30);
        PlanificateurAlarmes p{ctx, message};
        for (const Top& t : c.tops) {
            horloge.regle(2026, 3, t.jour, t.h, t.m, t.s);
            p.verifie();
        }
        EXPECT_EQ(son.appels, sons(c.sons));
        EXPECT_FALSE(message.isVisible());
    }
}

TEST_F(Verification, TexteDeLaDerniereAlarmeQuiLeMontreLeSuivantAttend) {
    alarmes({avec_texte(due_a("10:00", "1.wav"), "premier"), due_a("10:00", "2.wav"),
             avec_texte(due_a("10:00", "3.wav"), "troisieme"), due_a("10:00", "4.wav"),
             avec_texte(due_a("10:01", "5.wav"), "suivant")});
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"1.wav", "2.wav", "3.wav", "4.wav"}));
    ASSERT_TRUE(message.isVisible());
    EXPECT_EQ(texte_montre(), "troisieme");
    EXPECT_EQ(message.textes_en_attente(), 0u);
    horloge.avance(60);
    planificateur.verifie(); // the message is still open: it rings, its text waits
    EXPECT_EQ(son.appels, sons({"1.wav", "2.wav", "3.wav", "4.wav", "5.wav"}));
    EXPECT_EQ(texte_montre(), "troisieme");
    EXPECT_EQ(message.textes_en_attente(), 1u);
}

TEST_F(Verification, PanneDeFichierReprisAuTopSuivant) {
    alarmes({avec_texte(due_a("10:00", "a.wav"), "texte")});
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
    auto due = avec_texte(due_a("10:00"), "");
    due.octets.fill(0xFF); // no terminator anywhere, length byte 255
    due.regle_heure("10:00");
    due.regle_frequence(0);
    rep.ecrit("ALARME", octets + test::octets_de({due}) + "10:00");
    planificateur.verifie();
    ASSERT_EQ(son.appels.size(), 1u);
    EXPECT_EQ(texte_montre().size(), 200) << "201 bytes without terminator show as 200";
}

TEST(RappelAgenda, LigneCouranteSelonLHeure) {
    const int attendues[24] = {1, 1, 1, 1, 1, 1,  1,  1,  1,  2,  3,  4,
                               5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 13, 13};
    for (int h = 0; h < 24; ++h)
        EXPECT_EQ(creneau_courant(h), attendues[h]) << h;
}

TEST(RappelAgenda, ChaqueHeureDeLAgendaNeCompteQuUneFois) {
    // Hour of the check, diary lines it adds, last hour counted afterwards; started at 09:40.
    // The night leaves the last hour as it was, so 8 o'clock counts in the morning.
    const std::array<int, 3> pas[] = {{9, 0, 9},  {10, 3, 10}, {10, 0, 10},  {23, 0, 10},
                                      {3, 0, 10}, {8, 1, 8},   {20, 13, 20}, {7, 0, 20}};
    int derniere = 9;
    for (const auto& [heure, lignes, apres] : pas) {
        EXPECT_EQ(nouvelle_heure_agenda(heure, derniere), lignes) << heure;
        EXPECT_EQ(derniere, apres) << heure;
    }
}

} // namespace
} // namespace quorvel
