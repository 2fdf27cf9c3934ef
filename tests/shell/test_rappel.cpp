// The main window's timers: the hourly agenda reminder (its sound and its
// notification) and the current hour on today's page, the alarm clock while an
// error box stays open. (The purge at start-up is checked with the faults of
// start-up, tests/pannes.)
#include "alarms/planificateur.hpp"
#include "banc.hpp"

using namespace quorvel;
using namespace quorvel::test;

// Each case starts on 3 March 2026 with bells set in the agenda files, as an
// earlier run would have left them, then lets the clock tick. On today's page
// the line of the current hour is red; on another page none is.
TEST(Rappel, CestLaClocheDAujourdhuiQuiSonneUneFoisQuandSonHeureCommence) {
    struct Tic {
        int jour, heure, minute, sonneries; // rings counted so far
    };
    struct Cas {
        const char* quoi;
        int heure, minute, ligne_courante;
        std::vector<std::pair<int, int>> cloches; // (day of March, slot)
        bool page_du_4;
        std::vector<Tic> tics;
        const char* son = nullptr; // the agenda sound of the settings, when not the default
    };
    // clang-format off
    const Cas cas[] = {
        {"une fois, à son heure", 9, 40, 2, {{3, 3}}, false,
         {{3, 9, 40, 0}, {3, 10, 0, 1}, {3, 10, 30, 1}, {3, 11, 0, 1}}},
        {"pas pour l'heure du démarrage", 10, 10, 3, {{3, 3}}, false,
         {{3, 10, 10, 0}, {3, 10, 40, 0}}},
        // The page shows the 4th, which becomes today; 8 o'clock rings in the morning.
        {"la nuit ne compte pas", 21, 0, 13, {{4, 1}}, true, {{4, 3, 0, 0}, {4, 8, 0, 1}}},
        // Today's 10h00 rings, tomorrow's 11h00 shown on the page does not.
        {"quelle que soit la page", 9, 30, 2, {{3, 3}, {4, 4}}, true,
         {{3, 10, 0, 1}, {3, 11, 0, 1}}},
        // The machine slept from 10:40 until 10:20 the next day.
        {"reprise le lendemain dans la même heure", 10, 10, 3, {{4, 3}}, false,
         {{3, 10, 40, 0}, {4, 10, 20, 1}}},
        // The data folder was copied from another user: its coucou.wav plays.
        {"dossier déplacé", 9, 40, 2, {{3, 3}}, false, {{3, 10, 0, 1}},
         "/home/marie/quorvel/coucou.wav"},
    };
    // clang-format on
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        Banc b(2026, 3, 3, c.heure, c.minute);
        for (const auto& [jour, k] : c.cloches)
            b.rep.ecrit(fichier_agenda_jour(jour_du(jour, 3, 2026)),
                        agenda({{k, "RDV chez Andr\xE9"}}, {k}));
        if (c.son) {
            Reglages r;
            config_defaut(r, b.rep.chemin());
            ASSERT_TRUE(r.regle_son_alarme(c.son));
            ecrit_reglages(b.rep.chemin(), r);
            b.rep.ecrit("coucou.wav", "RIFF");
        }
        TForm1& f = b.demarre();
        NotificateurEnregistreur notifications;
        b.etat->ctx.notificateur = &notifications;
        std::vector<std::string> notifiees; // each ring, with its hour and line
        const auto lignes_rouges = [&f] {
            std::vector<int> rouges;
            for (int k = 1; k <= 13; ++k) {
                const QColor h = f.h[k - 1]->palette().color(QPalette::WindowText);
                EXPECT_EQ(f.champ[k - 1]->palette().color(QPalette::Text), h) << k;
                if (h == QColor(255, 0, 0))
                    rouges.push_back(k);
                else
                    EXPECT_EQ(h, QColor(0, 0, 0)) << k;
            }
            return rouges;
        };
        EXPECT_EQ(lignes_rouges(), std::vector<int>{c.ligne_courante});
        if (c.page_du_4) {
            f.corne_droiteClick();
            EXPECT_TRUE(lignes_rouges().empty());
        }
        const std::string sonnerie = b.rep.fichier("coucou.wav");
        for (const Tic& t : c.tics) {
            b.horloge.regle(2026, 3, t.jour, t.heure, t.minute, 10);
            f.Timer1Timer();
            EXPECT_EQ(std::count(b.son.appels.begin(), b.son.appels.end(), sonnerie), t.sonneries)
                << t.jour << " " << t.heure << ":" << t.minute;
            if (notifiees.size() < static_cast<std::size_t>(t.sonneries))
                notifiees.push_back((t.heure < 10 ? "0" : "") + std::to_string(t.heure) +
                                    "h00\u00a0: RDV chez André");
            EXPECT_EQ(notifications.appels, notifiees);
        }
        // A tick only reads: today's agenda file, once gone, is not made again.
        const Tic& t = c.tics.back();
        std::filesystem::remove(b.rep.fichier(fichier_agenda_jour(jour_du(t.jour, 3, 2026))));
        b.horloge.regle(2026, 3, t.jour, t.heure + 1, 0, 1);
        f.Timer1Timer();
        EXPECT_FALSE(b.rep.existe(fichier_agenda_jour(jour_du(t.jour, 3, 2026))));
    }
}

// Message boxes of which the error box stays open while pendant runs.
class DialoguesBoiteOuverte final : public Dialogues {
public:
    void erreur(QWidget*, const QString&, const QString& texte) override {
        erreurs << texte;
        if (pendant)
            std::exchange(pendant, nullptr)();
    }
    bool confirme(QWidget*, const QString&, const QString&) override { return false; }
    std::optional<QString> demande_mot_de_passe(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    ChoixPolice choisit_police(QWidget*, const ChoixPolice& p) override { return p; }
    std::uint32_t choisit_couleur(QWidget*, std::uint32_t c) override { return c; }
    QString choisit_fichier(QWidget*, const QString& f, const QString&) override { return f; }
    void ouvre_aide(QWidget*, const QString&, int) override {}

    QStringList erreurs;
    std::function<void()> pendant;
};

// The alarm file cannot be read from 10:00 to 10:59, and the box saying so stays
// open until 11:05: the clock goes on ticking, shows no second box, and rings
// the alarms of the failed minutes once the file is back.
TEST(Reveil, LaBoiteDErreurOuverteNArretePasLesControles) {
    RepertoireTemp rep;
    HorlogeReglable horloge(2026, 3, 2, 9, 59, 30);
    LecteurSonEnregistreur son;
    DialoguesBoiteOuverte dialogues;
    Programme p(horloge, son, dialogues, rep.chemin());
    std::filesystem::create_directory(rep.fichier("ALARME")); // no file can be opened there
    int controles = 0;
    p.form1->relie([&p] { return p.menu_general(); }, [&p] { return p.saints(); },
                   [&] {
                       ++controles;
                       p.planificateur->verifie();
                   });
    const auto tic = [&](int h, int m) {
        horloge.regle(2026, 3, 2, h, m, 30);
        const int avant = controles;
        return QTest::qWaitFor([&] { return controles > avant; }, 2000);
    };
    const auto une = [](const char* heure, const char* son) {
        return octets_de({alarme(heure, "", true, "", 0, son)});
    };
    dialogues.pendant = [&] {
        for (int m = 1; m <= 65; ++m) {
            if (m == 60) {
                std::filesystem::remove(rep.fichier("ALARME"));
                rep.ecrit("ALARME", une("10:00", "a.wav") + une("10:30", "b.wav") +
                                        une("10:59", "c.wav") + une("11:02", "d.wav"));
            }
            ASSERT_TRUE(tic(10 + m / 60, m % 60)) << "no check at minute " << m;
        }
    };
    p.form1->Timer2->start(1);
    ASSERT_TRUE(tic(10, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogues.erreurs.empty(); }, 2000));
    p.form1->Timer2->stop();
    EXPECT_EQ(dialogues.erreurs.size(), 1);
    EXPECT_EQ(son.appels, (std::vector<std::string>{rep.fichier("a.wav"), rep.fichier("b.wav"),
                                                    rep.fichier("c.wav"), rep.fichier("d.wav")}));
}
