// The calculator widget: its layout, mouse clicks on the key labels, and
// failures reported through the application's error box.
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

TEST(Tcalculette, Disposition) {
    Tcalculette c;
    EXPECT_EQ(c.geometry(), QRect(11, 13, 218, 122));
    EXPECT_EQ(c.affichage()->geometry(), QRect(11, 11, 199, 21));
    EXPECT_TRUE(c.affichage()->alignment() & Qt::AlignRight);
    // Four columns of 30 in steps of 34, then two after a gap; "=" spans two columns.
    const QString lignes[] = {"789C*/", "456.+-", "1230="};
    EXPECT_EQ(c.findChildren<ToucheCalcul*>().size(), 17);
    for (int l = 0; l < 3; ++l)
        for (int k = 0; k < lignes[l].size(); ++k) {
            ToucheCalcul* t = c.touche(lignes[l].mid(k, 1));
            ASSERT_NE(t, nullptr) << l << k;
            EXPECT_EQ(t->geometry(), QRect(7 + 34 * k + (k > 3 ? 4 : 0), 39 + 27 * l,
                                           lignes[l][k] == '=' ? 63 : 30, 22))
                << lignes[l][k].toLatin1();
        }
}

TEST(Tcalculette, CalculALaSouris) {
    struct Cas {
        const char* touches;
        const char* affichage;
    };
    const Cas cas[] = {{"12+3*4=", "60"}, {"2/3=", "0.666667"}, {"-2.5+0=", "-2.5"}, {"9*9c", "0"}};
    for (const Cas& k : cas) {
        Tcalculette c;
        c.show();
        clique(c, QString::fromLatin1(k.touches));
        EXPECT_EQ(c.affichage()->text().trimmed(), k.affichage) << k.touches;
    }
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
    struct Cas {
        const char* touches;
        const char* message;
        const char* affichage;
    };
    const Cas cas[] = {{"5/0=", "Division flottante par zéro.", "0"},
                       {"0/0=", "Opération flottante incorrecte.", "0"}};
    for (const Cas& k : cas) {
        DialoguesTest dialogues;
        Tcalculette c;
        c.regle_rapport(&dialogues, "Quorvel V2.32");
        c.show();
        clique(c, QString::fromLatin1(k.touches));
        ASSERT_EQ(dialogues.erreurs.size(), 1u) << k.touches;
        EXPECT_EQ(dialogues.erreurs[0].titre, "Quorvel V2.32");
        EXPECT_EQ(dialogues.erreurs[0].texte, QString::fromUtf8(k.message));
        EXPECT_EQ(c.affichage()->text(), k.affichage);
        clique(c, "c7*6=");
        EXPECT_EQ(c.affichage()->text().trimmed(), "42");
        EXPECT_EQ(dialogues.erreurs.size(), 1u);
    }

    // Beyond the 6-byte real: the display keeps the last number typed.
    DialoguesTest dialogues;
    Tcalculette c;
    c.regle_rapport(&dialogues, "Quorvel V2.32");
    const QString grand = "-" + QString(29, QLatin1Char('9'));
    clique(c, grand + "*" + grand + "=");
    ASSERT_EQ(dialogues.erreurs.size(), 1u);
    EXPECT_EQ(dialogues.erreurs[0].texte, QString::fromUtf8("Débordement flottant."));
    EXPECT_EQ(c.affichage()->text(), grand);
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
