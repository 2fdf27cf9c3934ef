#pragma once
// Placing a window on the screen, and the lettering of its controls.
#include <QFont>
#include <QString>

class QWidget;

namespace quorvel {

// Moves the window to the middle of the screen it is on (the primary screen
// before it has one), the halves of the margins truncated.
void centre_sur_ecran(QWidget& fenetre);

// A font of the windows: a family at a size in pixels.
QFont police(const QString& famille, int pixels, bool gras = false, bool italique = false);

} // namespace quorvel
