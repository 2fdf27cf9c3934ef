// Balloon hints on the offscreen screen: the settings, the hint pause, the
// direction handler, the text shown and its length.
#include "commun/essai.hpp"
#include "widgets/bulhint.hpp"

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

// After the pause the hint of the control under the mouse shows; a click or a
// key press puts it away, a disabled control still shows its own.
TEST(TBulHint, PauseObserveeEtFermetures) {
    Bureau b;
    b.bulhint->setHintPauseTime(100);
    QTest::mouseMove(b.droite, QPoint(30, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.bulle()->isVisible(); }, 2000));
    EXPECT_EQ(b.bulle()->texte(), QStringLiteral("Quitter"));
    QTest::mouseClick(b.droite, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_FALSE(b.bulle()->isVisible());
    b.gauche->setEnabled(false);
    QTest::mouseMove(b.gauche, QPoint(20, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.bulle()->isVisible(); }, 2000));
    EXPECT_EQ(b.bulle()->texte(), b.gauche->toolTip());
    QTest::keyClick(&b.fenetre, Qt::Key_A);
    EXPECT_FALSE(b.bulle()->isVisible());
}
