#include "alarms/message_alarme.hpp"

#include "calendar/contexte.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/ressources.hpp"
#include "settings/reglages.hpp"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {
constexpr int largeur_message = 231;
constexpr int hauteur_message = 161;
constexpr int decalage_haut = 220;
} // namespace

QString texte_affiche(const char* texte_message, std::size_t taille) {
    const std::size_t n = static_cast<std::size_t>(
        std::find(texte_message, texte_message + taille, '\0') - texte_message);
    QString texte = depuis_cp1252(std::string_view(texte_message, n));
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texte;
}

Tmessage_alarme::Tmessage_alarme(Contexte& ctx, const Reglages& reglages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Label1(new QLabel(this)),
      ok(new QLabel(this)), ctx_(ctx), reglages_(reglages) {
    setObjectName(QStringLiteral("message_alarme"));
    setFixedSize(largeur_message, hauteur_message);
    setWindowTitle(QString::fromStdString(ctx_.titre));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(25, 22, 185, 97);
    const QFont arial = police(QStringLiteral("Arial"), 11);
    Label1->setFont(arial);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(false); // a long line is cut at the edge, not wrapped
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(82, 122, 71, 17);
    const QFont times = police(QStringLiteral("Times New Roman"), 13, true);
    ok->setFont(times);
    ok->setText(QStringLiteral("OK"));
    ok->setAlignment(Qt::AlignCenter);
    ok->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    ok->setToolTip(QStringLiteral("Cliquez pour effacer ce message"));
    ok->setCursor(Qt::PointingHandCursor);
    ok->installEventFilter(this);
}

void Tmessage_alarme::annonce(const std::string& texte) {
    if (isVisible()) {
        attente_.push_back(texte);
        return;
    }
    montre(texte);
}

void Tmessage_alarme::montre(const std::string& texte) {
    const std::size_t n = std::min(texte.size(), sizeof(texte_message) - 1);
    std::memcpy(texte_message, texte.data(), n);
    texte_message[n] = '\0';
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
}

void Tmessage_alarme::okClick() {
    accept();
}

void Tmessage_alarme::done(int resultat) {
    QDialog::done(resultat);
    if (attente_.empty())
        return;
    const std::string suivant = std::move(attente_.front());
    attente_.pop_front();
    montre(suivant);
}

void Tmessage_alarme::showEvent(QShowEvent* e) {
    // Centred on the main window as it was at the last check, 220 pixels below its top.
    move(ctx_.centre_sur_main(size()).x(), ctx_.rect_main.haut + decalage_haut);
    fond_ = image_ressource(reglages_.video() == 1 ? QStringLiteral("message1")
                                                   : QStringLiteral("message2"));
    Label1->setText(texte_affiche(texte_message, sizeof(texte_message)));
    QDialog::showEvent(e);
}

void Tmessage_alarme::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!fond_.isNull()) {
        p.drawPixmap(0, 0, fond_);
        return;
    }
    // Without the artwork, a plain board keeps the text readable.
    p.fillRect(rect(), QColor(181, 130, 78));
    p.setPen(QPen(QColor(96, 58, 24), 6));
    p.drawRect(rect().adjusted(3, 3, -3, -3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 178, 120));
    p.drawEllipse(QRect(78, 119, 79, 23));
}

bool Tmessage_alarme::eventFilter(QObject* objet, QEvent* e) {
    if (objet == ok && e->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(e);
        if (souris->button() == Qt::LeftButton &&
            ok->rect().contains(souris->position().toPoint())) {
            okClick();
            return true;
        }
    }
    return QDialog::eventFilter(objet, e);
}

} // namespace quorvel
