#include "widgets/logo.hpp"

#include "plateforme/ressources.hpp"

#include <QTimer>

namespace quorvel {

namespace {
constexpr int nombre_images = 13;
constexpr int intervalle_ms = 100;
} // namespace

TLOGO::TLOGO(QWidget* parent) : QLabel(parent), minuterie_(new QTimer(this)) {
    setGeometry(0, 0, 100, 100);
    minuterie_->setInterval(intervalle_ms);
    connect(minuterie_, &QTimer::timeout, this, &TLOGO::anime_logo);
}

void TLOGO::showEvent(QShowEvent* e) {
    if (pixmap().isNull())
        setPixmap(image_ressource(QStringLiteral("l1")));
    QLabel::showEvent(e);
}

void TLOGO::demarre_logo() {
    minuterie_->start();
}

void TLOGO::arrete_logo() {
    minuterie_->stop();
}

bool TLOGO::anime() const {
    return minuterie_->isActive();
}

void TLOGO::anime_logo() {
    ++compteur_;
    if (compteur_ >= 1 && compteur_ <= nombre_images)
        setPixmap(image_ressource(QStringLiteral("l") + QString::number(compteur_)));
    if (compteur_ >= nombre_images)
        compteur_ = 0;
}

} // namespace quorvel
