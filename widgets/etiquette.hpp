#pragma once
// A label that answers the mouse: a click and a double-click signal, for the
// painted buttons, page corners, hour labels and the saint of the day.
#include <QLabel>
#include <QMouseEvent>

namespace quorvel {

class TEtiquette : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clic();
    void double_clic();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            emit clic();
        QLabel::mouseReleaseEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            emit double_clic();
        QLabel::mouseDoubleClickEvent(e);
    }
};

} // namespace quorvel
