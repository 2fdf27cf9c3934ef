#pragma once
// The note pad's text box with its ruling, drawn under the text from the
// text's own lines: whatever the font and size chosen in the configuration,
// every line of text stands on a ruled line, and the ruling goes on below the
// last one at the same spacing.
#include "shell/zone_texte.hpp"

#include <QColor>

namespace quorvel {

class TZoneReglee : public TZoneTexte {
    Q_OBJECT
public:
    TZoneReglee(int maximum, const QColor& couleur, QWidget* parent = nullptr);
    // Rows of the viewport the ruling is drawn on, from the top down.
    QList<int> rangees_reglure() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor couleur_;
};

} // namespace quorvel
