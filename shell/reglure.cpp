#include "reglure.hpp"

#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace quorvel {

TZoneReglee::TZoneReglee(int maximum, const QColor& couleur, QWidget* parent)
    : TZoneTexte(maximum, parent), couleur_(couleur) {}

QList<int> TZoneReglee::rangees_reglure() const {
    QList<int> rangees;
    const int bas = viewport()->height();
    const QPointF decalage = contentOffset();
    double y = 0;
    double pas = QFontMetricsF(font()).lineSpacing();
    for (QTextBlock b = firstVisibleBlock(); b.isValid() && y < bas; b = b.next()) {
        if (!b.isVisible())
            continue;
        const double haut = blockBoundingGeometry(b).translated(decalage).top();
        const QTextLayout* mise = b.layout();
        for (int i = 0; i < mise->lineCount(); ++i) {
            const QTextLine ligne = mise->lineAt(i);
            // The letters stand on the line; only descenders cross it.
            y = haut + ligne.y() + ligne.ascent();
            pas = ligne.height();
            if (y >= 0 && y < bas)
                rangees.append(static_cast<int>(std::ceil(y)));
        }
    }
    if (pas >= 1)
        for (y += pas; y < bas; y += pas)
            rangees.append(static_cast<int>(std::ceil(y)));
    return rangees;
}

void TZoneReglee::paintEvent(QPaintEvent* e) {
    {
        QPainter p(viewport());
        p.setPen(QPen(couleur_, 1));
        for (const int y : rangees_reglure())
            p.drawLine(0, y, viewport()->width(), y);
    }
    // The text over the ruling.
    TZoneTexte::paintEvent(e);
}

} // namespace quorvel
