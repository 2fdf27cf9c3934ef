// The day page lived in: typing, turning pages, the note pad, bells, the
// limits of the boxes, the saint of the day.
#include "banc.hpp"
#include "calendar/utilitaires.hpp"

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>

using namespace quorvel;
using namespace quorvel::test;
namespace ch = std::chrono;

TEST(Page, DemarrageSurUnRepertoireVide) {
    Banc b(1998, 2, 27, 10, 30);
    TForm1& f = b.demarre();
    EXPECT_EQ(f.mois->text(), QStringLiteral("Février "));
    EXPECT_EQ(f.annee->text(), QStringLiteral("1998"));
    EXPECT_EQ(f.date_jour->text(), QStringLiteral("27"));
    EXPECT_EQ(f.semaine->text(), QStringLiteral("Semaine 09"));
    EXPECT_EQ(b.rep.taille("PAD.CFG"), 241);
    EXPECT_EQ(b.rep.taille("27_02_98.PAD"), 0);
    EXPECT_EQ(b.rep.lit("27_02_98.ENG"), std::string(806, '\0'));
    // February made with 29 dated records and no names, whatever the year.
    std::string fevrier;
    for (int j = 1; j <= 29; ++j)
        fevrier += nombre_zeros(j, 2) + "/02" + std::string(32, '\0');
    EXPECT_EQ(b.rep.lit("SAINT02"), fevrier);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_TRUE(b.dialogues.erreurs.empty());
    EXPECT_TRUE(f.calculette1->isVisibleTo(&f));
    EXPECT_FALSE(f.calculette2->isVisibleTo(&f));
    EXPECT_TRUE(f.HORLOGE1->isVisibleTo(&f));
}

TEST(Page, TournerLesPagesAuTraversDesMoisDesAnneesEtDesAnneesBissextiles) {
    struct Cas {
        int j, m, a;
        bool suivant;
        int j2, m2, a2;
        const char* jour;
    };
    const Cas cas[] = {
        {28, 2, 1996, true, 29, 2, 1996, "Jeudi "},    {1, 3, 1996, false, 29, 2, 1996, "Jeudi "},
        {28, 2, 1998, true, 1, 3, 1998, "Dimanche "},  {28, 2, 2098, true, 1, 3, 2098, "Samedi "},
        {1, 3, 1997, false, 28, 2, 1997, "Vendredi "}, {28, 2, 2000, true, 29, 2, 2000, "Mardi "},
        {31, 12, 1998, true, 1, 1, 1999, "Vendredi "}, {1, 1, 1999, false, 31, 12, 1998, "Jeudi "},
        {30, 4, 2026, true, 1, 5, 2026, "Vendredi "},  {1, 5, 2026, false, 30, 4, 2026, "Jeudi "},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.j << "/" << c.m << "/" << c.a);
        Banc b(c.a, c.m, c.j);
        TForm1& f = b.demarre();
        c.suivant ? f.corne_droiteClick() : f.corne_gaucheClick();
        EXPECT_EQ(b.etat->page.date(), jour_du(c.j2, c.m2, c.a2));
        EXPECT_EQ(f.jour->text(), QString::fromLatin1(c.jour));
        // Two-digit years: 2000 is "00", and 1998 and 2098 share their files.
        EXPECT_TRUE(b.rep.existe(
            QString::asprintf("%02d_%02d_%02d.ENG", c.j2, c.m2, c.a2 % 100).toStdString()));
    }
}

TEST(Page, LeBlocNotesEstLeMemePourTousLesJours) {
    Banc b(2026, 3, 3);
    TForm1& f = b.demarre();
    f.edit_bloc_calendrier->setPlainText(QStringLiteral("jour"));
    f.blocClick();
    EXPECT_FALSE(f.calendrier->isVisibleTo(&f));
    EXPECT_TRUE(f.bloc_note->isVisibleTo(&f));
    EXPECT_EQ(f.bloc->text(), QStringLiteral("Bloc-Calendrier"));
    EXPECT_EQ(b.rep.lit("03_03_26.PAD"), nul("jour"));
    EXPECT_EQ(b.rep.taille("PAD"), 0); // created when first shown
    f.edit_bloc_note->setPlainText(QStringLiteral("liste\ncourses"));
    f.blocClick();
    EXPECT_EQ(f.bloc->text(), QStringLiteral("Bloc-Notes"));
    EXPECT_EQ(b.rep.lit("PAD"), nul("liste\r\ncourses"));
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("jour"));
    f.corne_droiteClick();
    f.blocClick();
    EXPECT_EQ(f.edit_bloc_note->toPlainText(), QStringLiteral("liste\ncourses"));
    f.edit_bloc_note->clear();
    f.blocClick();
    EXPECT_EQ(b.rep.lit("PAD"), nul(""));
    EXPECT_TRUE(f.bloc_libre);
}

TEST(Page, LesClochesSontEcritesAussitotAvecLesTextesDejaEnregistres) {
    Banc b(2026, 3, 3);
    TForm1& f = b.demarre();
    const auto eng = [&] { return b.rep.lit("03_03_26.ENG"); };
    Banc::tape(f.champ[2], QStringLiteral("pas encore"));
    f.champDblClick(5);
    EXPECT_EQ(cloche(eng(), 5), 1);
    EXPECT_EQ(creneau(eng(), 3), ""); // the typed text reaches the file with the next save
    EXPECT_FALSE(f.a[4]->pixmap().isNull());
    EXPECT_TRUE(f.a[3]->pixmap().isNull());
    // Double-clicking the hour label works the same; twice gives the first state back.
    QTest::mouseDClick(f.h[3], Qt::LeftButton);
    EXPECT_EQ(cloche(eng(), 4), 1);
    f.champDblClick(4);
    EXPECT_EQ(cloche(eng(), 4), 0);
    f.corne_droiteClick();
    EXPECT_EQ(creneau(eng(), 3), "pas encore");
    EXPECT_EQ(cloche(eng(), 5), 1);
    f.corne_gaucheClick();
    EXPECT_TRUE(b.etat->page.agenda().cloche(5));
    EXPECT_FALSE(b.etat->page.agenda().cloche(4));
    // An agenda file deleted meanwhile is made again with the texts and no bells.
    Banc::tape(f.champ[0], QStringLiteral("texte"));
    std::filesystem::remove(b.rep.fichier("03_03_26.ENG"));
    f.corne_droiteClick();
    EXPECT_EQ(creneau(eng(), 1), "texte");
    EXPECT_EQ(cloche(eng(), 5), 0);
}

// Typing saves itself: a second after the last key, two at the latest after
// the first key not yet saved, never twice within two seconds; only the file
// whose box changed is written, and the keys themselves write nothing.
TEST(Page, CeQuiEstTapeSEnregistreDeLuiMeme) {
    // The file whose box is typed in, and one changed behind the program's
    // back, which must stay as it is.
    const std::pair<std::string, std::string> boites[] = {{"03_03_26.ENG", "03_03_26.PAD"},
                                                          {"03_03_26.PAD", "03_03_26.ENG"},
                                                          {"PAD", "03_03_26.PAD"}};
    // At t ms, keys typed, then the timer's wake-up: the text stored, or the
    // delay the timer is set to.
    struct Pas {
        long long t;
        const char* touches;
        const char* stocke;
        int delai;
    } const pas[] = {
        {0, "R\xE9union", "", 1000},           {900, " \xE0", "", 1000},   {1800, " 9h", "", 200},
        {2000, "", "R\xE9union \xE0 9h", -1},  {2100, "!", nullptr, 1900}, {3100, "", nullptr, 900},
        {4000, "", "R\xE9union \xE0 9h!", -1}, {9000, "", nullptr, -1},
    };
    for (const auto& [fichier, autre] : boites) {
        SCOPED_TRACE(fichier);
        Banc b(2026, 3, 3);
        TForm1& f = b.demarre();
        f.show();
        if (fichier == "PAD")
            f.blocClick();
        QWidget* w = fichier == "PAD"            ? f.edit_bloc_note
                     : fichier.ends_with(".ENG") ? static_cast<QWidget*>(f.champ[0])
                                                 : f.edit_bloc_calendrier;
        b.rep.ecrit(autre, "autre");
        const auto stocke = [&] {
            const std::string octets = b.rep.lit(fichier);
            return fichier.ends_with(".ENG") ? creneau(octets, 1)
                                             : octets.substr(0, octets.find('\0'));
        };
        std::string attendu;
        for (const Pas& p : pas) {
            b.horloge.avance_ms(p.t - b.horloge.millisecondes());
            pannes::desarme();
            for (const QChar c : QString::fromLatin1(p.touches))
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            EXPECT_EQ(pannes::operations(), 0) << p.t;
            f.sauvegarde_auto();
            attendu = p.stocke ? p.stocke : attendu;
            EXPECT_EQ(stocke(), attendu) << p.t;
            EXPECT_EQ(f.minuterie_sauvegarde->isActive() ? f.minuterie_sauvegarde->interval() : -1,
                      p.delai)
                << p.t;
        }
        EXPECT_EQ(b.rep.lit(autre), "autre");
    }
}

// Typing stops at 5000 characters a page (a line break counts two);
// a longer text read from the files is shown and saved whole.
TEST(Page, LimitesDeSaisie) {
    Banc b(2026, 3, 3);
    const std::string long_texte = nul(std::string(7000, 'z'));
    b.ecrit({{"03_03_26.PAD", long_texte}, {"PAD", long_texte}});
    TForm1& f = b.demarre();
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText().size(), 7000);
    f.blocClick();
    EXPECT_EQ(f.edit_bloc_note->toPlainText().size(), 7000);
    f.blocClick();
    b.verifie({{"03_03_26.PAD", long_texte}, {"PAD", long_texte}});

    f.show();
    TZoneTexte* zone = f.edit_bloc_calendrier;
    const auto remplit = [&](int n) {
        zone->setPlainText(QString(n, QLatin1Char('b')));
        zone->moveCursor(QTextCursor::End);
    };
    remplit(4998);
    QTest::keyClicks(zone, QStringLiteral("cde"));
    EXPECT_EQ(zone->toPlainText().size(), 5000);
    QTest::keyClick(zone, Qt::Key_Backspace);
    QTest::keyClick(zone, Qt::Key_Return); // a line break counts two: no room
    EXPECT_EQ(TZoneTexte::longueur_enregistree(zone->toPlainText()), 4999);
    QTest::keyClick(zone, Qt::Key_Backspace);
    QTest::keyClick(zone, Qt::Key_Return);
    EXPECT_EQ(TZoneTexte::longueur_enregistree(zone->toPlainText()), 5000);
    // Every way in keeps only what fits: keys with any modifier (AltGr is
    // Ctrl+Alt on many keyboards), paste, drag and drop, input methods.
    const QString vingt(20, QLatin1Char('p'));
    const auto envoie = [](QObject* o, QEvent&& e) { QApplication::sendEvent(o, &e); };
    const std::pair<const char*, std::function<void()>> voies[] = {
        {"AltGr", [&] { QTest::keyClick(zone, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier); }},
        {"AltGr texte",
         [&] {
             envoie(zone, QKeyEvent(QEvent::KeyPress, Qt::Key_E,
                                    Qt::ControlModifier | Qt::AltModifier, QString(QChar(0x20AC))));
         }},
        {"coller",
         [&] {
             QGuiApplication::clipboard()->setText(vingt);
             zone->paste();
         }},
        {"glisser",
         [&] {
             QMimeData m;
             m.setText(vingt);
             envoie(zone->viewport(), QDropEvent(zone->cursorRect().center(), Qt::CopyAction, &m,
                                                 Qt::LeftButton, Qt::NoModifier));
         }},
        {"méthode de saisie",
         [&] {
             QInputMethodEvent e;
             e.setCommitString(vingt);
             envoie(zone, std::move(e));
         }},
    };
    for (const auto& [voie, entre] : voies) {
        remplit(4990);
        entre();
        EXPECT_LE(TZoneTexte::longueur_enregistree(zone->toPlainText()), 5000) << voie;
        remplit(5000);
        entre();
        EXPECT_EQ(zone->toPlainText(), QString(5000, QLatin1Char('b'))) << voie;
    }
}

// Every byte 01..FF read into each text box of the page and saved back: the two
// notes whole, where only a lone CR or LF becomes CR LF, the agenda lines in
// pieces of 20.
TEST(Page, ChaqueOctetRevientTelQuelDansLesFichiers) {
    std::vector<std::string> essais = tous_les_octets(255);
    essais.push_back("a\r\nb\r\r\n\n\rc\n");
    for (const std::string& octets : essais) {
        Banc b(2026, 3, 3);
        std::string eng(806, '\0');
        for (std::size_t k = 0; k < 13 && 20 * k < octets.size(); ++k) {
            const std::string piece = octets.substr(20 * k, 20);
            eng.replace(61 * k, piece.size(), piece);
        }
        eng[793 + 4] = 1;
        b.ecrit({{"03_03_26.PAD", nul(octets)}, {"PAD", nul(octets)}, {"03_03_26.ENG", eng}});
        TForm1& f = b.demarre();
        f.blocClick();
        f.blocClick();
        f.corne_droiteClick();
        const std::string note = nul(std::regex_replace(octets, std::regex("\r\n|\r|\n"), "\r\n"));
        b.verifie({{"03_03_26.PAD", note}, {"PAD", note}, {"03_03_26.ENG", eng}});
        EXPECT_TRUE(b.dialogues.erreurs.empty());
    }
}

// In every text box of the program, typed or pasted where the cursor stands:
// the spaces and dashes Windows-1252 lacks are stored as their nearest byte; a
// character without one is refused, and the rest is kept. (Which character
// becomes what is the codec's own table.)
TEST(Page, CaracteresSansOctetTapesOuColles) {
    // Entered between "a" and "b" (pasted in one go, or typed), then "." typed.
    const std::tuple<const char16_t*, bool, const char*> cas[] = {
        {u"\u202F", false, "a\xA0.b"},
        {u"\U0001F600", false, "a.b"}, // one character, not two halves
        {u"n\u202F:\u2009\u20AC \u2212\u2011\U0001F600!", true, "an\xA0:\xA0\x80 --!.b"}};
    // Each box: opened with "ab" in it, and its text as stored once left.
    struct Boite {
        const char* nom;
        std::function<QWidget*(Programme&)> ouvre;
        std::function<std::string(Programme&, const RepertoireTemp&)> stocke;
    };
    const auto zone = [](QPlainTextEdit* z) {
        z->setPlainText(QStringLiteral("ab"));
        QTextCursor curseur = z->textCursor();
        curseur.setPosition(1);
        z->setTextCursor(curseur);
        return z;
    };
    const auto ligne = [](QLineEdit* l) {
        l->setText(QStringLiteral("ab"));
        l->setCursorPosition(1);
        return l;
    };
    const Boite boites[] = {
        {"note du jour", [&](Programme& p) { return zone(p.form1->edit_bloc_calendrier); },
         [](Programme& p, const RepertoireTemp& rep) {
             p.form1->corne_droiteClick();
             return rep.lit("03_03_26.PAD").substr(0, rep.taille("03_03_26.PAD") - 1);
         }},
        {"ligne d'agenda", [&](Programme& p) { return ligne(p.form1->champ[6]); },
         [](Programme& p, const RepertoireTemp& rep) {
             p.form1->corne_droiteClick();
             return creneau(rep.lit("03_03_26.ENG"), 7);
         }},
        {"bloc-notes",
         [&](Programme& p) {
             p.form1->blocClick();
             return zone(p.form1->edit_bloc_note);
         },
         [](Programme& p, const RepertoireTemp& rep) {
             p.form1->blocClick();
             return rep.lit("PAD").substr(0, rep.taille("PAD") - 1);
         }},
        {"nom du saint",
         [&](Programme& p) {
             p.saints()->show();
             return ligne(p.saints()->champ);
         },
         [](Programme& p, const RepertoireTemp& rep) {
             QTest::mouseClick(p.saints()->ok1, Qt::LeftButton);
             return std::string(rep.lit("SAINT01").c_str() + 6);
         }},
        {"texte d'une alarme",
         [&](Programme& p) {
             alarme_par_defaut(p.etat.alarme_courante, p.etat.ctx);
             p.saisie_alarme()->show();
             return zone(p.saisie_alarme()->champ2);
         },
         [](Programme& p, const RepertoireTemp&) {
             QTest::mouseClick(p.saisie_alarme()->ok1, Qt::LeftButton);
             return p.etat.alarme_courante.texte();
         }},
    };
    for (const Boite& boite : boites)
        for (const auto& [entre, colle, stocke] : cas) {
            const QString saisi = QString::fromUtf16(entre);
            SCOPED_TRACE(std::string(boite.nom) + " " + saisi.toStdString());
            Banc b(2026, 3, 3);
            b.rep.ecrit(
                "SAINT01",
                (std::string("01/01") + std::string(taille_saint, '\0')).substr(0, taille_saint));
            Programme p = b.lance();
            p.form1->show();
            QWidget* w = boite.ouvre(p);
            if (colle) {
                QGuiApplication::clipboard()->setText(saisi);
                QMetaObject::invokeMethod(w, "paste");
            } else {
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, saisi, Qt::NoModifier);
            }
            QTest::keyClicks(w, QStringLiteral("."));
            EXPECT_EQ(boite.stocke(p, b.rep), stocke);
        }
}

// The saint of the page, cut to its label; on 29 February, which a 28-record
// file lacks, no saint.
TEST(Page, SaintDuJourEtAucunQuandAucunNeCorrespond) {
    Banc b(2000, 2, 27);
    std::string saints;
    for (int j = 1; j <= 28; ++j) {
        std::string r =
            nombre_zeros(j, 2) + "/02" + '\0' +
            (j == 27 ? "Saint Honorine de la tr\xE8s longue" : "Saint " + std::to_string(j));
        r.resize(taille_saint, '\0');
        saints += r;
    }
    b.rep.ecrit("SAINT02", saints);
    TForm1& f = b.demarre();
    EXPECT_EQ(f.saint_du_jour->text(), QStringLiteral("Saint Honorine de la"));
    f.corne_droiteClick();
    EXPECT_EQ(f.saint_du_jour->text(), QStringLiteral("Saint 28"));
    f.corne_droiteClick();
    EXPECT_EQ(b.etat->page.date().day(), ch::day{29});
    EXPECT_EQ(f.saint_du_jour->text(), QString());
}

// The page for a keyboard user: Tab leaves the text boxes forward, typing no
// tab; Up, Down and Enter go between the hour lines; Ctrl+PgDn and Ctrl+PgUp
// turn the page as its corners do, saves and sound included; F2 swaps the note pad.
TEST(Page, AuClavier) {
    Banc b(2026, 3, 3);
    TForm1& f = b.demarre();
    f.show();
    QApplication::setActiveWindow(&f);
    using W = std::function<QWidget*()>;
    const W note = [&] { return f.edit_bloc_calendrier; };
    const auto ligne = [&](int k) -> W { return [&f, k] { return f.champ[k - 1]; }; };
    const struct {
        const char* quoi;
        W depuis;
        Qt::Key touche;
        Qt::KeyboardModifiers modifs;
        W vers;
    } cas[] = {
        {"Tab de la note", note, Qt::Key_Tab, {}, ligne(1)},
        {"Ctrl+Tab de la note", note, Qt::Key_Tab, Qt::ControlModifier, ligne(1)},
        {"Tab de ligne en ligne", ligne(1), Qt::Key_Tab, {}, ligne(2)},
        {"Bas", ligne(1), Qt::Key_Down, {}, ligne(2)},
        {"Entrée", ligne(12), Qt::Key_Return, {}, ligne(13)},
        {"Entrée du pavé", ligne(5), Qt::Key_Enter, Qt::KeypadModifier, ligne(6)},
        {"Bas à la dernière ligne", ligne(13), Qt::Key_Down, {}, ligne(13)},
        {"Haut", ligne(7), Qt::Key_Up, {}, ligne(6)},
        {"Haut à la première ligne", ligne(1), Qt::Key_Up, {}, note},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.quoi);
        c.depuis()->setFocus();
        QTest::keyClick(c.depuis(), c.touche, c.modifs);
        EXPECT_EQ(QApplication::focusWidget(), c.vers());
    }
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QString());

    Banc::tape(f.champ[2], QStringLiteral("Dentiste"));
    QTest::keyClick(f.champ[2], Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(b.etat->page.date(), ch::year_month_day(ch::year(2026) / 3 / 4));
    EXPECT_EQ(creneau(b.rep.lit("03_03_26.ENG"), 3), "Dentiste");
    EXPECT_EQ(b.son.appels, std::vector{b.rep.chemin() + "papier.wav"});
    QTest::keyClick(f.edit_bloc_calendrier, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(f.champ[2]->text(), QStringLiteral("Dentiste"));
    b.etat->reglages.regle_son_page(false); // without the page sound a turn is silent
    QTest::keyClick(f.champ[0], Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(b.son.appels.size(), 2u);
    QTest::keyClick(f.champ[0], Qt::Key_PageUp, Qt::ControlModifier);

    QTest::keyClick(f.champ[0], Qt::Key_F2);
    EXPECT_TRUE(f.bloc_note->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), f.edit_bloc_note);
    QTest::keyClick(f.edit_bloc_note, Qt::Key_Tab);
    QTest::keyClick(f.edit_bloc_note, Qt::Key_PageDown, Qt::ControlModifier); // no corner here
    EXPECT_EQ(f.edit_bloc_note->toPlainText(), QString());
    EXPECT_EQ(b.etat->page.date(), ch::year_month_day(ch::year(2026) / 3 / 3));
    QTest::keyClick(f.edit_bloc_note, Qt::Key_F2);
    EXPECT_TRUE(f.calendrier->isVisible());
}

// The calendar sync's files pass through the window between two saves: what
// was typed is saved before, the page shows what was written after with the
// cursor where it was, and nothing runs while the page cannot be saved.
TEST(Page, LaSynchronisationPasseEntreDeuxSauvegardes) {
    struct Cas {
        const char* quoi;
        bool occupee;      // a load or a save under way
        bool disque_plein; // the save before fails
        bool date_ecrite;  // the sync wrote the date shown
    } const cas[] = {
        {"la date montrée écrite", false, false, true},
        {"une autre date écrite", false, false, false},
        {"la page occupée", true, false, true},
        {"la sauvegarde d'avant échoue", false, true, true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        Banc b(2026, 12, 8);
        TForm1& f = b.demarre();
        f.show();
        int sauvegardes = 0;
        f.relie_synchro([&] { ++sauvegardes; }, {});
        f.champ[0]->setFocus();
        QTest::keyClicks(f.champ[0], "Dentiste");
        f.champ[0]->setCursorPosition(3);
        std::string vu; // slot 1 as the sync found it
        const auto travail = [&] {
            vu = creneau(b.rep.lit("08_12_26.ENG"), 1);
            b.rep.ecrit("08_12_26.ENG", agenda({{1, vu}, {8, "R\xE9union"}}));
            return std::vector<Jour>{c.date_ecrite ? jour_du(8, 12, 2026) : jour_du(9, 12, 2026)};
        };
        f.fichier_libre = !c.occupee;
        if (c.disque_plein)
            pannes::arme(1, ENOSPC);
        const bool passe = f.passe_fichiers(travail);
        pannes::desarme();
        f.fichier_libre = true;
        const bool ok = !c.occupee && !c.disque_plein;
        EXPECT_EQ(passe, ok);
        EXPECT_EQ(vu, ok ? "Dentiste" : "");
        EXPECT_EQ(sauvegardes, 0); // its own save asks for no other run
        EXPECT_EQ(f.champ[0]->text(), "Dentiste");
        EXPECT_EQ(f.champ[7]->text(), ok && c.date_ecrite ? "Réunion" : "");
        EXPECT_EQ(f.champ[0]->cursorPosition(), 3);
        EXPECT_EQ(f.minuterie_sauvegarde->isActive(), !ok);
    }
}
