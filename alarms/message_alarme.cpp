#include "alarms/message_alarme.hpp"

#include "calendar/contexte.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ecran.hpp"
#include "plateforme/ressources.hpp"
#include "settings/reglages.hpp"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>
#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {
constexpr int largeur_message = 231;
constexpr int hauteur_message = 161;
constexpr int decalage_haut = 220;
const QRect cadre_texte(25, 22, 185, 97);
const QRect cadre_ok(82, 122, 71, 17);
constexpr int taille_texte = 11;    // pixels
constexpr int taille_texte_min = 8; // only for a text too tall for the screen
// Rows of the artwork kept as drawn when the board grows (the frame above, the
// plate below); the wood between them stretches.
constexpr int fond_haut = 40;
constexpr int fond_bas = 51;

// The text with a line break wherever it has to wrap in this width: at word
// boundaries, inside a word only when it is wider than the line.
QString coupe_lignes(const QString& texte, const QFont& police, int largeur,
                     QPaintDevice* support) {
    QStringList lignes;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraphe : texte.split(QLatin1Char('\n'))) {
        QTextLayout mise_en_page(paragraphe, police, support);
        mise_en_page.setTextOption(option);
        mise_en_page.beginLayout();
        const qsizetype premiere = lignes.size();
        for (QTextLine l = mise_en_page.createLine(); l.isValid(); l = mise_en_page.createLine()) {
            l.setLineWidth(largeur);
            lignes << paragraphe.mid(l.textStart(), l.textLength());
        }
        mise_en_page.endLayout();
        if (lignes.size() == premiere)
            lignes << QString();
        // The blanks a line wraps at would push it past the edge.
        for (qsizetype k = premiere; k + 1 < lignes.size(); ++k)
            while (lignes[k].endsWith(QLatin1Char(' ')))
                lignes[k].chop(1);
    }
    return lignes.join(QLatin1Char('\n'));
}

QRect ecran_de(const RectangleFenetre& principale) {
    const QPoint centre(principale.gauche + principale.largeur / 2,
                        principale.haut + principale.hauteur / 2);
    const QScreen* ecran = QGuiApplication::screenAt(centre);
    return (ecran ? ecran : QGuiApplication::primaryScreen())->availableGeometry();
}
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
    // Centred on the main window as it was at the last check, 220 pixels below
    // its top, but never off the screen.
    : TDialogue(
          {ctx.dialogues, ctx.titre, ctx.fichier_aide}, 0,
          [&ctx](const QSize& taille) {
              return QPoint(centre_sur(ctx.rect_main, taille).x(),
                            ctx.rect_main.haut + decalage_haut);
          },
          parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Label1(new QLabel(this)), ok(new QLabel(this)), ctx_(ctx), reglages_(reglages) {
    setObjectName(QStringLiteral("message_alarme"));
    setFixedSize(largeur_message, hauteur_message);
    setWindowTitle(QString::fromStdString(ctx_.titre));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(cadre_texte);
    Label1->setFont(police(QStringLiteral("Arial"), taille_texte));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(false); // dispose() breaks the lines itself, long words included
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(cadre_ok);
    const QFont times = police(QStringLiteral("Times New Roman"), 13, true);
    ok->setFont(times);
    ok->setText(QStringLiteral("OK"));
    ok->setAlignment(Qt::AlignCenter);
    ok->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    ok->setToolTip(QStringLiteral("Cliquez pour effacer ce message"));
    ok->setCursor(Qt::PointingHandCursor);
    ok->installEventFilter(this);
}

void Tmessage_alarme::annonce(const std::string& texte, const QString& entete) {
    if (isVisible()) {
        attente_.emplace_back(texte, entete);
        return;
    }
    montre(texte, entete);
}

void Tmessage_alarme::montre(const std::string& texte, const QString& entete) {
    const std::size_t n = std::min(texte.size(), sizeof(texte_message) - 1);
    std::memcpy(texte_message, texte.data(), n);
    texte_message[n] = '\0';
    entete_ = entete;
    setWindowModality(Qt::ApplicationModal);
    // The main window may be on another desktop than the user: the board goes
    // where the user is.
    sur_le_bureau_courant(*this);
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
    const auto [texte, entete] = std::move(attente_.front());
    attente_.pop_front();
    montre(texte, entete);
}

void Tmessage_alarme::FormShow() {
    fond_ = image_ressource(reglages_.video() == 1 ? QStringLiteral("message1")
                                                   : QStringLiteral("message2"));
    dispose();
    TDialogue::FormShow();
}

void Tmessage_alarme::dispose() {
    QString texte = texte_affiche(texte_message, sizeof(texte_message));
    if (!entete_.isEmpty())
        texte = texte_message[0] ? entete_ + QLatin1Char('\n') + texte : entete_;
    const QRect ecran = ecran_de(ctx_.rect_main);
    const int hauteur_max = std::max(ecran.height(), hauteur_message);
    // The board grows to show the whole text; a smaller font only when even
    // the screen's height is not enough.
    QFont f = police(QStringLiteral("Arial"), taille_texte);
    QString lignes;
    int plus = 0;
    for (;;) {
        lignes = coupe_lignes(texte, f, cadre_texte.width(), Label1);
        const QRect r = QFontMetrics(f, Label1).boundingRect(
            QRect(0, 0, cadre_texte.width(), hauteur_max), Qt::AlignLeft | Qt::AlignTop, lignes);
        plus = std::max(0, r.height() - cadre_texte.height());
        if (hauteur_message + plus <= hauteur_max || f.pixelSize() <= taille_texte_min)
            break;
        f.setPixelSize(f.pixelSize() - 1);
    }
    plus = std::min(plus, hauteur_max - hauteur_message);
    setFixedSize(largeur_message, hauteur_message + plus);
    Label1->setFont(f);
    Label1->setGeometry(cadre_texte.adjusted(0, 0, 0, plus));
    Label1->setText(lignes);
    ok->setGeometry(cadre_ok.translated(0, plus));
}

void Tmessage_alarme::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!fond_.isNull()) {
        const int l = width(), h = height();
        // Source rectangles count the picture's own pixels, twice as many on a
        // high-density screen; the board itself in window units.
        const qreal r = fond_.devicePixelRatio();
        const int hf = qRound(fond_.height() / r);
        const auto source = [r](int x, int y, int lx, int ly) {
            return QRectF(x * r, y * r, lx * r, ly * r);
        };
        p.drawPixmap(QRectF(0, 0, l, fond_haut), fond_, source(0, 0, l, fond_haut));
        p.drawPixmap(QRectF(0, fond_haut, l, h - fond_haut - fond_bas), fond_,
                     source(0, fond_haut, l, hf - fond_haut - fond_bas));
        p.drawPixmap(QRectF(0, h - fond_bas, l, fond_bas), fond_,
                     source(0, hf - fond_bas, l, fond_bas));
        return;
    }
    // Without the artwork, a plain board keeps the text readable.
    p.fillRect(rect(), QColor(181, 130, 78));
    p.setPen(QPen(QColor(96, 58, 24), 6));
    p.drawRect(rect().adjusted(3, 3, -3, -3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 178, 120));
    p.drawEllipse(QRect(ok->x() - 4, ok->y() - 3, 79, 23));
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
