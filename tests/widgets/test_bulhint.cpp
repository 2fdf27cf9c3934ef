// Balloon hints on the offscreen screen: the settings, the hint pause, the
// direction handler, the window's size and place, and one rendered balloon.
#include "widgets/bulhint.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvel;

static QFont arial_11() {
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(11);
    return police;
}

// A main window with two hinted labels and the balloon settings of the program.
struct Bureau {
    QWidget fenetre;
    QLabel* gauche;
    QLabel* droite;
    TBulHint* bulhint;

    Bureau() {
        fenetre.setGeometry(100, 100, 411, 455);
        gauche = new QLabel(QStringLiteral("Bloc-Notes"), &fenetre);
        gauche->setGeometry(10, 400, 120, 30);
        gauche->setToolTip(QStringLiteral("Bloc-notes commun à tous les jours"));
        droite = new QLabel(QStringLiteral("Quitter"), &fenetre);
        droite->setGeometry(280, 400, 120, 30);
        droite->setToolTip(QStringLiteral("Quitter"));
        bulhint = new TBulHint(&fenetre);
        bulhint->setHintDirection(hdDownRight);
        bulhint->setHintFont(arial_11());
        fenetre.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    }
    TNewHint* bulle() const { return bulhint->fenetre_bulle(); }
};

// The component's pause is the application's: set on creation, and on each change.
TEST(TBulHint, PauseDeLApplication) {
    QWidget principale;
    regle_pause_bulles_application(0);
    TBulHint b(&principale);
    EXPECT_EQ(pause_bulles_application(), 600);
    regle_pause_bulles_application(123);
    b.setHintPauseTime(600); // unchanged value: the application's pause is left alone
    EXPECT_EQ(pause_bulles_application(), 123);
    b.setHintPauseTime(1000);
    EXPECT_EQ(pause_bulles_application(), 1000);
}

TEST(TBulHint, SelectionDeLaDirection) {
    Bureau b;
    std::vector<QWidget*> demandes;
    b.bulhint->setOnSelectHintDirection([&](QWidget* controle, THintDirection& d) {
        demandes.push_back(controle);
        if (controle == b.gauche)
            d = hdUpLeft;
    });
    EXPECT_EQ(b.bulhint->direction_pour(b.gauche), hdUpLeft);
    EXPECT_EQ(b.bulhint->direction_pour(b.droite), hdDownRight);

    const QPoint milieu = b.gauche->mapToGlobal(QPoint(100, 15));
    b.bulhint->montre_bulle(b.gauche, milieu);
    EXPECT_EQ(b.bulle()->direction(), hdUpLeft);
    b.bulhint->montre_bulle(b.droite, b.droite->mapToGlobal(QPoint(60, 15)));
    EXPECT_EQ(b.bulle()->direction(), hdDownRight);
    EXPECT_EQ(b.bulhint->HintDirection(), hdDownRight);
    ASSERT_GE(demandes.size(), 4u);
    EXPECT_EQ(demandes[2], b.gauche);
}

TEST(TBulHint, TailleEtPlaceDeLaFenetre) {
    Bureau b;
    const QString texte = b.droite->toolTip();
    const QSize rect = taille_rect_bulle(arial_11(), texte, 10000);
    // One line: the text's height t is the font's height, with or without its leading.
    const QFontMetrics m(arial_11());
    const int t = rect.height() - 2;
    EXPECT_GE(t, m.height());
    EXPECT_LE(t, m.lineSpacing() + 1);

    const QPoint pointeur = b.droite->mapToGlobal(QPoint(10, 10));
    b.bulhint->montre_bulle(b.droite, pointeur);
    TNewHint* bulle = b.bulle();
    ASSERT_TRUE(bulle->isVisible());
    EXPECT_EQ(bulle->texte(), texte);
    // One line of text height t: t + 31 high below the pointer, text width + 22 wide.
    EXPECT_EQ(bulle->geometry(), QRect(pointeur.x(), pointeur.y() + 15, rect.width() + 16, t + 31));
    // The window shows the balloon composed over what it captured: the body's fill.
    EXPECT_EQ(bulle->grab().toImage().pixelColor(2, 30), b.bulhint->HintColor());

    // Near the right edge of the screen the balloon turns left, its tip still on the pointer
    // (the other edges are the placement's, tested there).
    const QRect ecran = QGuiApplication::primaryScreen()->geometry();
    const QPoint bord(ecran.right() - 5, ecran.center().y());
    b.bulhint->montre_bulle(b.droite, bord);
    EXPECT_EQ(bulle->direction(), hdDownLeft);
    EXPECT_EQ(bulle->geometry().right() + 1 - 6, bord.x());

    b.bulhint->cache_bulle();
    EXPECT_FALSE(bulle->isVisible());

    // A long hint is cut.
    b.gauche->setToolTip(QString(300, QLatin1Char('x')));
    b.bulhint->montre_bulle(b.gauche, b.gauche->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(bulle->texte().size(), longueur_max_bulle);
}

TEST(TBulHint, PauseObserveeEtFermetures) {
    Bureau b;
    b.bulhint->setHintPauseTime(1000);
    QElapsedTimer chrono;
    chrono.start();
    QTest::mouseMove(b.droite, QPoint(30, 10));
    QTest::qWait(700);
    EXPECT_FALSE(b.bulle()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.bulle()->isVisible(); }, 3000));
    EXPECT_GE(chrono.elapsed(), 1000);
    EXPECT_EQ(b.bulle()->texte(), QStringLiteral("Quitter"));
    EXPECT_EQ(b.bulle()->geometry().topLeft(), b.droite->mapToGlobal(QPoint(30, 25)));

    // A click puts it away, and it stays away while the mouse is on the control.
    QTest::mouseClick(b.droite, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_FALSE(b.bulle()->isVisible());
    QTest::mouseMove(b.droite, QPoint(31, 10));
    QTest::qWait(1200);
    EXPECT_FALSE(b.bulle()->isVisible());

    // Another control: a new pause, then its own balloon.
    b.bulhint->setHintPauseTime(200);
    QTest::mouseMove(b.gauche, QPoint(30, 10));
    EXPECT_TRUE(QTest::qWaitFor([&] { return b.bulle()->isVisible(); }, 1000));
    EXPECT_EQ(b.bulle()->texte(), b.gauche->toolTip());
    // Moving to a control without hint hides it.
    QTest::mouseMove(&b.fenetre, QPoint(200, 50));
    EXPECT_FALSE(b.bulle()->isVisible());

    // A disabled control still shows its hint; a key press puts it away.
    b.bulhint->setHintPauseTime(100);
    b.gauche->setEnabled(false);
    QTest::mouseMove(b.gauche, QPoint(20, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.bulle()->isVisible(); }, 2000));
    EXPECT_EQ(b.bulle()->texte(), b.gauche->toolTip());
    QTest::keyClick(&b.fenetre, Qt::Key_A);
    EXPECT_FALSE(b.bulle()->isVisible());
    // Shown again, it goes away by itself after a while.
    b.bulhint->montre_bulle(b.gauche, b.gauche->mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(b.bulle()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !b.bulle()->isVisible(); },
                                TBulHint::duree_affichage_ms + 1000));
}

TEST(TNewHint, BulleDessinee) {
    const QColor fond(200, 220, 240), jaune(255, 255, 0), noir(Qt::black);
    for (const THintDirection d : {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft}) {
        const int W = 116, H = hauteur_bulle(20, d);
        QImage capture(W, H, QImage::Format_ARGB32_Premultiplied);
        capture.fill(fond);
        const QImage image =
            compose_bulle(capture, d, QStringLiteral("Quitter"), {jaune, noir, arial_11(), noir});
        ASSERT_EQ(image.size(), QSize(W, H));
        const GeometrieBulle g = geometrie_bulle(d, W, H);
        const BordsBulle& c = g.corps;
        const auto trace = ::testing::Message() << "direction " << d;

        // The shadow right of the body, and below it away from the pointer: dots
        // on one pixel in two, the background between.
        for (const QRect& ombre :
             {QRect(W - 5, c.haut + 10, 4, c.bas - c.haut - 10), QRect(40, c.bas + 2, 30, 1)})
            for (int y = ombre.top(); y <= ombre.bottom(); ++y)
                for (int x = ombre.left(); x <= ombre.right(); ++x)
                    EXPECT_EQ(image.pixelColor(x, y), (x + y) % 2 == 0 ? noir : fond)
                        << trace << " (" << x << ", " << y << ")";
        // The outline: black on each straight edge, the fill inside.
        EXPECT_EQ(image.pixelColor(W / 2 - 20, c.haut), noir) << trace;
        EXPECT_EQ(image.pixelColor(c.gauche, (c.haut + c.bas) / 2), noir) << trace;
        EXPECT_EQ(image.pixelColor(c.droite - 1, (c.haut + c.bas) / 2), noir) << trace;
        EXPECT_EQ(image.pixelColor(W / 2 - 20, c.bas - 1), noir) << trace;
        EXPECT_EQ(image.pixelColor(c.droite - 3, c.bas - 3), jaune) << trace;
        EXPECT_EQ(image.pixelColor(c.gauche + 2, c.bas - 3), jaune) << trace;
        // Rounded corners let the background through.
        EXPECT_EQ(image.pixelColor(c.droite - 1, c.haut), fond) << trace;
        // The pointer: filled between its edges, its tip on the window's edge.
        const PointBulle p1 = g.pointe[0], p2 = g.pointe[1], tip = g.pointe[2];
        EXPECT_EQ(image.pixelColor((p1.x + p2.x + 2 * tip.x) / 4, (p1.y + tip.y) / 2), jaune)
            << trace;
        // Where the pointer joins the body the outline is open.
        EXPECT_EQ(image.pixelColor((p1.x + p2.x) / 2, p1.y), jaune) << trace;
        // Dark text near the top left of the text rectangle.
        bool texte = false;
        for (int y = g.texte.haut; y < g.texte.haut + 14; ++y)
            for (int x = g.texte.gauche; x < g.texte.gauche + 30; ++x)
                texte |= image.pixelColor(x, y).lightness() < 100;
        EXPECT_TRUE(texte) << trace;
    }
}
