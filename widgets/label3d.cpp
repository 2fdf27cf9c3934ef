#include "widgets/label3d.hpp"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace quorvel {

namespace {
constexpr int longueur_max = 255;
}

// The default shadow is the desktop's 3D highlight, as for a raised button edge.
TLabel3D::TLabel3D(QWidget* parent)
    : QLabel(parent), ombre_(QApplication::palette().color(QPalette::Light)) {}

TLabel3D::TLabel3D(const QString& texte, QWidget* parent) : TLabel3D(parent) {
    setText(texte);
}

void TLabel3D::setShadowColor(const QColor& couleur) {
    if (couleur == ombre_)
        return;
    ombre_ = couleur;
    update();
}

void TLabel3D::paintEvent(QPaintEvent*) {
    // An opaque label (autoFillBackground) has had its background filled by Qt already.
    QPainter p(this);
    p.setFont(font());
    const int drapeaux = static_cast<int>(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                         Qt::TextExpandTabs | Qt::TextWordWrap;
    const QString texte = text().left(longueur_max);
    const QRect zone = contentsRect();

    p.setPen(ombre_);
    p.drawText(zone.translated(1, 1), drapeaux, texte);

    // Disabled text takes the desktop's grey, whatever colour the label was given.
    p.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                         : QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(zone, drapeaux, texte);
}

} // namespace quorvel
