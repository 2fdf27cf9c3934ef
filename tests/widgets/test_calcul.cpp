// The calculator widget: mouse clicks on the key labels, failures reported
// through the application's error box, and the texture behind the keys.
#include "plateforme/dialogues.hpp"
#include "commun/dialogues_test.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/ressources.hpp"
#include "widgets/calcul.hpp"

#include <QFontMetrics>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

void clique(Tcalculette& c, const QString& touches) {
    for (const QChar k : touches) {
        ToucheCalcul* t = c.touche(k == QLatin1Char('c') ? QStringLiteral("C") : QString(k));
        ASSERT_NE(t, nullptr) << k.toLatin1();
        QTest::mouseClick(t, Qt::LeftButton);
    }
}

} // namespace

// Every key once, through the mouse: each label sends its own character. A
// press released elsewhere, or a right click, is no click.
TEST(Tcalculette, CalculALaSouris) {
    Tcalculette c;
    c.show();
    ToucheCalcul* sept = c.touche("7");
    QTest::mousePress(sept, Qt::LeftButton);
    QTest::mouseRelease(sept, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(sept, Qt::RightButton);
    EXPECT_EQ(c.affichage()->text(), "0");
    clique(c, "123+98-7.5*6/4+0=");
    EXPECT_EQ(c.affichage()->text().trimmed(), "320.25");
    clique(c, "c");
    EXPECT_EQ(c.affichage()->text(), "0");
}

TEST(Tcalculette, EchecsRapportes) {
    // Beyond the 6-byte real the display keeps the last number typed.
    const QString grand = "-" + QString(29, QLatin1Char('9'));
    struct Cas {
        QString touches;
        const char* message;
        QString affichage;
    };
    const Cas cas[] = {{"5/0=", "Division flottante par zéro.", "0"},
                       {"0/0=", "Opération flottante incorrecte.", "0"},
                       {grand + "*" + grand + "=", "Débordement flottant.", grand}};
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.touches.toStdString());
        DialoguesTest dialogues;
        Tcalculette c;
        c.regle_rapport(&dialogues, "Quorvel V2.32");
        c.show();
        clique(c, k.touches);
        ASSERT_EQ(dialogues.erreurs.size(), 1u);
        EXPECT_EQ(dialogues.erreurs[0].titre, "Quorvel V2.32");
        EXPECT_EQ(dialogues.erreurs[0].texte, QString::fromUtf8(k.message));
        EXPECT_EQ(c.affichage()->text(), k.affichage);
        clique(c, "c7*6=");
        EXPECT_EQ(c.affichage()->text().trimmed(), "42");
        EXPECT_EQ(dialogues.erreurs.size(), 1u);
    }
}

// A thirty-character entry or result is wider than the strip at the main
// window's lettering: the whole of it shows, sign and first digits included.
TEST(Tcalculette, AffichageEntier) {
    struct Cas {
        QString touches, texte;
        bool reduit;
    };
    const QString trente = "0.1234567890123456789012345678";
    const QString negatif = "-" + QString(29, QLatin1Char('7'));
    const Cas cas[] = {
        {"12.5", "12.5", false},
        {trente, trente, true},
        {negatif, negatif, true},
        {"-" + QString(29, QLatin1Char('9')) + "*-1=", "1" + QString(29, QLatin1Char('0')), true}};
    Tcalculette c;
    const QFont police_fenetre = police(QStringLiteral("Arial"), 13);
    c.setFont(police_fenetre);
    c.show();
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.touches.toStdString());
        clique(c, "c" + k.touches);
        const QLabel* a = c.affichage();
        EXPECT_EQ(a->text().trimmed().toStdString(), k.texte.toStdString());
        EXPECT_LE(QFontMetrics(a->font()).horizontalAdvance(k.texte), a->contentsRect().width());
        EXPECT_EQ(a->font().pixelSize() < police_fenetre.pixelSize(), k.reduit);
    }
}

// Each caption leaves a legible mark on its ball, on both pictures of the case:
// enough pixels standing well apart from the ball under them.
TEST(Tcalculette, LegendesLisibles) {
    for (const char* image : {"calculette1", "calculette2"}) {
        Tcalculette c;
        c.setFont(police(QStringLiteral("Arial"), 13));
        c.set_texture(image_ressource(QString::fromLatin1(image)));
        const QImage avec = c.grab().toImage();
        const auto touches = c.findChildren<ToucheCalcul*>();
        for (ToucheCalcul* t : touches)
            t->hide();
        const QImage sans = c.grab().toImage();
        for (const ToucheCalcul* t : touches) {
            int encre = 0;
            const QRect r = t->geometry();
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    encre += std::abs(qGray(avec.pixel(x, y)) - qGray(sans.pixel(x, y))) >= 64;
            EXPECT_GE(encre, 15) << image << " " << t->text().toStdString();
        }
    }
}

// The key labels let the key faces show through; the display strip does not.
TEST(Tcalculette, Texture) {
    Tcalculette c;
    QPixmap p(218, 122);
    p.fill(Qt::darkRed);
    c.set_texture(p);
    const QImage vue = c.grab().toImage();
    EXPECT_EQ(vue.pixelColor(8, 40), QColor(Qt::darkRed));
    EXPECT_EQ(vue.pixelColor(12, 12), QColor(Qt::black));
}
