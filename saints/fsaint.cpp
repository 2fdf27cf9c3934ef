#include "saints/fsaint.hpp"

#include "calendar/contexte.hpp"
#include "plateforme/copie_illisible.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/ressources.hpp"
#include "plateforme/saisie_cp1252.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace quorvel {

namespace {
constexpr int largeur = 246;
constexpr int hauteur = 319;
constexpr int sujet_aide = 6;
constexpr qsizetype longueur_nom = 29;
constexpr int hauteur_ligne = 16;
} // namespace

std::string ligne_saint(const EnregistrementSaint& s) {
    return s.date().substr(0, 5) + " - " + s.nom();
}

Tsaints::Tsaints(Contexte& ctx, const Reglages& reglages, EnregistrementSaint& tampon,
                 QWidget* parent)
    : TDialogue({ctx.dialogues, ctx.titre, ctx.fichier_aide}, sujet_aide, {}, parent,
                boutons_dialogue),
      ctx_(ctx), reglages_(reglages), tampon_(tampon) {
    setWindowTitle(QStringLiteral("SAINT A FETER"));
    setFixedSize(largeur, hauteur);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(6, 8, 235, 43);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    affiche_mois = new QLabel(Panel1);
    affiche_mois->setGeometry(Panel1->contentsRect());
    affiche_mois->setAlignment(Qt::AlignCenter);
    const QFont lettres = police(QStringLiteral("Times New Roman"), 37, true);
    affiche_mois->setFont(lettres);
    QPalette rouge = affiche_mois->palette();
    rouge.setColor(QPalette::WindowText, Qt::red);
    affiche_mois->setPalette(rouge);

    champ = new QLineEdit(this);
    champ->setGeometry(6, 56, 235, 24);
    refuse_hors_cp1252(*champ);

    liste = new QListWidget(this);
    liste->setGeometry(6, 84, 235, 179);
    liste->setUniformItemSizes(true);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->installEventFilter(this);

    auto bouton = [this](int gauche, int haut, int l, const QString& bulle) {
        auto* b = new QPushButton(this);
        b->setGeometry(gauche, haut, l, 47);
        b->setToolTip(bulle);
        b->setAutoDefault(false);
        return b;
    };
    moins1 = bouton(6, 268, 73, QStringLiteral("Mois précédent"));
    plus1 = bouton(82, 268, 73, QStringLiteral("Mois suivant"));
    ok1 = bouton(159, 267, 82, QStringLiteral("Sortir"));
    ok1->setText(QStringLiteral("OK"));

    connect(moins1, &QPushButton::clicked, this, [this] { gere([this] { moins1Click(); }); });
    connect(plus1, &QPushButton::clicked, this, [this] { gere([this] { plus1Click(); }); });
    connect(ok1, &QPushButton::clicked, this, [this] { gere([this] { ok1Click(); }); });
    // A line chosen with the mouse or the keyboard; the blocked selections made by
    // the dialog itself do not come here.
    connect(liste, &QListWidget::currentRowChanged, this,
            [this] { gere([this] { deplacement(); }); });
    connect(liste, &QListWidget::itemClicked, this, [this] { gere([this] { deplacement(); }); });
    connect(liste, &QListWidget::itemDoubleClicked, this,
            [this] { gere([this] { deplacement(); }); });
}

bool Tsaints::eventFilter(QObject* objet, QEvent* evenement) {
    // A character typed into the list stores the pending edit first.
    if (objet == liste && evenement->type() == QEvent::KeyPress) {
        const QString texte = static_cast<QKeyEvent*>(evenement)->text();
        if (!texte.isEmpty() && texte.at(0).isPrint())
            gere([this] { deplacement(); });
    }
    return QDialog::eventFilter(objet, evenement);
}

void Tsaints::FormActivate() {
    const int video = reglages_.video();
    if (video == 1 || video == 2) {
        const QString suffixe = QString::number(video);
        const auto pose = [](QPushButton* b, const QPixmap& image) {
            b->setIcon(QIcon(image));
            if (!image.isNull())
                b->setIconSize(image.deviceIndependentSize().toSize());
        };
        pose(moins1, image_ressource(QStringLiteral("fleche_g") + suffixe));
        pose(plus1, image_ressource(QStringLiteral("fleche_d") + suffixe));
        pose(ok1, image_ressource(QStringLiteral("coche") + suffixe));
    }
    // Every showing starts again at January, whatever the page shows.
    mois_affiche_ = 1;
    index_saint_ = 0;
    saisie_libre_ = true;
    montre_mois();
}

void Tsaints::montre_mois() {
    affiche_mois->setText(depuis_cp1252(nom_mois(mois_affiche_)));
    affecte_liste();
    selectionne(0);
}

void Tsaints::selectionne(int ligne) {
    const QSignalBlocker blocage(liste);
    liste->setCurrentRow(ligne);
}

void Tsaints::plus1Click() {
    // A name typed and not yet stored is stored first, as a change of line does.
    deplacement();
    mois_affiche_ = mois_affiche_ == 12 ? 1 : mois_affiche_ + 1;
    montre_mois();
}

void Tsaints::moins1Click() {
    deplacement();
    mois_affiche_ = mois_affiche_ == 1 ? 12 : mois_affiche_ - 1;
    montre_mois();
}

void Tsaints::affecte_liste() {
    {
        const QSignalBlocker blocage(liste);
        liste->clear();
    }
    // Until the month is read, the field names no record: what it showed of
    // another month can never be stored into this one.
    mois_lu_ = false;
    index_saint_ = -1;
    champ->setText(QString());
    FichierEnregistrements f = ouvre_saints(ctx_.repertoire, mois_affiche_);
    const std::int64_t nombre = f.nombre();
    for (std::int64_t n = 0; n < nombre; ++n) {
        lit_saint(f, n, tampon_);
        auto* item = new QListWidgetItem(depuis_cp1252(ligne_saint(tampon_)));
        item->setSizeHint(QSize(0, hauteur_ligne));
        const QSignalBlocker blocage(liste);
        liste->addItem(item);
    }
    ferme_saints(f);
    mois_lu_ = true;
    affecte_champ(0);
    liste->setFocus();
}

void Tsaints::affecte_champ(int n) {
    FichierEnregistrements f = ouvre_saints(ctx_.repertoire, mois_affiche_);
    // An empty or cut file has no record n: the field stays empty rather than failing.
    if (n >= 0 && n < f.nombre()) {
        lit_saint(f, n, tampon_);
        champ->setText(depuis_cp1252(tampon_.nom()));
    } else {
        champ->clear();
    }
    ferme_saints(f);
    index_saint_ = n;
}

void Tsaints::deplacement() {
    if (!saisie_libre_)
        return;
    // Set again at the end, also when a file error abandons the step.
    const Verrou verrou(saisie_libre_);
    const int a = liste->currentRow();
    if (a < 0)
        return;
    // Nothing is stored from a field that names no record, nor, in a month that
    // could not be listed whole, from one the user did not type in.
    if (index_saint_ >= 0 && index_saint_ < liste->count() && (mois_lu_ || champ->isModified()))
        stocke_champ(a);
    affecte_champ(a);
}

void Tsaints::stocke_champ(int a) {
    FichierEnregistrements f = ouvre_saints(ctx_.repertoire, mois_affiche_);
    lit_saint(f, index_saint_, tampon_);
    ferme_saints(f);

    // Compared whole, so that merely selecting a line never rewrites a record,
    // even one whose stored name is longer than what the field may store.
    const QString texte = champ->text();
    if (vers_cp1252(texte) == tampon_.nom())
        return;
    if (!mois_lu_) {
        garde_illisible(ctx_.chemin(nom_fichier_saints(mois_affiche_)),
                        signale_dans(ctx_.dialogues, this, ctx_.titre));
        mois_lu_ = true;
    }
    tampon_.regle_nom(vers_cp1252(texte.left(longueur_nom)));
    liste->item(index_saint_)->setText(depuis_cp1252(ligne_saint(tampon_)));
    FichierEnregistrements g = ouvre_saints(ctx_.repertoire, mois_affiche_);
    ecrit_saint(g, index_saint_, tampon_);
    ferme_saints(g);
    selectionne(a);
}

void Tsaints::ok1Click() {
    deplacement();
    accept();
}

void Tsaints::reject() {
    // Escape and the close box keep the name being typed too; a file error is
    // told and the dialog closes all the same.
    gere([this] { deplacement(); });
    QDialog::reject();
}

} // namespace quorvel
