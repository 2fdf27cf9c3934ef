#include "bulhint.hpp"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace quorvel {

namespace {

int pause_application = 600;
// The balloon of the application: the last TBulHint made; the others stay quiet.
TBulHint* bulhint_actif = nullptr;

// Text is measured on the same kind of device it is painted on, so that a
// font given in points takes the same size in both.
const QImage& support_mesure() {
    static const QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    return image;
}

} // namespace

int pause_bulles_application() {
    return pause_application;
}
void regle_pause_bulles_application(int ms) {
    pause_application = ms;
}

QSize taille_rect_bulle(const QFont& police, const QString& texte, int largeur_max) {
    const QFontMetrics m(police, &support_mesure());
    const QRect r = m.boundingRect(QRect(0, 0, largeur_max, 0),
                                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texte);
    return {r.width() + 6, r.height() + 2};
}

QImage compose_bulle(const QImage& capture, THintDirection d, const QString& texte,
                     const ApparenceBulle& a) {
    const int largeur = capture.width(), hauteur = capture.height();
    QImage image = capture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    const GeometrieBulle g = geometrie_bulle(d, largeur, hauteur);

    // Half-tone shadow: the screen behind shows between the dots.
    for (const PointBulle& p : points_ombre(d, largeur, hauteur))
        if (image.valid(p.x, p.y))
            image.setPixelColor(p.x, p.y, a.couleur_ombre);

    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing, false);
    const QPen trait(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    peintre.setPen(trait);
    peintre.setBrush(a.couleur);
    // A stroked QRect covers one pixel more than its size: the outline lies
    // inside the body's bounds, right and bottom exclusive.
    const BordsBulle& c = g.corps;
    peintre.drawRoundedRect(QRectF(c.gauche, c.haut, c.droite - c.gauche - 1, c.bas - c.haut - 1),
                            4.5, 4.5, Qt::AbsoluteSize);

    const QPoint p1(g.pointe[0].x, g.pointe[0].y), p2(g.pointe[1].x, g.pointe[1].y),
        p3(g.pointe[2].x, g.pointe[2].y);
    // The pointer opens the outline where it joins the body.
    peintre.setPen(QPen(a.couleur, 1, Qt::SolidLine, Qt::FlatCap));
    peintre.drawLine(p1, p2);
    peintre.setPen(Qt::NoPen);
    const QPoint triangle[] = {p1, p2, p3};
    peintre.drawPolygon(triangle, 3, Qt::WindingFill);
    peintre.setPen(trait);
    peintre.drawLine(p2, p3);
    peintre.drawLine(p3, p1);

    const BordsBulle& t = g.texte;
    peintre.setFont(a.police);
    peintre.setPen(a.couleur_police);
    peintre.setBrush(Qt::NoBrush);
    peintre.drawText(QRect(t.gauche, t.haut, t.droite - t.gauche, t.bas - t.haut),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texte);
    return image;
}

TNewHint::TNewHint(const TBulHint& reglages)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      reglages_(reglages) {
    setObjectName(QStringLiteral("TNewHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Where the screen could not be captured, a compositor shows what lies behind.
    setAttribute(Qt::WA_TranslucentBackground);
}

void TNewHint::active_bulle(const QString& texte, QPoint pointeur, QWidget* controle) {
    texte_ = texte.left(longueur_max_bulle);
    QScreen* ecran = QGuiApplication::screenAt(pointeur);
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    const QRect g = ecran ? ecran->geometry() : QRect(0, 0, 640, 480);

    const QSize rect = taille_rect_bulle(reglages_.HintFont(), texte_, g.width());
    const PlacementBulle p =
        place_bulle(reglages_.direction_pour(controle), pointeur.x(), pointeur.y(), rect.width(),
                    rect.height(), {g.x(), g.y(), g.width(), g.height()});
    direction_ = p.direction;

    if (isVisible())
        hide(); // never capture the previous balloon
    capture_ = QImage();
    if (ecran)
        capture_ = ecran->grabWindow(0, p.x - g.x(), p.y - g.y(), p.largeur, p.hauteur).toImage();
    const QSize taille(p.largeur, p.hauteur);
    if (capture_.isNull()) {
        capture_ = QImage(taille, QImage::Format_ARGB32_Premultiplied);
        capture_.fill(Qt::transparent);
    } else if (capture_.size() != taille) {
        capture_ = capture_.scaled(taille); // a high-density screen gives device pixels
    }
    image_ = QImage();
    setGeometry(p.x, p.y, p.largeur, p.hauteur);
    show();
    raise();
}

void TNewHint::paintEvent(QPaintEvent*) {
    if (image_.isNull() && !capture_.isNull()) {
        image_ = compose_bulle(capture_, direction_, texte_, reglages_.apparence());
        capture_ = QImage();
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image_);
}

void TNewHint::hideEvent(QHideEvent*) {
    image_ = QImage();
    capture_ = QImage();
}

TBulHint::TBulHint(QWidget* fenetre_principale)
    : QObject(fenetre_principale), bulle_(std::make_unique<TNewHint>(*this)) {
    setObjectName(QStringLiteral("TBulHint"));
    police_ = QFont(QStringLiteral("MS Sans Serif"));
    police_.setPointSize(12);
    police_.setBold(true);
    police_.setItalic(true);
    regle_pause_bulles_application(pause_);

    minuterie_pause_.setSingleShot(true);
    // A coarse timer may fire 5 % early; the pause is a promise to the user.
    minuterie_pause_.setTimerType(Qt::PreciseTimer);
    connect(&minuterie_pause_, &QTimer::timeout, this, &TBulHint::fin_pause);
    minuterie_affichage_.setSingleShot(true);
    connect(&minuterie_affichage_, &QTimer::timeout, this, [this] {
        bloque_ = porteur_;
        cache_bulle();
    });
    bulhint_actif = this;
    qApp->installEventFilter(this);
}

TBulHint::~TBulHint() {
    if (bulhint_actif == this)
        bulhint_actif = nullptr;
}

void TBulHint::setHintPauseTime(int ms) {
    if (ms == pause_)
        return;
    pause_ = ms;
    regle_pause_bulles_application(ms);
}

ApparenceBulle TBulHint::apparence() const {
    return {couleur_, couleur_ombre_, police_, couleur_police_};
}

THintDirection TBulHint::direction_pour(QWidget* controle) const {
    // The handler's answer counts for this hint only; HintDirection is untouched.
    THintDirection d = direction_;
    if (selection_)
        selection_(controle, d);
    return d;
}

QWidget* TBulHint::porteur_bulle(QWidget* w) const {
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (!w->toolTip().isEmpty())
            return w;
    return nullptr;
}

void TBulHint::montre_bulle(QWidget* controle, QPoint pointeur) {
    QWidget* porteur = porteur_bulle(controle);
    if (!porteur)
        return;
    porteur_ = porteur;
    pointeur_ = pointeur;
    bulle_->active_bulle(porteur->toolTip(), pointeur, controle);
    minuterie_affichage_.start(duree_affichage_ms);
}

void TBulHint::cache_bulle() {
    minuterie_affichage_.stop();
    porteur_ = nullptr;
    if (bulle_->isVisible())
        bulle_->hide();
}

void TBulHint::fin_pause() {
    QWidget* porteur = porteur_bulle(sous_souris_);
    if (!porteur || !porteur->isVisible() || porteur == bloque_)
        return;
    montre_bulle(sous_souris_, pointeur_);
}

void TBulHint::souris_bouge(QWidget* recepteur, QPoint global) {
    QWidget* fenetre = recepteur->window();
    if (fenetre == bulle_.get())
        return;
    QWidget* profond = fenetre->childAt(fenetre->mapFromGlobal(global));
    if (!profond)
        profond = fenetre;
    sous_souris_ = profond;
    pointeur_ = global;

    QWidget* porteur = porteur_bulle(profond);
    if (bloque_ && porteur != bloque_)
        bloque_ = nullptr;
    if (bulle_->isVisible()) {
        if (porteur && porteur == porteur_)
            return;
        cache_bulle();
    }
    if (!porteur || porteur == bloque_) {
        minuterie_pause_.stop();
        return;
    }
    // The pause runs from the last move: the mouse must rest.
    minuterie_pause_.start(pause_bulles_application());
}

bool TBulHint::eventFilter(QObject* objet, QEvent* e) {
    if (this != bulhint_actif || !objet->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(objet);
    const auto contient = [w](const QPointer<QWidget>& autre) {
        return autre && (autre == w || w->isAncestorOf(autre));
    };
    switch (e->type()) {
    case QEvent::ToolTip:
        // Qt's own tooltip would show beside the balloon.
        return !w->toolTip().isEmpty();
    case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (m->buttons() == Qt::NoButton) {
            souris_bouge(w, m->globalPosition().toPoint());
            break;
        }
        [[fallthrough]];
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        // The user is busy with the control: no balloon until the mouse leaves it.
        minuterie_pause_.stop();
        if (!bloque_)
            bloque_ = porteur_ ? porteur_ : QPointer<QWidget>(porteur_bulle(sous_souris_));
        cache_bulle();
        break;
    case QEvent::Leave:
        if (contient(porteur_))
            cache_bulle();
        if (contient(sous_souris_))
            minuterie_pause_.stop();
        if (contient(bloque_))
            bloque_ = nullptr;
        break;
    case QEvent::Hide:
    case QEvent::WindowDeactivate:
        if (contient(porteur_))
            cache_bulle();
        break;
    default:
        break;
    }
    return false;
}

} // namespace quorvel
