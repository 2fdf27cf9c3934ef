#pragma once
// Placing a window on the screen, telling its openings from the window system's
// own shows, and the lettering of its controls.
#include "plateforme/rectangle_fenetre.hpp"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QHideEvent;
class QShowEvent;
class QWidget;

namespace quorvel {

// Title-bar buttons of the fixed windows: none offers to maximise. The main
// window has the system menu and minimise (and the close box, which asks before
// quitting); a dialog has its title and close box.
inline constexpr Qt::WindowFlags boutons_fenetre_principale =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
inline constexpr Qt::WindowFlags boutons_dialogue =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;

// A window's outer rectangle moved inside the usable area of a screen. A window
// larger than the area keeps its top-left corner in it, so its title bar stays
// within reach.
QRect dans_zone(const QRect& fenetre, const QRect& zone);

// Where a window's outer top-left corner goes, given its outer size.
using Emplacement = std::function<QPoint(const QSize& exterieur)>;

// Places a window by its outer rectangle, frame included, inside the usable
// area of the screen it lands on. Until the window manager has framed a window
// its frame is taken to be the one of the last window it framed; when the real
// frame differs, the window is placed again as soon as the frame is known.
void place(QWidget& fenetre, Emplacement emplacement);
void place(QWidget& fenetre, QPoint coin);

// Outer top-left corner of a window of the given outer size centred on the
// main window's outer rectangle as last recorded, halves truncated toward zero.
QPoint centre_sur(const RectangleFenetre& principale, const QSize& taille);
// The same as an emplacement, read at each opening: the main window moves.
Emplacement centre_sur(const RectangleFenetre& principale);

// Centres the window's outer rectangle on the screen it is on (the primary
// screen before it has one), the halves of the margins truncated.
void centre_sur_ecran(QWidget& fenetre);

// Tells the program's own opening of a window from the shows the window system
// makes by itself (a restore after minimising, a desktop switch) and from a
// second show without a close: only the opening loads the window's fields and
// places it, so that nothing typed is lost and a window moved by the user stays.
class Ouverture {
public:
    // True for the show event that opens the window.
    bool ouvre(const QShowEvent& e);
    // A hide by the program closes the window; one by the window system
    // (minimising) does not.
    void ferme(const QHideEvent& e);

private:
    bool ouverte_ = false;
};

// Under X11, a window about to be shown goes to the desktop the user is on now,
// not to the one of the window it belongs to. Elsewhere nothing changes.
void sur_le_bureau_courant(QWidget& fenetre);

// A font of the windows: a family at a size in pixels.
QFont police(const QString& famille, int pixels, bool gras = false, bool italique = false);

} // namespace quorvel
