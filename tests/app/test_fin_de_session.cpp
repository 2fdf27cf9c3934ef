// The end of the desktop session with the whole program on a temporary folder.
#include "app/fin_de_session.hpp"
#include "shell/banc.hpp"

#include <QElapsedTimer>
#include <csignal>

using namespace quorvel;
using namespace quorvel::test;

// The end of the desktop session: a signal saves the page in front as the
// quit question's "OK" does, without asking.
TEST(FinDeSession, UnSignalSauveLaPageEnVueSansQuestion) {
    struct Cas {
        int signal;
        bool bloc_notes; // the note pad in front
    } const cas[] = {{SIGTERM, false}, {SIGHUP, true}, {SIGINT, false}};
    for (const Cas& c : cas) {
        Banc b(2026, 12, 7);
        TForm1& f = b.demarre();
        if (c.bloc_notes)
            f.blocClick();
        Banc::tape(c.bloc_notes ? f.edit_bloc_note : f.edit_bloc_calendrier,
                   QStringLiteral("Tapé avant la fin\u00A0!"));
        if (!c.bloc_notes)
            Banc::tape(f.champ[2], QStringLiteral("Réunion"));
        int fins = 0;
        std::string dit = "-";
        TFinDeSession fin([&] { fins += f.sauve_en_fin_de_session(dit) ? 1 : 100; }, [] {});
        std::raise(c.signal);
        QElapsedTimer t;
        t.start();
        while (fins == 0 && t.elapsed() < 5000)
            QCoreApplication::processEvents();
        EXPECT_EQ(fins, 1) << c.signal;
        EXPECT_EQ(dit, "");
        EXPECT_TRUE(b.dialogues.confirmations.empty());
        EXPECT_EQ(b.rep.lit(c.bloc_notes ? "PAD" : "07_12_26.PAD"),
                  nul("Tap\xE9 avant la fin\xA0!"));
        if (!c.bloc_notes) {
            EXPECT_EQ(creneau(b.rep.lit("07_12_26.ENG"), 3), "R\xE9union");
        }
    }
    // Once the object is gone the signals have their default action again.
    struct sigaction action {};
    ::sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
}
