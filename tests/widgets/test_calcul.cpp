// The calculator widget: mouse clicks on the key labels, failures reported
// through the application's error box, and the texture behind the keys.
#include "plateforme/dialogues.hpp"
#include "widgets/calcul.hpp"

#include <QTest>
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

// Every key once, through the mouse: each label sends its own character.
TEST(Tcalculette, CalculALaSouris) {
    Tcalculette c;
    c.show();
    clique(c, "123+98-7.5*6/4+0=");
    EXPECT_EQ(c.affichage()->text().trimmed(), "320.25");
    clique(c, "c");
    EXPECT_EQ(c.affichage()->text(), "0");
}

TEST(Tcalculette, ClicInacheve) {
    // Pressing on a key and releasing elsewhere is no click.
    Tcalculette c;
    c.show();
    ToucheCalcul* sept = c.touche("7");
    QTest::mousePress(sept, Qt::LeftButton);
    QTest::mouseRelease(sept, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(c.affichage()->text(), "0");
    QTest::mouseClick(sept, Qt::RightButton);
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
