// The alarm clock: which alarms fall due, and a stepped clock driving the check;
// the message window (placement, text, waiting texts, dismissal); the diary
// reminder's hours.
#include "alarms/message_alarme.hpp"
#include "alarms/planificateur.hpp"
#include "alarms/rappel_agenda.hpp"
#include "outils_alarmes.hpp"

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

// Minutes as runs: "95-99 100".
std::string plages(const std::vector<std::int64_t>& minutes) {
    std::string texte;
    for (std::size_t i = 0; i < minutes.size();) {
        std::size_t j = i;
        while (j + 1 < minutes.size() && minutes[j + 1] == minutes[j] + 1)
            ++j;
        texte += (texte.empty() ? "" : " ") + std::to_string(minutes[i]) +
                 (j > i ? "-" + std::to_string(minutes[j]) : "");
        i = j + 1;
    }
    return texte;
}

// Checks in turn (the minute of each, whether the file could be read), the
// minutes each one looks at and those of them that ring late.
TEST(Planificateur, MinutesAVerifier) {
    struct Controle {
        std::int64_t maintenant;
        bool lu;
        const char* minutes;
        const char* en_retard = "";
    };
    struct Cas {
        const char* quoi;
        std::optional<std::int64_t> derniere;
        std::vector<Controle> controles;
    };
    // clang-format off
    const Cas cas[] = {
        {"premier", std::nullopt, {{100, true, "100"}}},
        {"deux dans la meme minute", 99, {{100, true, "100"}, {100, true, ""}}},
        {"top en retard d'une minute", 99, {{101, true, "100-101"}}},
        {"plus long rattrapage", 95, {{100, true, "96-100"}}},
        {"machine endormie", 94, {{100, true, "95-100", "95-99"}}},
        {"reveil apres 90 min", 99, {{100, true, "100"}, {190, true, "101-190", "101-189"}}},
        {"reveil apres 23 h", 99, {{100, true, "100"}, {1480, true, "101-1480", "101-1479"}}},
        {"reveil apres 25 h: seule la minute du top", 99,
         {{100, true, "100"}, {1600, true, "1600"}, {1601, true, "1601"}}},
        {"horloge reculee sur des minutes vues", 99,
         {{100, true, "100"}, {103, true, "101-103"}, {101, true, ""}, {104, true, "104"}}},
        {"horloge reculee sur une minute jamais vue", 99, {{100, true, "100"}, {90, true, "90"}}},
        {"avancee d'un jour puis reculee", 99,
         {{100, true, "100"}, {1540, true, "101-1540", "101-1539"}, {100, true, ""}}},
        {"reculee de plus d'un jour", 99,
         {{100, true, "100"}, {1541, true, "1541"}, {100, true, "100"}}},
        {"fichier illisible puis relu", 99,
         {{100, false, "100"}, {101, false, "100-101"}, {102, true, "100-102"},
          {103, true, "103"}}},
        {"minutes en panne reprises en retard", 99,
         {{100, false, "100"}, {110, false, "100-110", "100-109"}, {111, true, "100-111", "100-105"}}},
        {"minute en panne reprise a son heure apres recul", 99,
         {{100, true, "100"}, {101, false, "101"}, {90, true, "90"}}},
    };
    // clang-format on
    for (const Cas& c : cas) {
        SuiviMinutes suivi(c.derniere);
        for (const Controle& k : c.controles) {
            const std::vector<std::int64_t> minutes = suivi.a_verifier(k.maintenant);
            std::vector<std::int64_t> tardives;
            std::copy_if(minutes.begin(), minutes.end(), std::back_inserter(tardives),
                         [&](std::int64_t m) { return suivi.en_retard(m, k.maintenant); });
            EXPECT_EQ(plages(minutes), k.minutes) << c.quoi << " " << k.maintenant;
            EXPECT_EQ(plages(tardives), k.en_retard) << c.quoi << " " << k.maintenant;
            if (k.lu)
                suivi.reussie(minutes, k.maintenant);
            else
                suivi.echouee(minutes, k.maintenant);
        }
    }
}

TEST(Planificateur, NumeroDeMinuteAllerRetour) {
    // clang-format off
    for (HorlogeReglable h : {HorlogeReglable{2026, 3, 2, 10, 0}, {2026, 12, 31, 23, 59},
                              {2028, 2, 29, 0, 0}, {1982, 1, 1, 7, 30}}) {
        // clang-format on
        const std::int64_t n = numero_minute(h.maintenant());
        EXPECT_EQ(instant_de_minute(n), h.maintenant());
        h.avance(60);
        EXPECT_EQ(numero_minute(h.maintenant()), n + 1);
        EXPECT_EQ(instant_de_minute(n + 1), h.maintenant());
    }
}

// Whether an alarm is due at a minute, and whether, set at that minute, it is
// past (a one-date alarm that no check will ever find due).
TEST(Planificateur, AlarmeDueOuPassee) {
    // Monday 2 March 2026, 07:30.
    const Instant t = HorlogeReglable(2026, 3, 2, 7, 30, 59).maintenant();
    const MinuteVerifiee lundi = minute_verifiee(t);
    ASSERT_EQ(lundi.heure, "07:30");
    ASSERT_EQ(lundi.date, "02/03/2026");
    ASSERT_EQ(lundi.jour_semaine, 2);
    struct Cas {
        EnregistrementAlarme a;
        bool due, passee;
    };
    const auto le = [](const char* heure, const char* date) {
        return due_a(heure, "a.wav", tous_les_jours, date);
    };
    // 07:29 rings tomorrow; frequency 2 is Monday, 9 unknown; shapes that never
    // ring are not said to be past.
    // clang-format off
    const Cas cas[] = {
        {due_a("07:30"), true, false},              {due_a("07:31"), false, false},
        {due_a("07:29"), false, false},             {due_a("07:30", "a.wav", 2), true, false},
        {due_a("07:30", "a.wav", 3), false, false}, {due_a("07:30", "a.wav", 9), false, false},
        {le("07:30", "02/03/2026"), true, false},   {le("07:30", "03/03/2026"), false, false},
        {le("07:29", "02/03/2026"), false, true},   {le("23:59", "01/03/2026"), false, true},
        {le("07:30", "02/03/2025"), false, true},   {le("07:30", "2/03/2026"), false, false},
        {le("00:00", "31/02/2026"), false, false},  {le("24:00", "01/03/2026"), false, false},
        {le("7:30", "01/03/2026"), false, false},   {due_a("24:00"), false, false},
    };
    // clang-format on
    for (const Cas& c : cas) {
        EXPECT_EQ(alarme_due(c.a, lundi), c.due) << ligne_alarme(c.a) << " " << c.a.frequence();
        EXPECT_EQ(alarme_passee(c.a, t), c.passee) << ligne_alarme(c.a);
    }
}

class MessageAlarme : public ::testing::Test, public test::Bureau {
protected:
    ~MessageAlarme() override { message.hide(); }
    Tmessage_alarme message{ctx, reglages};
};

// Centred under the main window's top; the screen's edges are the placement's.
TEST_F(MessageAlarme, PlaceSousLeHautDeLaFenetrePrincipale) {
    const std::pair<RectangleFenetre, QPoint> cas[] = {
        {{350, 75, 417, 455}, {443, 295}},
        {{0, 0, 416, 455}, {92, 220}}, // 92.5 with the fraction dropped
    };
    for (const auto& [principale, position] : cas) {
        ctx.rect_main = principale;
        message.annonce("x");
        EXPECT_EQ(message.pos(), position);
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
}

// The shown text is the alarm's text with line breaks added, at blanks (which
// then go) or inside a word; nothing else differs.
bool memes_caracteres(const QString& saisi, const QString& montre) {
    qsizetype i = 0, j = 0;
    while (i < saisi.size() && j < montre.size()) {
        if (saisi[i] == montre[j]) {
            ++i, ++j;
        } else if (montre[j] == QLatin1Char('\n')) {
            ++j;
            while (i < saisi.size() && saisi[i] == QLatin1Char(' '))
                ++i;
        } else {
            return false;
        }
    }
    return i == saisi.size() && j == montre.size();
}

// A text of up to 200 characters is shown whole, broken into lines.
TEST_F(MessageAlarme, TexteEntierSurLePanneau) {
    std::string phrase;
    while (phrase.size() < 200)
        phrase += "Rendez-vous chez le dentiste \xE0 11h30, apporter la carte vitale ; ";
    phrase.resize(200);
    std::string lignes_courtes;
    for (int k = 0; k < 66; ++k)
        lignes_courtes += "l\r\n";
    for (const std::string& texte :
         {std::string("Appeler Marie"), phrase, std::string(200, 'W'),
          "premi\xE8re\r\nseconde\rtroisi\xE8me\n" + std::string(120, 'W'), lignes_courtes}) {
        message.annonce(texte);
        ASSERT_TRUE(message.isVisible());
        const QString montre = message.Label1->text();
        EXPECT_TRUE(memes_caracteres(texte_affiche(texte.c_str(), texte.size() + 1), montre))
            << montre.toStdString();
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
}

// The check itself, driven by a stepped clock (Monday 2 March 2026, 10:00:30).
class Verification : public MessageAlarme {
protected:
    Verification() { ctx.notificateur = &notifications; }
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
    // The boards shown, each dismissed in turn, checked against the texts
    // notified: the same texts, the board's broken into lines.
    std::vector<std::string> panneaux() {
        std::vector<std::string> montres;
        for (std::size_t k = 0; message.isVisible(); ++k) {
            const std::string attendu =
                k < notifications.appels.size() ? notifications.appels[k] : "";
            EXPECT_TRUE(memes_caracteres(QString::fromStdString(attendu), texte_montre()))
                << texte_montre().toStdString();
            montres.push_back(attendu);
            QTest::mouseClick(message.ok, Qt::LeftButton);
        }
        EXPECT_EQ(montres, notifications.appels);
        notifications.appels.clear();
        return montres;
    }

    NotificateurEnregistreur notifications;
    PlanificateurAlarmes planificateur{ctx, message};
};

// Ticks at the given times (hh, mm, ss; day 2 or 3 of March): which sounds
// ring, in order, and the texts shown and notified.
TEST_F(Verification, TopsEtSonneries) {
    struct Top {
        int jour, h, m, s, mois = 3;
    };
    struct Cas {
        const char* nom;
        std::vector<EnregistrementAlarme> alarmes;
        std::vector<Top> tops;
        std::vector<const char*> sons;
        std::vector<std::string> textes = {};
    };
    const std::string retard = "En retard\u00a0: alarme prévue ";
    // clang-format off
    const Cas cas[] = {
        {"une fois par minute, puis le lendemain", {due_a("10:01")},
         {{2, 10, 0, 30}, {2, 10, 1, 30}, {2, 10, 1, 50}, {3, 10, 1, 50}}, {"a.wav", "a.wav"}},
        {"minute de demarrage", {due_a("10:00")}, {{2, 10, 1, 30}}, {"a.wav"}},
        {"top en retard: ordre du fichier, chacune une fois",
         {due_a("10:02", "b.wav"), due_a("10:01", "a.wav"), due_a("10:03", "c.wav")},
         {{2, 10, 0, 59}, {2, 10, 2, 1}}, {"b.wav", "a.wav"}},
        // Summer time ends on 25 October 2026: at 03:00 the clock shows 02:00 again.
        {"heure d'ete finie", {due_a("02:30", "a.wav", tous_les_jours, "25/10/2026")},
         {{25, 2, 29, 30, 10}, {25, 2, 30, 30, 10}, {25, 2, 59, 30, 10}, {25, 2, 0, 30, 10},
          {25, 2, 29, 30, 10}, {25, 2, 30, 30, 10}, {25, 2, 31, 30, 10}},
         {"a.wav"}},
        // The scheduler knows no page: only the system date says which weekday it is.
        {"jour et date du systeme",
         {due_a("10:00", "lun.wav", 2), due_a("10:00", "mar.wav", 3),
          due_a("10:00", "d2.wav", tous_les_jours, "02/03/2026"),
          due_a("10:00", "d3.wav", tous_les_jours, "03/03/2026")},
         {{2, 10, 0, 30}, {3, 10, 0, 30}}, {"lun.wav", "d2.wav", "mar.wav", "d3.wav"}},
        {"reveil apres 90 min: en retard, une fois, puis a l'heure",
         {avec_texte(due_a("11:00"), "Arroser"), avec_texte(due_a("11:30", "b.wav"), "Courrier")},
         {{2, 10, 0, 30}, {2, 11, 30, 30}, {2, 11, 31, 30}, {3, 11, 0, 30}},
         {"a.wav", "b.wav", "a.wav"},
         {retard + "à 11:00.\nArroser", "Courrier", "Arroser"}},
        {"reveil passe minuit", {avec_texte(due_a("23:50"), "Dormir")},
         {{2, 23, 0, 30}, {3, 0, 30, 30}}, {"a.wav"}, {retard + "hier à 23:50.\nDormir"}},
        {"reveil apres 25 h: rien", {avec_texte(due_a("10:30"), "x")},
         {{2, 10, 0, 30}, {3, 11, 0, 30}}, {}},
        // Summer time begins on 29 March 2026: after 01:59 the clock shows 03:00.
        {"heure d'ete commencee", {avec_texte(due_a("02:30"), "Nuit")},
         {{29, 1, 59, 30}, {29, 3, 0, 30}, {29, 3, 1, 30}}, {"a.wav"}, {retard + "à 02:30.\nNuit"}},
    };
    // clang-format on
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        alarmes(c.alarmes);
        son.appels.clear();
        horloge.regle(2026, 3, 2, 10, 0, 30);
        PlanificateurAlarmes p{ctx, message};
        for (const Top& t : c.tops) {
            horloge.regle(2026, t.mois, t.jour, t.h, t.m, t.s);
            p.verifie();
        }
        EXPECT_EQ(son.appels, sons(c.sons));
        EXPECT_EQ(panneaux(), c.textes);
    }
}

// At start, the alarms of the minutes after the last one checked by the last
// run, up to a day back, in one board; no sound. The file then says that this
// run took over from its first minute.
TEST_F(Verification, AlarmesPasseesProgrammeFerme) {
    const std::int64_t maintenant = numero_minute(horloge.maintenant());
    const auto minute = [&](std::int64_t avant) {
        return std::to_string(maintenant - avant) + "\n";
    };
    const std::string entete = "Alarmes passées pendant que Quorvel était fermé\u00a0:";
    struct Cas {
        std::optional<std::string> fichier;
        std::string texte;
    };
    const Cas cas[] = {
        {std::nullopt, ""},
        {"", ""},
        {"abc\n", ""},
        {minute(30).substr(0, 3), ""},
        {"-" + minute(30), ""},
        {minute(-5), ""},
        {minute(1441), ""},
        {minute(1), ""},
        {minute(30), entete + "\nà 09:45\u00a0: Arroser\nà 09:59"},
        {minute(1440), entete + "\nhier à 23:50\u00a0: Dormir\nà 09:45\u00a0: Arroser\nà 09:59"},
    };
    alarmes({due_a("09:59"), due_a("10:00"), avec_texte(due_a("09:45"), "Arroser"),
             avec_texte(due_a("23:50"), "Dormir")});
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.fichier.value_or("sans fichier"));
        if (c.fichier)
            rep.ecrit(fichier_derniere_minute, *c.fichier);
        else
            std::filesystem::remove(rep.fichier(fichier_derniere_minute));
        PlanificateurAlarmes p{ctx, message};
        p.annonce_fermeture();
        EXPECT_TRUE(son.appels.empty());
        EXPECT_EQ(panneaux(),
                  c.texte.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.texte});
        EXPECT_EQ(rep.lit(fichier_derniere_minute), minute(1));
    }
    planificateur.verifie();
    EXPECT_EQ(rep.lit(fichier_derniere_minute), minute(0));
}

// The text of the last due alarm that shows one; while the board is open the
// later ones ring and their texts (an empty one too) wait their turn.
TEST_F(Verification, TexteDeLaDerniereAlarmeQuiLeMontreLesSuivantsAttendent) {
    alarmes({avec_texte(due_a("10:00", "1.wav"), "premier"), due_a("10:00", "2.wav"),
             avec_texte(due_a("10:00", "3.wav"), "troisieme"), due_a("10:00", "4.wav"),
             avec_texte(due_a("10:01", "5.wav"), ""), avec_texte(due_a("10:02", "6.wav"), "fin")});
    planificateur.verifie();
    EXPECT_EQ(son.appels, sons({"1.wav", "2.wav", "3.wav", "4.wav"}));
    EXPECT_EQ(message.textes_en_attente(), 0u);
    for (int minute = 1; minute <= 2; ++minute) {
        horloge.avance(60);
        planificateur.verifie();
    }
    EXPECT_EQ(son.appels, sons({"1.wav", "2.wav", "3.wav", "4.wav", "5.wav", "6.wav"}));
    EXPECT_EQ(message.textes_en_attente(), 2u);
    QTest::mouseClick(message.ok, Qt::RightButton); // only the left button dismisses
    for (const char* attendu : {"troisieme", "", "fin"}) {
        ASSERT_TRUE(message.isVisible());
        EXPECT_EQ(texte_montre(), attendu);
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
    EXPECT_FALSE(message.isVisible());
}

// The minute is tried again at the next tick (the minutes' table above).
TEST_F(Verification, PanneDeFichierSignaleeApresLeTop) {
    alarmes({due_a("10:00")});
    pannes::arme(2, EIO); // the size of the opened file cannot be read
    planificateur.verifie();
    pannes::desarme();
    EXPECT_TRUE(son.appels.empty());
    EXPECT_TRUE(dialogues.erreurs.empty()) << "the box waits until the tick has returned";
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogues.erreurs.size(), 1u);
    EXPECT_EQ(dialogues.erreurs[0].titre, "Quorvel V2.32");
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
    EXPECT_EQ(texte_montre().remove(QLatin1Char('\n')).size(), 200)
        << "201 bytes without terminator show as 200";
}

TEST(RappelAgenda, LigneCouranteSelonLHeure) {
    const int attendues[24] = {1, 1, 1, 1, 1, 1,  1,  1,  1,  2,  3,  4,
                               5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 13, 13};
    for (int h = 0; h < 24; ++h)
        EXPECT_EQ(creneau_courant(h), attendues[h]) << h;
}

} // namespace
} // namespace quorvel
