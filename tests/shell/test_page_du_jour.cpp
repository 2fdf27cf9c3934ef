// The day page as a French user sees it today: the shipped saints shown whole,
// the week number of 2026, the note pad's text standing on its ruling.
#include "banc.hpp"
#include "plateforme/cp1252.hpp"
#include "saints/saints.hpp"

#include <QFile>
#include <QImage>
#include <chrono>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;
namespace ch = std::chrono;

namespace {
std::string lit_donnee(const std::string& nom) {
    QFile f(QString::fromStdString(std::string(QUORVEL_DONNEES) + nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}
} // namespace

TEST(PageDuJour, AujourdhuiSemaineEtDate) {
    struct Cas {
        int a, m, j;
        const char* semaine;
    } const cas[] = {{2026, 12, 6, "Semaine 50"}, {2026, 12, 7, "Semaine 50"},
                     {2026, 12, 31, "Semaine 53"}, {2027, 1, 3, "Semaine 01"},
                     {2009, 12, 31, "Semaine 53"}, {1998, 9, 7, "Semaine 37"}};
    for (const Cas& c : cas) {
        Banc b(c.a, c.m, c.j);
        TForm1& f = b.demarre();
        EXPECT_EQ(f.semaine->text(), QString::fromLatin1(c.semaine)) << c.a << "-" << c.m << "-" << c.j;
        EXPECT_EQ(f.date_jour->text().toInt(), c.j);
    }
}

// Every day of a leap year with the shipped calendar: the saint of the page is
// the shipped one and is drawn whole in its label's own font.
TEST(PageDuJour, ChaqueSaintLivreTientEntierDansSonEtiquette) {
    Banc b(2028, 1, 1);
    for (int m = 1; m <= 12; ++m) {
        const std::string fichier = lit_donnee(nom_fichier_saints(m));
        ASSERT_FALSE(fichier.empty()) << nom_fichier_saints(m);
        b.rep.ecrit(nom_fichier_saints(m), fichier);
    }
    TForm1& f = b.demarre();
    const int largeur = f.saint_du_jour->contentsRect().width();
    int jours = 0;
    for (ch::sys_days d{ch::year{2028} / 1 / 1}; d <= ch::sys_days{ch::year{2028} / 12 / 31};
         d += ch::days{1}, ++jours) {
        const ch::year_month_day ymd{d};
        const std::string eng = lit_donnee(nom_fichier_saints(static_cast<int>(unsigned(ymd.month()))));
        const std::string champ = eng.substr((unsigned(ymd.day()) - 1) * taille_saint + 6, 31);
        const QString attendu = depuis_cp1252(champ.substr(0, champ.find('\0')));
        f.jour_courant = static_cast<int>(unsigned(ymd.day()));
        f.mois_courant = static_cast<int>(unsigned(ymd.month()));
        f.reset();
        const QString montre = f.saint_du_jour->text();
        EXPECT_FALSE(montre.isEmpty()) << unsigned(ymd.day()) << "/" << unsigned(ymd.month());
        EXPECT_EQ(montre.toStdString(), attendu.toStdString());
        EXPECT_LE(QFontMetrics(f.saint_du_jour->font()).horizontalAdvance(montre), largeur)
            << montre.toStdString();
    }
    EXPECT_EQ(jours, 366);
}

// The note pad's text stands on its ruling, with the default font and with the
// sizes the configuration offers: under each line of letters (capitals, so no
// descenders) lies a ruled row within two pixels, and no ruled row crosses the
// letters.
TEST(PageDuJour, LeTexteDuBlocNotesReposeSurSaReglure) {
    Banc b(2026, 12, 7);
    TForm1& f = b.demarre();
    f.show();
    f.blocClick();
    QString texte;
    for (int i = 0; i < 20; ++i) texte += QStringLiteral("MMMMMMMM\n");
    const QFont defaut = f.edit_bloc_note->font();
    for (const int taille : {0, 8, 10, 12, 14, 20, 28}) {
        QFont police = defaut;
        if (taille > 0) police.setPointSize(taille);
        f.edit_bloc_note->setFont(police);
        f.edit_bloc_note->setPlainText(texte);
        // The page as drawn: the pad's picture and the text box over it.
        QWidget* vue = f.edit_bloc_note->viewport();
        const QRect zone(vue->mapTo(f.bloc_note, QPoint(0, 0)), vue->size());
        const QImage im = f.bloc_note->grab(zone).toImage();
        const auto rangee_a = [&](int y, auto&& test) {
            for (int x = 0; x < im.width(); ++x)
                if (test(im.pixelColor(x, y))) return true;
            return false;
        };
        std::vector<bool> encre(im.height()), regle(im.height());
        for (int y = 0; y < im.height(); ++y) {
            encre[y] = rangee_a(y, [](QColor c) { return c.lightness() < 90; });
            regle[y] = rangee_a(y, [](QColor c) { return c.blue() > 200 && c.red() < 190; });
        }
        int lignes = 0;
        for (int y = 0; y < im.height(); ++y) {
            if (!encre[y] || (y > 0 && encre[y - 1])) continue;
            int fin = y;
            while (fin + 1 < im.height() && encre[fin + 1]) ++fin;
            if (fin + 3 >= im.height()) break; // a line cut by the bottom edge
            ++lignes;
            for (int r = y; r < fin; ++r) EXPECT_FALSE(regle[r]) << "taille " << taille << " rangée " << r;
            EXPECT_TRUE(regle[fin] || regle[fin + 1] || regle[fin + 2])
                << "taille " << taille << " ligne finissant en " << fin;
        }
        EXPECT_GE(lignes, 4) << "taille " << taille;
    }
}
