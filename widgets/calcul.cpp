#include "calcul.hpp"

#include "plateforme/garde.hpp"

#include <QApplication>
#include <QMouseEvent>

namespace quorvel {

namespace {

struct PlaceTouche {
    const char* legende;
    char caractere;
    int gauche, haut, largeur;
};

// The key faces of the case picture, row by row.
constexpr PlaceTouche touches[] = {
    {"7", '7', 7, 39, 30},   {"8", '8', 41, 39, 30},  {"9", '9', 75, 39, 30},
    {"C", 'c', 109, 39, 30}, {"*", '*', 147, 39, 30}, {"/", '/', 181, 39, 30},
    {"4", '4', 7, 66, 30},   {"5", '5', 41, 66, 30},  {"6", '6', 75, 66, 30},
    {".", '.', 109, 66, 30}, {"+", '+', 147, 66, 30}, {"-", '-', 181, 66, 30},
    {"1", '1', 7, 93, 30},   {"2", '2', 41, 93, 30},  {"3", '3', 75, 93, 30},
    {"0", '0', 109, 93, 30}, {"=", '=', 147, 93, 63},
};

} // namespace

ToucheCalcul::ToucheCalcul(const QString& legende, char caractere, QWidget* parent)
    : QLabel(legende, parent), caractere_(caractere) {
    setObjectName(legende);
    setAlignment(Qt::AlignCenter);
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
        auto* touche = new ToucheCalcul(QString::fromLatin1(t.legende), t.caractere, this);
        touche->setGeometry(t.gauche, t.haut, t.largeur, 22);
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

void Tcalculette::affiche_saisie() {
    affichage_->setText(QString::fromLatin1(moteur_.affichage().c_str()));
}

} // namespace quorvel
