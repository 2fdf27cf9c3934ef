#include "alarms/alarme_horloge.hpp"

#include "alarms/alarme.hpp"
#include "alarms/saisie_alarme.hpp"
#include "calendar/contexte.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ressources.hpp"
#include "settings/reglages.hpp"

#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace quorvel {

namespace {

constexpr int largeur_liste_alarmes = 275;
constexpr int hauteur_liste_alarmes = 307;
constexpr int sujet_aide_alarmes = 7;

// Lines of the list are 16 pixels high whatever the style.
class LigneSeize : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

QPushButton* bouton(QWidget* parent, const QString& nom, const QRect& place, const QString& bulle) {
    auto* b = new QPushButton(parent);
    b->setObjectName(nom);
    b->setGeometry(place);
    b->setToolTip(bulle);
    b->setAutoDefault(false);
    return b;
}

void pose_image(QPushButton* b, const QString& nom) {
    const QPixmap image = image_ressource(nom);
    b->setIcon(QIcon(image));
    if (!image.isNull())
        b->setIconSize(image.deviceIndependentSize().toSize());
}

} // namespace

Talarme_horloge::Talarme_horloge(Contexte& ctx, const Reglages& reglages,
                                 EnregistrementAlarme& courante, Tsaisie_alarme& saisie,
                                 QWidget* parent)
    : TDialogue({ctx.dialogues, ctx.titre, ctx.fichier_aide}, sujet_aide_alarmes,
                centre_sur(ctx.rect_main), parent, boutons_dialogue),
      liste(new QListWidget(this)), creer1(bouton(this, QStringLiteral("creer1"), {7, 254, 53, 45},
                                                  QStringLiteral("Ajouter une nouvelle alarme"))),
      modifier1(bouton(this, QStringLiteral("modifier1"), {62, 254, 53, 45},
                       QStringLiteral("Modifier l'alarme courante"))),
      supprimer1(bouton(this, QStringLiteral("supprimer1"), {117, 254, 53, 45},
                        QStringLiteral("Supprimer l'alarme courante"))),
      ok1(bouton(this, QStringLiteral("ok1"), {172, 254, 97, 45}, QStringLiteral("Sortir"))),
      ctx_(ctx), reglages_(reglages), courante_(courante), saisie_(saisie) {
    setObjectName(QStringLiteral("alarme_horloge"));
    setWindowTitle(QStringLiteral("ALARME D'HORLOGE"));
    setFixedSize(largeur_liste_alarmes, hauteur_liste_alarmes);

    liste->setObjectName(QStringLiteral("liste"));
    liste->setGeometry(7, 12, 261, 233);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFont arial = police(QStringLiteral("Arial"), 13);
    liste->setFont(arial);
    liste->setItemDelegate(new LigneSeize(liste));
    liste->setStyleSheet(QStringLiteral("QListWidget { color: black; }"));

    ok1->setText(QStringLiteral("OK"));
    ok1->setDefault(true);

    connect(creer1, &QPushButton::clicked, this, [this] { gere([this] { creer1Click(); }); });
    connect(modifier1, &QPushButton::clicked, this, [this] { gere([this] { modifier1Click(); }); });
    connect(supprimer1, &QPushButton::clicked, this,
            [this] { gere([this] { supprimer1Click(); }); });
    connect(ok1, &QPushButton::clicked, this, &Talarme_horloge::ok1Click);

    setTabOrder(liste, creer1);
    setTabOrder(creer1, modifier1);
    setTabOrder(modifier1, supprimer1);
    setTabOrder(supprimer1, ok1);
}

void Talarme_horloge::FormActivate() {
    const bool seize_couleurs = reglages_.video() == 1;
    pose_image(creer1, seize_couleurs ? QStringLiteral("plus1") : QStringLiteral("plus2"));
    pose_image(modifier1, seize_couleurs ? QStringLiteral("pm1") : QStringLiteral("pm2"));
    pose_image(supprimer1, seize_couleurs ? QStringLiteral("moins1") : QStringLiteral("moins2"));
    pose_image(ok1, seize_couleurs ? QStringLiteral("coche1") : QStringLiteral("coche2"));
    affecte_liste();
    if (liste->count() > 0)
        liste->setCurrentRow(0);
}

void Talarme_horloge::affecte_liste() {
    liste->clear();
    auto f = ouvre_alarme(ctx_.repertoire);
    const std::int32_t c = nombre_alarmes(f);
    for (std::int32_t k = 0; k < c; ++k) {
        lit_alarme(f, k, courante_);
        liste->addItem(depuis_cp1252(ligne_alarme(courante_)));
    }
    ferme_alarme(f);
    liste->setFocus();
    etat_bouton();
}

void Talarme_horloge::etat_bouton() {
    const bool des_alarmes = compte_alarmes(ctx_.repertoire) != 0;
    modifier1->setEnabled(des_alarmes);
    supprimer1->setEnabled(des_alarmes);
}

void Talarme_horloge::creer1Click() {
    alarme_par_defaut(courante_, ctx_);
    saisie_.exec();
    // The entry dialog has no cancel: whatever way it was left, the alarm is added.
    const std::int32_t n =
        ajoute_alarme(ctx_.repertoire, courante_, signale_dans(ctx_.dialogues, this, ctx_.titre));
    affecte_liste();
    liste->setCurrentRow(n);
}

void Talarme_horloge::modifier1Click() {
    const std::int32_t c = compte_alarmes(ctx_.repertoire);
    const int b = liste->currentRow();
    if (c == 0 || b < 0 || b >= c)
        return;
    lit_alarme(ctx_.repertoire, b, courante_);
    saisie_.exec();
    modifie_alarme(ctx_.repertoire, b, courante_);
    affecte_liste();
    liste->setCurrentRow(b);
}

void Talarme_horloge::supprimer1Click() {
    const std::int32_t c = compte_alarmes(ctx_.repertoire);
    const int b = liste->currentRow();
    if (c == 0 || b < 0 || b >= c)
        return;
    if (!ctx_.dialogues.confirme(this, QStringLiteral("Confirmation"),
                                 QStringLiteral("Désirez-vous supprimer cette alarme")))
        return;
    supprime_alarme(ctx_.repertoire, b, courante_, signale_dans(ctx_.dialogues, this, ctx_.titre));
    affecte_liste();
    if (liste->count() > 0)
        liste->setCurrentRow(0);
}

void Talarme_horloge::ok1Click() {
    accept();
}

} // namespace quorvel
