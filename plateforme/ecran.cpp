#include "ecran.hpp"

#include <QGuiApplication>
#include <QHideEvent>
#include <QMargins>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace quorvel {

namespace {

// The frame of the last window the window manager framed: the best guess for
// one it has not framed yet, such as a dialog at its first opening.
QMargins dernier_cadre;

bool sans_cadre(const QWidget& fenetre) {
    const Qt::WindowType type = fenetre.windowType();
    return fenetre.windowFlags().testFlag(Qt::FramelessWindowHint) || type == Qt::SplashScreen ||
           type == Qt::Popup || type == Qt::ToolTip;
}

// The window's frame as the window manager reports it, or the best guess.
QMargins cadre(const QWidget& fenetre) {
    if (sans_cadre(fenetre))
        return {};
    if (const QWindow* w = fenetre.windowHandle(); w && w->handle())
        if (const QMargins propre = w->frameMargins(); !propre.isNull())
            return propre;
    return dernier_cadre;
}

QRect zone_de(const QRect& voulu, const QWidget& fenetre) {
    const QScreen* ecran = QGuiApplication::screenAt(voulu.center());
    if (!ecran)
        ecran = fenetre.screen();
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    return ecran ? ecran->availableGeometry() : voulu;
}

// Keeps the window's place until the window manager has framed it, then
// places it again if its frame was not the one guessed. The frame shows by the
// time the window is exposed or moved by the window manager. A child of the
// window, so it goes with it.
class Placeur : public QObject {
public:
    explicit Placeur(QWidget& fenetre) : QObject(&fenetre), fenetre_(fenetre) {
        setObjectName(QStringLiteral("quorvel_placeur"));
        fenetre.installEventFilter(this);
    }

    void place(Emplacement emplacement) {
        emplacement_ = std::move(emplacement);
        attend_cadre_ = !sans_cadre(fenetre_);
        suit_fenetre();
        applique(cadre(fenetre_));
    }

    bool eventFilter(QObject* objet, QEvent* e) override {
        if (!attend_cadre_)
            return false;
        if (objet == &fenetre_) {
            if (e->type() == QEvent::Show)
                suit_fenetre();
            else if (e->type() == QEvent::Hide && !e->spontaneous())
                attend_cadre_ = false;
            else if (e->type() == QEvent::Move && e->spontaneous())
                verifie();
        } else if (e->type() == QEvent::Expose) {
            verifie();
        }
        return false;
    }

private:
    // The native window exists from the first show on.
    void suit_fenetre() {
        if (QWindow* w = fenetre_.windowHandle())
            w->installEventFilter(this);
    }

    void verifie() {
        const QWindow* w = fenetre_.windowHandle();
        const QMargins m = w && w->handle() ? w->frameMargins() : QMargins();
        if (m.isNull())
            return;
        dernier_cadre = m;
        attend_cadre_ = false;
        if (m != cadre_)
            applique(m);
    }

    // By the client rectangle: Qt takes a move to be the frame's only once it
    // knows the frame, and a dialog is already made, unframed, by its first show.
    void applique(const QMargins& m) {
        cadre_ = m;
        const QSize taille = fenetre_.size().grownBy(m);
        const QRect voulu(emplacement_(taille), taille);
        const QPoint coin = dans_zone(voulu, zone_de(voulu, fenetre_)).topLeft();
        fenetre_.setGeometry(QRect(coin + QPoint(m.left(), m.top()), fenetre_.size()));
    }

    QWidget& fenetre_;
    Emplacement emplacement_;
    QMargins cadre_; // the frame the window was placed with
    bool attend_cadre_ = false;
};

} // namespace

QRect dans_zone(const QRect& fenetre, const QRect& zone) {
    const auto borne = [](int debut, int longueur, int zone_debut, int zone_longueur) {
        return std::max(zone_debut, std::min(debut, zone_debut + zone_longueur - longueur));
    };
    return {borne(fenetre.x(), fenetre.width(), zone.x(), zone.width()),
            borne(fenetre.y(), fenetre.height(), zone.y(), zone.height()), fenetre.width(),
            fenetre.height()};
}

void place(QWidget& fenetre, Emplacement emplacement) {
    auto* placeur =
        fenetre.findChild<QObject*>(QStringLiteral("quorvel_placeur"), Qt::FindDirectChildrenOnly);
    if (!placeur)
        placeur = new Placeur(fenetre);
    static_cast<Placeur*>(placeur)->place(std::move(emplacement));
}

void place(QWidget& fenetre, QPoint coin) {
    place(fenetre, [coin](const QSize&) { return coin; });
}

QPoint centre_sur(const RectangleFenetre& principale, const QSize& taille) {
    return {principale.gauche + (principale.largeur - taille.width()) / 2,
            principale.haut + (principale.hauteur - taille.height()) / 2};
}

Emplacement centre_sur(const RectangleFenetre& principale) {
    return [&principale](const QSize& taille) { return centre_sur(principale, taille); };
}

void centre_sur_ecran(QWidget& fenetre) {
    place(fenetre, [&fenetre](const QSize& taille) {
        const QScreen* ecran = fenetre.screen();
        if (!ecran)
            ecran = QGuiApplication::primaryScreen();
        const QRect r = ecran ? ecran->geometry() : QRect(QPoint(), taille);
        return QPoint(r.x() + (r.width() - taille.width()) / 2,
                      r.y() + (r.height() - taille.height()) / 2);
    });
}

bool Ouverture::ouvre(const QShowEvent& e) {
    if (e.spontaneous() || ouverte_)
        return false;
    ouverte_ = true;
    return true;
}

void Ouverture::ferme(const QHideEvent& e) {
    if (!e.spontaneous())
        ouverte_ = false;
}

QFont police(const QString& famille, int pixels, bool gras, bool italique) {
    QFont f(famille);
    f.setPixelSize(pixels);
    f.setBold(gras);
    f.setItalic(italique);
    return f;
}

namespace {

xcb_atom_t atome(xcb_connection_t* c, const char* nom) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(nom), nom), nullptr),
        &std::free);
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

void sur_le_bureau_courant(QWidget& fenetre) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || fenetre.isVisible())
        return;
    const xcb_window_t racine = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t courant = atome(c, "_NET_CURRENT_DESKTOP");
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, racine, courant, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &std::free);
    if (!r || xcb_get_property_value_length(r.get()) != 4)
        return; // a window manager without desktops
    const std::uint32_t bureau =
        *static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
    // Read by the window manager when the window is mapped: it wins over the
    // desktop of the window this one is transient for.
    const auto id = static_cast<xcb_window_t>(fenetre.winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atome(c, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &bureau);
    xcb_flush(c);
}

} // namespace quorvel
