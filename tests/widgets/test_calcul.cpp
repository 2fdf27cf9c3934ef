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
    EXPECT_EQ(c.affichage()->text(), "0");
    EXPECT_TRUE(c.affichage()->alignment() & Qt::AlignRight);
    EXPECT_EQ(c.affichage()->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(c.affichage()->palette().color(QPalette::WindowText), QColor(Qt::white));
    struct Place {
        const char* legende;
        QRect rect;
    };
    const Place places[] = {
        {"7", {7, 39, 30, 22}},   {"8", {41, 39, 30, 22}},  {"9", {75, 39, 30, 22}},
        {"C", {109, 39, 30, 22}}, {"*", {147, 39, 30, 22}}, {"/", {181, 39, 30, 22}},
        {"4", {7, 66, 30, 22}},   {"5", {41, 66, 30, 22}},  {"6", {75, 66, 30, 22}},
        {".", {109, 66, 30, 22}}, {"+", {147, 66, 30, 22}}, {"-", {181, 66, 30, 22}},
        {"1", {7, 93, 30, 22}},   {"2", {41, 93, 30, 22}},  {"3", {75, 93, 30, 22}},
        {"0", {109, 93, 30, 22}}, {"=", {147, 93, 63, 22}},
    };
    EXPECT_EQ(c.findChildren<ToucheCalcul*>().size(), 17);
    for (const Place& p : places) {
        ToucheCalcul* t = c.touche(QString::fromLatin1(p.legende));
        ASSERT_NE(t, nullptr) << p.legende;
        EXPECT_EQ(t->geometry(), p.rect) << p.legende;
        EXPECT_EQ(t->text(), QString::fromLatin1(p.legende));
    }
}

TEST(Tcalculette, CalculALaSouris) {
    struct Cas {
        const char* touches;
        const char* affichage;
    };
    const Cas cas[] = {{"12+3*4=", "60"}, {"2/3=", "0.666667"}, {"-2.5+0=", "-2.5"},
                       {"05", "05"},      {"2+3=7", "7"},       {"9*9c", "0"}};
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

TEST(Tcalculette, Texture) {
    Tcalculette c;
    EXPECT_TRUE(c.texture().isNull());
    QPixmap p(218, 122);
    p.fill(Qt::darkRed);
    c.set_texture(p);
    EXPECT_EQ(c.texture().size(), QSize(218, 122));
    EXPECT_EQ(c.texture().toImage().pixelColor(5, 5), QColor(Qt::darkRed));
    c.set_texture(QPixmap());
    EXPECT_TRUE(c.texture().isNull());

    // The key labels let the key faces show through; the display strip does not.
    c.set_texture(p);
    const QImage vue = c.grab().toImage();
    EXPECT_EQ(vue.pixelColor(8, 40), QColor(Qt::darkRed));
    EXPECT_EQ(vue.pixelColor(12, 12), QColor(Qt::black));
    if (qEnvironmentVariableIsSet("QUORVEL_APERCU")) {
        Tcalculette vraie;
        vraie.set_texture(QPixmap(":/images/calculette1.png"));
        clique(vraie, "2/3=");
        vraie.grab().save("/tmp/apercu_calculette.png");
    }
}
