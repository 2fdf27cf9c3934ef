// The 3D label drawn for real: the text and its shadow copy one pixel down and right.
#include "widgets/label3d.hpp"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace quorvel {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels de_couleur(const QImage& image, QColor couleur) {
    Pixels p;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == couleur.rgb())
                p.insert({x, y});
    return p;
}

// A label whose text has hard edges, so that each copy is an exact pixel set.
std::unique_ptr<TLabel3D> label(QColor texte, QColor fond) {
    auto l = std::make_unique<TLabel3D>(QStringLiteral("Qw"));
    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(40);
    police.setBold(true);
    police.setStyleStrategy(QFont::NoAntialias);
    l->setFont(police);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, texte);
    palette.setColor(QPalette::Window, fond);
    l->setPalette(palette);
    l->setAutoFillBackground(true);
    l->resize(90, 50);
    return l;
}

const QColor gris_fond(128, 128, 128);

TEST(Label3D, ShadowCopyLiesOnePixelDownAndRightUnderTheText) {
    // Reference: a shadow the colour of the background, so only the text shows.
    auto reference = label(Qt::white, gris_fond);
    reference->setShadowColor(gris_fond);
    const Pixels texte = de_couleur(reference->grab().toImage(), Qt::white);
    ASSERT_GT(texte.size(), 50u);

    auto l = label(Qt::white, gris_fond);
    l->setShadowColor(Qt::black);
    const QImage image = l->grab().toImage();
    EXPECT_EQ(de_couleur(image, Qt::white), texte);
    Pixels ombre_visible;
    for (const auto& [x, y] : texte)
        if (!texte.count({x + 1, y + 1}))
            ombre_visible.insert({x + 1, y + 1});
    EXPECT_EQ(de_couleur(image, Qt::black), ombre_visible);
}

TEST(Label3D, DisabledLabelShowsGreyTextOverTheSameShadow) {
    const QColor gris_texte =
        QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor fond =
        gris_texte == QColor(40, 200, 40) ? QColor(200, 40, 40) : QColor(40, 200, 40);
    auto actif = label(Qt::white, fond);
    actif->setShadowColor(Qt::black);
    const QImage vue = actif->grab().toImage();
    const Pixels texte = de_couleur(vue, Qt::white), ombre = de_couleur(vue, Qt::black);

    auto l = label(Qt::white, fond);
    l->setShadowColor(Qt::black);
    l->setEnabled(false);
    const QImage image = l->grab().toImage();
    EXPECT_TRUE(de_couleur(image, Qt::white).empty());
    EXPECT_EQ(de_couleur(image, gris_texte), texte);
    EXPECT_EQ(de_couleur(image, Qt::black), ombre);
}

class Compteur : public TLabel3D {
public:
    int peintures = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++peintures;
        TLabel3D::paintEvent(e);
    }
};

TEST(Label3D, SettingTheSameShadowColourDoesNotRepaint) {
    Compteur l;
    l.setText(QStringLiteral("Quorvel"));
    EXPECT_EQ(l.ShadowColor(), QApplication::palette().color(QPalette::Light));
    l.setShadowColor(Qt::black);
    l.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
    QTest::qWait(20);
    l.peintures = 0;
    l.setShadowColor(Qt::black);
    QTest::qWait(50);
    EXPECT_EQ(l.peintures, 0);
    l.setShadowColor(Qt::blue);
    EXPECT_TRUE(QTest::qWaitFor([&] { return l.peintures > 0; }, 1000));
    EXPECT_EQ(l.ShadowColor(), QColor(Qt::blue));
}

} // namespace
} // namespace quorvel
