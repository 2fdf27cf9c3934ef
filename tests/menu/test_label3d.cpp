// The 3D label drawn for real: the text and its shadow copy one pixel down and right.
#include "widgets/label3d.hpp"

#include <QApplication>
#include <QImage>
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

// The reference is a shadow the colour of the background, so only the text shows.
TEST(Label3D, ShadowCopyLiesOnePixelDownAndRightUnderTheTextGreyWhenDisabled) {
    const QColor gris_texte =
        QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor fond =
        gris_texte == QColor(40, 200, 40) ? QColor(200, 40, 40) : QColor(40, 200, 40);
    auto reference = label(Qt::white, fond);
    reference->setShadowColor(fond);
    const Pixels texte = de_couleur(reference->grab().toImage(), Qt::white);
    ASSERT_GT(texte.size(), 50u);
    Pixels ombre_visible;
    for (const auto& [x, y] : texte)
        if (!texte.count({x + 1, y + 1}))
            ombre_visible.insert({x + 1, y + 1});

    auto l = label(Qt::white, fond);
    l->setShadowColor(Qt::black);
    QImage image = l->grab().toImage();
    EXPECT_EQ(de_couleur(image, Qt::white), texte);
    EXPECT_EQ(de_couleur(image, Qt::black), ombre_visible);
    // Disabled: the desktop's grey text over the same shadow.
    l->setEnabled(false);
    image = l->grab().toImage();
    EXPECT_TRUE(de_couleur(image, Qt::white).empty());
    EXPECT_EQ(de_couleur(image, gris_texte), texte);
    EXPECT_EQ(de_couleur(image, Qt::black), ombre_visible);
}

} // namespace
} // namespace quorvel
