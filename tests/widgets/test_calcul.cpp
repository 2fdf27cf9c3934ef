// The calculator widget: mouse clicks on the key labels, failures reported
// through the application's error box, the display showing whole numbers.
#include "commun/essai.hpp"
#include "plateforme/ecran.hpp"
#include "widgets/calcul.hpp"

#include <QFontMetrics>

using namespace quorvel;

static void clique(Tcalculette& c, const QString& touches) {
    for (const QChar k : touches) {
        ToucheCalcul* t = c.touche(k == QLatin1Char('c') ? QStringLiteral("C") : QString(k));
        ASSERT_NE(t, nullptr) << k.toLatin1();
        QTest::mouseClick(t, Qt::LeftButton);
    }
}

// Every key once, through the mouse: each label sends its own character. A
// press released elsewhere, or a right click, is no click. Beyond the 6-byte
// real the display keeps the last number typed; after a failure typing goes on.
TEST(Tcalculette, CalculALaSourisEtEchecsRapportes) {
    Tcalculette c;
    DialoguesTest dialogues;
    c.regle_rapport(&dialogues, "Quorvel V2.32");
    c.show();
    ToucheCalcul* sept = c.touche("7");
    QTest::mousePress(sept, Qt::LeftButton);
    QTest::mouseRelease(sept, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(sept, Qt::RightButton);
    EXPECT_EQ(c.affichage()->text(), "0");
    const QString grand = "-" + QString(29, QLatin1Char('9'));
    // clang-format off
    const std::tuple<QString, const char*, QString> cas[] = {
        {"123+98-7.5*6/4+0=", nullptr, "320.25"}, {"c", nullptr, "0"},
        {"5/0=", "Division flottante par zéro.", "0"}, {"c7*6=", nullptr, "42"},
        {"c0/0=", "Opération flottante incorrecte.", "0"},
        {"c" + grand + "*" + grand + "=", "Débordement flottant.", grand},
        {"c7*6=", nullptr, "42"}};
    // clang-format on
    std::vector<DialoguesTest::Message> erreurs;
    for (const auto& [touches, message, affichage] : cas) {
        SCOPED_TRACE(touches.toStdString());
        clique(c, touches);
        if (message)
            erreurs.push_back({"Quorvel V2.32", QString::fromUtf8(message)});
        EXPECT_EQ(dialogues.erreurs, erreurs);
        // A result is right-aligned in the strip; an entry is shown as typed.
        const bool resultat = !message && touches.endsWith(QLatin1Char('='));
        EXPECT_EQ(resultat ? c.affichage()->text().trimmed() : c.affichage()->text(), affichage);
    }
}

// A thirty-character entry or result is wider than the strip at the main
// window's lettering: the whole of it shows, sign and first digits included.
TEST(Tcalculette, AffichageEntier) {
    const QString trente = "0.1234567890123456789012345678",
                  negatif = "-" + QString(29, QLatin1Char('7'));
    const std::tuple<QString, QString, bool> cas[] = {
        {"12.5", "12.5", false},
        {trente, trente, true},
        {negatif, negatif, true},
        {"-" + QString(29, QLatin1Char('9')) + "*-1=", "1" + QString(29, QLatin1Char('0')), true}};
    Tcalculette c;
    const QFont police_fenetre = police(QStringLiteral("Arial"), 13);
    c.setFont(police_fenetre);
    c.show();
    for (const auto& [touches, texte, reduit] : cas) {
        SCOPED_TRACE(touches.toStdString());
        clique(c, "c" + touches);
        const QLabel* a = c.affichage();
        EXPECT_EQ(a->text().trimmed().toStdString(), texte.toStdString());
        EXPECT_LE(QFontMetrics(a->font()).horizontalAdvance(texte), a->contentsRect().width());
        EXPECT_EQ(a->font().pixelSize() < police_fenetre.pixelSize(), reduit);
    }
}
