// The alarm message window: placement, text, waiting texts, dismissal.
#include "alarms/message_alarme.hpp"
#include "outils_alarmes.hpp"
#include "plateforme/ressources.hpp"

#include <QLabel>
#include <QTest>

namespace quorvel {
namespace {

class MessageAlarme : public ::testing::Test, public test::Bureau {
protected:
    ~MessageAlarme() override { message.hide(); }
    Tmessage_alarme message{ctx, reglages};
};

TEST_F(MessageAlarme, PlaceSousLeHautDeLaFenetrePrincipale) {
    const std::pair<RectangleFenetre, QPoint> cas[] = {
        {{350, 75, 417, 455}, {443, 295}},
        {{0, 0, 416, 455}, {92, 220}}, // 92.5 with the fraction dropped
        {{-300, 10, 100, 30}, {-365, 230}},
    };
    for (const auto& [principale, position] : cas) {
        ctx.rect_main = principale;
        message.annonce("x");
        EXPECT_EQ(message.pos(), position);
        EXPECT_EQ(message.size(), QSize(231, 161));
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
}

TEST_F(MessageAlarme, LignesGardeesLonguesLignesCoupees) {
    message.annonce("premi\xE8re\r\nseconde\rtroisi\xE8me\n" + std::string(120, 'W'));
    ASSERT_TRUE(message.isVisible());
    EXPECT_EQ(message.Label1->text(),
              QString::fromUtf8("première\nseconde\ntroisième\n") + QString(120, QLatin1Char('W')));
    EXPECT_FALSE(message.Label1->wordWrap());
    EXPECT_EQ(message.Label1->geometry(), QRect(25, 22, 185, 97));
    EXPECT_GT(message.Label1->sizeHint().width(), 185) << "the long line runs past the edge, cut";
    EXPECT_EQ(message.Label1->textFormat(), Qt::PlainText);
    EXPECT_TRUE(message.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(MessageAlarme, TexteBorneOuVide) {
    message.annonce(std::string(250, 'a'));
    EXPECT_EQ(std::string(message.texte_message), std::string(200, 'a'));
    EXPECT_EQ(message.Label1->text().size(), 200);
    QTest::mouseClick(message.ok, Qt::LeftButton);
    message.annonce(""); // an empty text still shows the board and its OK
    EXPECT_TRUE(message.isVisible());
    EXPECT_TRUE(message.Label1->text().isEmpty());
}

TEST_F(MessageAlarme, TextesEnAttenteDansLOrdre) {
    for (const char* t : {"un", "deux", "trois"})
        message.annonce(t);
    EXPECT_EQ(message.textes_en_attente(), 2u);
    QTest::mouseClick(message.ok, Qt::RightButton); // only the left button dismisses
    for (const char* attendu : {"un", "deux", "trois"}) {
        ASSERT_TRUE(message.isVisible());
        EXPECT_EQ(message.Label1->text(), attendu);
        QTest::mouseClick(message.ok, Qt::LeftButton);
    }
    EXPECT_FALSE(message.isVisible());
    EXPECT_EQ(message.textes_en_attente(), 0u);
}

TEST_F(MessageAlarme, FondSelonLeModeVideo) {
    const QImage fond1 = image_ressource("message1").toImage();
    const QImage fond2 = image_ressource("message2").toImage();
    if (fond1.isNull() || fond2.isNull() || fond1 == fond2)
        GTEST_SKIP() << "artwork not built";
    message.annonce("");
    const QImage vu1 = message.grab().toImage();
    QTest::mouseClick(message.ok, Qt::LeftButton);
    reglages.regle_video(2);
    message.annonce("");
    const QImage vu2 = message.grab().toImage();
    EXPECT_EQ(vu1.pixel(5, 5), fond1.convertToFormat(vu1.format()).pixel(5, 5));
    EXPECT_EQ(vu2.pixel(5, 5), fond2.convertToFormat(vu2.format()).pixel(5, 5));
    EXPECT_NE(vu1, vu2);
}

} // namespace
} // namespace quorvel
