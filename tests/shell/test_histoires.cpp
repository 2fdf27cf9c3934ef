// Whole-program stories: start, type, quit (or the session ends), start again;
// failures that lose nothing.
#include "banc.hpp"

using namespace quorvel;
using namespace quorvel::test;

// The whole program on a temporary data directory, on 6 December 2026 at 9 o'clock.
struct HistoireComplete : ::testing::Test, Banc {
    HistoireComplete() : Banc(2026, 12, 6, 9) {}
};

// Quitting asks; "Annuler" keeps the program running and saves nothing.
TEST_F(HistoireComplete, QuitterDemandeEtAnnulerNeSauveRien) {
    Programme p = lance();
    p.form1->show();
    tape(p.form1->champ[1], QStringLiteral("Dentiste"));
    dialogues.reponses = {false};
    EXPECT_FALSE(p.form1->close());
    EXPECT_TRUE(p.form1->isVisible());
    EXPECT_EQ(dialogues.confirmations,
              (std::vector<DialoguesTest::Message>{
                  {QStringLiteral("Confirmation"),
                   QStringLiteral("Désirez-vous quitter Quorvel V2.32")}}));
    EXPECT_EQ(creneau(rep.lit("06_12_26.ENG"), 2), "");
}

TEST_F(HistoireComplete, LeMenuGeneralReappliqueLesReglagesSansToucherAuTexte) {
    Programme p = lance();
    TForm1& f = *p.form1;
    f.show();
    f.edit_bloc_calendrier->setPlainText(QStringLiteral("en cours"));
    // While the menu is open the settings change (as the configuration dialog does).
    QTimer::singleShot(0, [&] {
        QDialog* menu = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(menu, nullptr);
        p.etat.reglages.regle_couleur(CouleurReglee::jour, 0x00FF00);
        p.etat.reglages.regle_couleur(CouleurReglee::aiguilles, 0x00FF00);
        p.etat.reglages.regle_video(2);
        menu->reject();
    });
    f.menuClick();
    EXPECT_EQ(f.jour->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    // Video mode 2 shows the other clock and calculator; only the first clock takes the colour.
    EXPECT_FALSE(f.calculette1->isVisibleTo(&f));
    EXPECT_TRUE(f.calculette2->isVisibleTo(&f));
    EXPECT_FALSE(f.HORLOGE1->isVisibleTo(&f));
    EXPECT_TRUE(f.HORLOGE2->isVisibleTo(&f));
    EXPECT_EQ(f.HORLOGE1->couleur_aiguille(), QColor(0, 255, 0));
    EXPECT_EQ(f.HORLOGE2->couleur_aiguille(), QColor(Qt::black));
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("en cours"));
}

// Gestures on the program, one a character: > and < the page corners, b the
// Bloc-Notes, n "Note" typed on the day page, N "Pain" on the note pad, l
// "Garage" on line 3, c the bell of line 4, s the page sound's box, L and H the
// alarm list shown and hidden, a an alarm added from it, q quitting with "OK";
// ! makes the first read of the next gesture come back short.
void joue(Programme& p, DialoguesTest& dialogues, const std::string& gestes) {
    using G = std::function<void()>;
    TForm1& f = *p.form1;
    const std::map<char, G> geste = {
        {'>', [&] { f.corne_droiteClick(); }},
        {'<', [&] { f.corne_gaucheClick(); }},
        {'b', [&] { f.blocClick(); }},
        {'n', [&] { Banc::tape(f.edit_bloc_calendrier, QStringLiteral("Note")); }},
        {'N', [&] { Banc::tape(f.edit_bloc_note, QStringLiteral("Pain")); }},
        {'l', [&] { Banc::tape(f.champ[2], QStringLiteral("Garage")); }},
        {'c', [&] { f.champDblClick(4); }},
        {'s', [&] { p.configuration()->c1->click(); }},
        {'L', [&] { p.alarme_horloge()->show(); }},
        {'H', [&] { p.alarme_horloge()->hide(); }},
        {'a',
         [&] {
             QTimer::singleShot(0, p.saisie_alarme(), [&p] { p.saisie_alarme()->accept(); });
             p.alarme_horloge()->creer1->click();
         }},
        {'q',
         [&] {
             dialogues.reponses = {true};
             EXPECT_TRUE(f.close());
         }},
    };
    for (std::size_t i = 0; i < gestes.size(); ++i) {
        const bool court = gestes[i] == '!';
        if (court)
            pannes::arme(1, 0);
        geste.at(gestes[i += court])();
        pannes::desarme();
    }
}

// A file that could not be read stays as it is, whatever the timers, the page
// turns, the Bloc-Notes and quitting do, until the user changes what it holds;
// then its bytes are first kept under a name nothing reads or purges, and the
// user is told once. Each row runs twice: looking only, then changing.
TEST(MauvaisFichiers, UnFichierIllisibleEstGardeAvantQueLUtilisateurNeLeRemplace) {
    EnregistrementAlarme alarme;
    alarme.regle_heure("07:30");
    alarme.regle_texte("R\xE9veil");
    DialoguesTest dialogues;
    using Nouveau = std::function<std::string(const Programme&)>;
    const auto fixe = [](const std::string& octets) {
        return [=](const Programme&) { return octets; };
    };
    const Nouveau garage = fixe(agenda({{3, "Garage"}}));
    const std::string eng = "07_12_26.ENG",
                      court = agenda({{1, "Dentiste"}, {2, "Pharmacie"}}).substr(0, 805);
    struct Cas {
        const char* nom;
        std::string fichier, octets;
        std::string amene, change, quitte; // gestures
        std::string copie;                 // empty: the file must stay as it was
        Nouveau nouveau;
        // Other files: written before the first run, expected after the last.
        Fichiers avant = {}, apres = {};
    };
    // clang-format off
    const Cas cas[] = {
        {"note du jour tapée", eng, court, "", "n", "q", "", {}, {}, {{"07_12_26.PAD", nul("Note")}}},
        {"ligne tapée", eng, court, "", "l", "q", eng + ".illisible", garage},
        {"ligne tapée, pages tournées", eng, court, "", "l", "><>q", eng + ".illisible", garage},
        {"ligne tapée, Bloc-Notes", eng, court, "", "l", "bbq", eng + ".illisible", garage},
        {"cloche", eng, court, "", "c", "q", eng + ".illisible", fixe(agenda({}, {4}))},
        // Nothing typed on the 7th reaches the page of the 8th, turned to.
        {"lendemain", "08_12_26.ENG", court, "n>", "l", "q", "08_12_26.ENG.illisible", garage,
         {{"08_12_26.PAD", nul("note du 8")}}},
        // An earlier copy is never overwritten, and the purge deletes none.
        {"copies plus anciennes", eng, court, "", "l", "q", eng + ".illisible.2", garage,
         {{eng + ".illisible", "avant"}, {"12_11_26.ENG.illisible", "vieux"}}},
        {"bloc-notes", "PAD", nul("pr\xE9" "cieux"), "!b", "N", "bq", "PAD.illisible", fixe(nul("Pain"))},
        {"réglages courts", "PAD.CFG", std::string(100, '\0'), "", "ss", "q", "PAD.CFG.illisible",
         [](const Programme& p) { return octets_de(p.etat.reglages); }},
        {"alarme coupée", "ALARME", octets_de(alarme) + octets_de(alarme) + std::string(34, 'Z'),
         "L", "a", "Hq", "ALARME.illisible", [&](const Programme& p) {
             return octets_de(alarme) + octets_de(alarme) + octets_de(p.etat.alarme_courante); }},
    };
    // clang-format on
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        RepertoireTemp rep;
        HorlogeReglable horloge(2026, 12, 7, 9, 0);
        LecteurSonEnregistreur son;
        rep.ecrit(c.fichier, c.octets);
        for (const auto& [nom, contenu] : c.avant)
            rep.ecrit(nom, contenu);
        dialogues.erreurs.clear();
        for (const bool change : {false, true}) {
            Programme p(horloge, son, dialogues, rep.chemin());
            p.form1->show();
            joue(p, dialogues, c.amene + (change ? c.change : ""));
            p.form1->Timer1Timer();
            p.form1->Timer2Timer();
            joue(p, dialogues, c.quitte);
            const bool gardee = change && !c.copie.empty();
            EXPECT_EQ(rep.lit(c.fichier), gardee ? c.nouveau(p) : c.octets) << change;
            if (!c.copie.empty()) {
                EXPECT_EQ(rep.existe(c.copie) ? rep.lit(c.copie) : "-", gardee ? c.octets : "-");
            }
        }
        for (const Fichiers& f : {c.avant, c.apres})
            for (const auto& [nom, contenu] : f)
                EXPECT_EQ(rep.lit(nom), contenu) << nom;
        QStringList dits;
        for (const auto& m : dialogues.erreurs)
            if (m.texte.contains(QStringLiteral("gardé")))
                dits << m.texte;
        EXPECT_EQ(dits, c.copie.empty()
                            ? QStringList()
                            : QStringList(QString::fromStdString(
                                  "Le fichier " + c.fichier +
                                  " ne pouvait pas être lu\u00A0: il est gardé sous le nom " +
                                  c.copie + ".")));
        if (c.copie.empty())
            continue;
        // Started again: the new file reads whole, and the copy is left where it is.
        dialogues.erreurs.clear();
        Programme p(horloge, son, dialogues, rep.chemin());
        EXPECT_TRUE(dialogues.erreurs.empty());
        EXPECT_EQ(rep.lit(c.copie), c.octets);
    }
}
