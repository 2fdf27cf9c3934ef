#include "calcul.hpp"

#include "plateforme/garde.hpp"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quorvel {

namespace {

struct PlaceTouche {
    const char* legende;
    char caractere;
    int gauche, haut, largeur;
    bool bille_sombre; // green and red balls; the operators' balls are khaki
    // The symbols carry a few pixels of ink at the text size: drawn larger.
    double echelle;
};

// The key faces of the case picture, row by row.
constexpr PlaceTouche touches[] = {
    {"7", '7', 7, 39, 30, true, 1},      {"8", '8', 41, 39, 30, true, 1},
    {"9", '9', 75, 39, 30, true, 1},     {"C", 'c', 109, 39, 30, true, 1},
    {"*", '*', 147, 39, 30, false, 1.6}, {"/", '/', 181, 39, 30, false, 1.3},
    {"4", '4', 7, 66, 30, true, 1},      {"5", '5', 41, 66, 30, true, 1},
    {"6", '6', 75, 66, 30, true, 1},     {".", '.', 109, 66, 30, true, 2},
    {"+", '+', 147, 66, 30, false, 1.3}, {"-", '-', 181, 66, 30, false, 1.8},
    {"1", '1', 7, 93, 30, true, 1},      {"2", '2', 41, 93, 30, true, 1},
    {"3", '3', 75, 93, 30, true, 1},     {"0", '0', 109, 93, 30, true, 1},
    {"=", '=', 147, 93, 63, false, 1.3},
};

// f at the largest size, down from its own, at which texte fits in largeur pixels.
QFont police_ajustee(QFont f, const QString& texte, int largeur) {
    while (QFontMetrics(f).horizontalAdvance(texte) > largeur) {
        if (f.pixelSize() > 1)
            f.setPixelSize(f.pixelSize() - 1);
        else if (f.pixelSize() <= 0 && f.pointSizeF() > 1)
            f.setPointSizeF(f.pointSizeF() - 0.5);
        else
            break;
    }
    return f;
}

} // namespace

ToucheCalcul::ToucheCalcul(const QString& legende, char caractere, double echelle, QWidget* parent)
    : QLabel(legende, parent), caractere_(caractere), echelle_(echelle) {
    setObjectName(legende);
    setAlignment(Qt::AlignCenter);
}

void ToucheCalcul::paintEvent(QPaintEvent*) {
    QFont f = font();
    f.setBold(true);
    if (f.pixelSize() > 0)
        f.setPixelSize(qRound(f.pixelSize() * echelle_));
    else
        f.setPointSizeF(f.pointSizeF() * echelle_);
    // Centre the ink, not the line: "." sits on the baseline and "*" near the top.
    QPainterPath trace;
    trace.addText(0, 0, f, text());
    const QPointF origine = QRectF(rect()).center() - trace.boundingRect().center();
    QPainter p(this);
    p.setFont(f);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawText(origine + QPointF(1, 1), text());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(origine, text());
}

void ToucheCalcul::mousePressEvent(QMouseEvent* e) {
    enfoncee_ = e->button() == Qt::LeftButton;
}

void ToucheCalcul::mouseReleaseEvent(QMouseEvent* e) {
    const bool clic =
        enfoncee_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    enfoncee_ = false;
    if (clic)
        emit touche(caractere_);
}

Tcalculette::Tcalculette(QWidget* parent) : QWidget(parent) {
    setGeometry(position_x_, position_y_, 218, 122);

    image_ = new QLabel(this);
    image_->setGeometry(0, 0, 218, 122);
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    affichage_ = new QLabel(this);
    affichage_->setObjectName(QStringLiteral("affichage"));
    affichage_->setGeometry(11, 11, 199, 21);
    affichage_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    affichage_->setAutoFillBackground(true);
    QPalette p = affichage_->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, Qt::white);
    affichage_->setPalette(p);

    for (const PlaceTouche& t : touches) {
        auto* touche =
            new ToucheCalcul(QString::fromLatin1(t.legende), t.caractere, t.echelle, this);
        touche->setGeometry(t.gauche, t.haut, t.largeur, 22);
        // A light caption over a dark edge on the coloured balls, dark over light on khaki.
        QPalette p = touche->palette();
        p.setColor(QPalette::WindowText, t.bille_sombre ? Qt::white : QColor(30, 25, 10));
        p.setColor(QPalette::Shadow,
                   t.bille_sombre ? QColor(0, 0, 0, 200) : QColor(255, 255, 240, 150));
        touche->setPalette(p);
        connect(touche, &ToucheCalcul::touche, this, &Tcalculette::traite_touche);
    }
    affiche_saisie();
}

Tcalculette::~Tcalculette() = default;

void Tcalculette::regle_rapport(Dialogues* dialogues, QString titre) {
    dialogues_ = dialogues;
    titre_ = std::move(titre);
}

void Tcalculette::set_texture(const QPixmap& texture) {
    image_->setPixmap(texture);
}

QPixmap Tcalculette::texture() const {
    return image_->pixmap();
}

ToucheCalcul* Tcalculette::touche(const QString& legende) const {
    return findChild<ToucheCalcul*>(legende, Qt::FindDirectChildrenOnly);
}

void Tcalculette::traite_touche(char k) {
    Dialogues* d = dialogues_;
    QString titre = titre_;
    if (!d) {
        if (!dialogues_defaut_)
            dialogues_defaut_ = std::make_unique<DialoguesQt>();
        d = dialogues_defaut_.get();
        titre = QApplication::applicationDisplayName();
    }
    // On failure the display keeps what it showed before the key.
    garde(*d, this, titre, [&] {
        moteur_.traite_touche(k);
        affiche_saisie();
    });
}

void Tcalculette::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        affiche_saisie();
}

void Tcalculette::affiche_saisie() {
    const QString texte = QString::fromLatin1(moteur_.affichage().c_str());
    // Thirty characters are wider than the strip at the usual size: smaller
    // lettering rather than losing the sign or the first digits on the left.
    // A result's leading blanks are only alignment.
    affichage_->setFont(
        police_ajustee(font(), texte.trimmed(), affichage_->contentsRect().width()));
    affichage_->setText(texte);
}

} // namespace quorvel
