// The day page lived in: typing, turning pages, the note pad, bells, quitting.
#include "banc.hpp"
#include "calendar/dates.hpp"
#include "calendar/utilitaires.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>
#include <QMimeData>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include <regex>

using namespace quorvel;
using namespace quorvel::test;

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
    EXPECT_EQ(b.rep.taille("SAINT02"), 29 * 37); // 29 February included, whatever the year
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_TRUE(b.dialogues.erreurs.empty());
    // The default settings on the page; colours are stored 0x00BBGGRR.
    EXPECT_EQ(f.jour->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(f.fond_date->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(f.edit_bloc_note->font().pointSize(), 12);
    EXPECT_EQ(f.edit_bloc_note->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(f.calculette1->isVisibleTo(&f));
    EXPECT_FALSE(f.calculette2->isVisibleTo(&f));
    EXPECT_TRUE(f.HORLOGE1->isVisibleTo(&f));
}

TEST(Page, LesTextesVontDansLesFichiersDuJourQuitte) {
    Banc b(1998, 2, 28);
    TForm1& f = b.demarre();
    f.edit_bloc_calendrier->setPlainText(QStringLiteral("Réunion\nà 10 h"));
    Banc::tape(f.champ[0], QStringLiteral("Café avec Noël"));
    Banc::tape(f.champ[12], QString(60, QLatin1Char('x')));
    f.corne_droiteClick();
    EXPECT_EQ(b.rep.lit("28_02_98.PAD"), std::string("R\xE9union\r\n\xE0 10 h") + '\0');
    const std::string eng = b.rep.lit("28_02_98.ENG");
    ASSERT_EQ(eng.size(), 806u);
    EXPECT_EQ(creneau(eng, 1), "Caf\xE9 avec No\xEBl");
    EXPECT_EQ(creneau(eng, 13), std::string(60, 'x'));
    EXPECT_EQ(creneau(eng, 2), "");
    EXPECT_EQ(f.jour_courant, 1);
    EXPECT_TRUE(f.edit_bloc_calendrier->toPlainText().isEmpty());
    EXPECT_TRUE(f.champ[0]->text().isEmpty());
    ASSERT_EQ(b.son.appels.size(), 1u);
    EXPECT_EQ(b.son.appels[0], b.rep.chemin() + "papier.wav");
    f.corne_gaucheClick();
    EXPECT_EQ(f.jour_courant, 28);
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("Réunion\nà 10 h"));
    EXPECT_EQ(f.champ[0]->text(), QStringLiteral("Café avec Noël"));
    EXPECT_EQ(f.champ[12]->text().size(), 60);
    EXPECT_TRUE(b.dialogues.erreurs.empty());
    // Without the page sound the turn is silent.
    b.etat->reglages.regle_son_page(false);
    const auto sons = b.son.appels.size();
    f.corne_droiteClick();
    EXPECT_EQ(f.jour_courant, 1);
    EXPECT_EQ(b.son.appels.size(), sons);
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
        EXPECT_EQ(std::tie(f.jour_courant, f.mois_courant, f.annee_courante),
                  std::tie(c.j2, c.m2, c.a2));
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
    EXPECT_EQ(f.bloc->toolTip(), QStringLiteral("Cliquez pour accèder au Bloc-Calendier"));
    EXPECT_EQ(b.rep.lit("03_03_26.PAD"), std::string("jour") + '\0');
    EXPECT_EQ(b.rep.taille("PAD"), 0); // created when first shown
    f.edit_bloc_note->setPlainText(QStringLiteral("liste\ncourses"));
    f.blocClick();
    EXPECT_EQ(f.bloc->text(), QStringLiteral("Bloc-Notes"));
    EXPECT_EQ(b.rep.lit("PAD"), std::string("liste\r\ncourses") + '\0');
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText(), QStringLiteral("jour"));
    f.corne_droiteClick();
    f.blocClick();
    EXPECT_EQ(f.edit_bloc_note->toPlainText(), QStringLiteral("liste\ncourses"));
    f.edit_bloc_note->clear();
    f.blocClick();
    EXPECT_EQ(b.rep.lit("PAD"), std::string(1, '\0'));
    EXPECT_TRUE(f.bloc_libre);
}

TEST(Page, LesClochesSontEcritesAussitotAvecLesTextesDejaEnregistres) {
    Banc b(2026, 3, 3);
    TForm1& f = b.demarre();
    Banc::tape(f.champ[2], QStringLiteral("pas encore"));
    f.champDblClick(5);
    std::string eng = b.rep.lit("03_03_26.ENG");
    EXPECT_EQ(cloche(eng, 5), 1);
    EXPECT_EQ(creneau(eng, 3), ""); // the typed text reaches the file with the next save
    EXPECT_FALSE(f.a[4]->pixmap().isNull());
    EXPECT_TRUE(f.a[3]->pixmap().isNull());
    // Double-clicking the hour label works the same; twice gives the first state back.
    QTest::mouseDClick(f.h[3], Qt::LeftButton);
    EXPECT_EQ(cloche(b.rep.lit("03_03_26.ENG"), 4), 1);
    f.champDblClick(4);
    eng = b.rep.lit("03_03_26.ENG");
    EXPECT_EQ(cloche(eng, 4), 0);
    EXPECT_EQ(cloche(eng, 5), 1);
    f.corne_droiteClick();
    eng = b.rep.lit("03_03_26.ENG");
    EXPECT_EQ(creneau(eng, 3), "pas encore");
    EXPECT_EQ(cloche(eng, 5), 1);
    f.corne_gaucheClick();
    EXPECT_TRUE(b.etat->agenda.cloche(5));
    EXPECT_FALSE(b.etat->agenda.cloche(4));
    // An agenda file deleted meanwhile is made again with the texts and no bells.
    Banc::tape(f.champ[0], QStringLiteral("texte"));
    std::remove(b.rep.fichier("03_03_26.ENG").c_str());
    f.corne_droiteClick();
    eng = b.rep.lit("03_03_26.ENG");
    EXPECT_EQ(creneau(eng, 1), "texte");
    EXPECT_EQ(cloche(eng, 5), 0);
}

// Typing stops at 60 characters a line and 5000 a page (a line break counts two);
// a longer text read from the files is shown and saved whole.
TEST(Page, LimitesDeSaisie) {
    Banc b(2026, 3, 3);
    const std::string long_texte = std::string(7000, 'z') + '\0';
    b.rep.ecrit("03_03_26.PAD", long_texte);
    b.rep.ecrit("PAD", long_texte);
    TForm1& f = b.demarre();
    EXPECT_EQ(f.edit_bloc_calendrier->toPlainText().size(), 7000);
    f.blocClick();
    EXPECT_EQ(f.edit_bloc_note->toPlainText().size(), 7000);
    f.blocClick();
    EXPECT_EQ(b.rep.lit("03_03_26.PAD"), long_texte);
    EXPECT_EQ(b.rep.lit("PAD"), long_texte);

    f.show();
    QTest::keyClicks(f.champ[0], QString(70, QLatin1Char('a')));
    EXPECT_EQ(f.champ[0]->text().size(), 60);
    TZoneTexte* zone = f.edit_bloc_calendrier;
    zone->setPlainText(QString(4998, QLatin1Char('b')));
    zone->moveCursor(QTextCursor::End);
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
    const auto mime = [] {
        auto* m = new QMimeData;
        m->setText(QString(20, QLatin1Char('p')));
        return m;
    };
    const std::pair<const char*, std::function<void()>> voies[] = {
        {"AltGr", [&] { QTest::keyClick(zone, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier); }},
        {"AltGr texte",
         [&] {
             QKeyEvent e(QEvent::KeyPress, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier,
                         QString(QChar(0x20AC)));
             QApplication::sendEvent(zone, &e);
         }},
        {"coller",
         [&] {
             QGuiApplication::clipboard()->setText(QString(20, QLatin1Char('p')));
             zone->paste();
         }},
        {"glisser",
         [&] {
             std::unique_ptr<QMimeData> m(mime());
             const QPoint ici = zone->cursorRect().center();
             QDropEvent e(ici, Qt::CopyAction, m.get(), Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(zone->viewport(), &e);
         }},
        {"méthode de saisie",
         [&] {
             QInputMethodEvent e;
             e.setCommitString(QString(20, QLatin1Char('i')));
             QApplication::sendEvent(zone, &e);
         }},
    };
    for (const auto& [voie, entre] : voies) {
        zone->setPlainText(QString(4990, QLatin1Char('b')));
        zone->moveCursor(QTextCursor::End);
        entre();
        EXPECT_LE(TZoneTexte::longueur_enregistree(zone->toPlainText()), 5000) << voie;
        zone->setPlainText(QString(5000, QLatin1Char('b')));
        zone->moveCursor(QTextCursor::End);
        entre();
        EXPECT_EQ(zone->toPlainText().size(), 5000) << voie;
        EXPECT_EQ(zone->toPlainText().count(QLatin1Char('b')), 5000) << voie;
    }
}

// Every byte 01..FF read into each text box of the page and saved back: the two
// notes whole, where only a lone CR or LF becomes CR LF, the agenda lines in
// pieces of 20.
TEST(Page, ChaqueOctetRevientTelQuelDansLesFichiers) {
    std::string montants, descendants;
    for (int i = 1; i < 256; ++i) {
        montants += static_cast<char>(i);
        descendants += static_cast<char>(256 - i);
    }
    const std::string contenus[] = {montants, descendants, "a\r\nb\r\r\n\n\rc\n"};
    for (const std::string& octets : contenus) {
        Banc b(2026, 3, 3);
        std::string eng(806, '\0');
        for (std::size_t k = 0; k < 13 && 20 * k < octets.size(); ++k) {
            const std::string piece = octets.substr(20 * k, 20);
            eng.replace(61 * k, piece.size(), piece);
        }
        eng[793 + 4] = 1;
        b.rep.ecrit("03_03_26.PAD", octets + '\0');
        b.rep.ecrit("PAD", octets + '\0');
        b.rep.ecrit("03_03_26.ENG", eng);
        TForm1& f = b.demarre();
        f.blocClick();
        f.blocClick();
        f.corne_droiteClick();
        const std::string note =
            std::regex_replace(octets, std::regex("\r\n|\r|\n"), "\r\n") + '\0';
        EXPECT_EQ(b.rep.lit("03_03_26.PAD"), note);
        EXPECT_EQ(b.rep.lit("PAD"), note);
        EXPECT_EQ(b.rep.lit("03_03_26.ENG"), eng);
        EXPECT_TRUE(b.dialogues.erreurs.empty());
    }
}

// Spaces and dashes Windows-1252 lacks are stored as their nearest byte; a
// character without one is refused, typed or pasted, and the text stays as it was.
TEST(Page, CaracteresSansOctetTapesOuColles) {
    struct Cas {
        const char16_t* saisi;
        bool colle;
        const char* stocke;
    };
    const Cas cas[] = {
        {u"\u202F", false, "a\xA0"},
        {u"\u2212", false, "a-"},
        {u"\U0001F600", false, "a"},
        {u"\u4E2D", false, "a"},
        {u"\U0001F600", true, "a"},
        {u"n\u202F:\u2009\u20AC \u2011\U0001F600!", true, "an\xA0:\xA0\x80 -!"},
    };
    for (const Cas& c : cas) {
        const QString saisi = QString::fromUtf16(c.saisi);
        SCOPED_TRACE(saisi.toStdString());
        Banc b(2026, 3, 3);
        TForm1& f = b.demarre();
        f.show();
        const auto entre = [&](QWidget* zone) {
            if (c.colle) {
                QGuiApplication::clipboard()->setText(saisi);
                QMetaObject::invokeMethod(zone, "paste");
            } else {
                QTest::sendKeyEvent(QTest::Click, zone, Qt::Key_unknown, saisi, Qt::NoModifier);
            }
        };
        const auto ecrit = [&](TZoneTexte* zone) {
            zone->setPlainText(QStringLiteral("a"));
            zone->moveCursor(QTextCursor::End);
            entre(zone);
        };
        ecrit(f.edit_bloc_calendrier);
        f.champ[6]->setText(QStringLiteral("a"));
        entre(f.champ[6]);
        f.corne_droiteClick();
        EXPECT_EQ(b.rep.lit("03_03_26.PAD"), std::string(c.stocke) + '\0');
        EXPECT_EQ(creneau(b.rep.lit("03_03_26.ENG"), 7), c.stocke);
        f.blocClick();
        ecrit(f.edit_bloc_note);
        f.blocClick();
        EXPECT_EQ(b.rep.lit("PAD"), std::string(c.stocke) + '\0');
    }
}

TEST(Page, SaintDuJourEtSaintGardeQuandAucunNeCorrespond) {
    Banc b(2000, 2, 27);
    std::string saints;
    for (int j = 1; j <= 28; ++j) {
        std::string r = nombre_zeros(j, 2) + "/02";
        r.resize(6, '\0');
        std::string nom =
            j == 27 ? "Saint Honorine de la tr\xE8s longue" : "Saint " + std::to_string(j);
        nom.resize(31, '\0');
        saints += r + nom;
    }
    b.rep.ecrit("SAINT02", saints);
    TForm1& f = b.demarre();
    EXPECT_EQ(f.saint_du_jour->text(), QStringLiteral("Saint Honorine de la"));
    f.corne_droiteClick();
    EXPECT_EQ(f.saint_du_jour->text(), QStringLiteral("Saint 28"));
    // 29 February has no record in a 28-record file: the saint shown before stays.
    f.corne_droiteClick();
    EXPECT_EQ(f.jour_courant, 29);
    EXPECT_EQ(f.saint_du_jour->text(), QStringLiteral("Saint 28"));
}
