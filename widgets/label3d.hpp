#pragma once
// A label with embossed text: the text is drawn first in the shadow colour one
// pixel down and to the right, then in the label's own colour over it.
#include <QColor>
#include <QLabel>

namespace quorvel {

class TLabel3D : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QColor ShadowColor READ ShadowColor WRITE setShadowColor)
public:
    explicit TLabel3D(QWidget* parent = nullptr);
    explicit TLabel3D(const QString& texte, QWidget* parent = nullptr);

    QColor ShadowColor() const { return ombre_; }
    // Repaints only when the colour changes.
    void setShadowColor(const QColor& couleur);

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    QColor ombre_;
};

} // namespace quorvel
