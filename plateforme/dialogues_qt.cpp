#include "dialogues.hpp"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <optional>

namespace quorvel {

namespace {
QColor couleur_qt(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
std::uint32_t couleur_win(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

// Qt's own choosers speak French through Qt's translation, loaded by the
// first chooser opened rather than at every start.
void traduit_qt() {
    static bool fait = false;
    if (fait)
        return;
    fait = true;
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (traduction->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
    else
        delete traduction;
}

// Without that translation, "Annuler" at least.
void annuler_en_francais(QDialog& dialogue) {
    if (auto* boutons = dialogue.findChild<QDialogButtonBox*>())
        if (QPushButton* annuler = boutons->button(QDialogButtonBox::Cancel))
            annuler->setText(QStringLiteral("Annuler"));
}

// The parts of QColorDialog are private classes whose names change between Qt
// versions, so what stays is named and the rest hidden: the basic colours (the
// first child with a grid's selectedColumn property; the custom colours' grid
// comes after it), their caption and OK / Annuler. The spectrum, the fields,
// the screen picker and the custom colours go.
void garde_couleurs_de_base(QColorDialog& dialogue) {
    QWidget* base = nullptr;
    for (QObject* o : dialogue.children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->metaObject()->indexOfProperty("selectedColumn") >= 0) {
            base = w;
            break;
        }
    }
    // A dialog made otherwise is left whole: better more colours than none.
    if (!base)
        return;
    for (QObject* o : dialogue.children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == base || qobject_cast<QDialogButtonBox*>(w))
            continue;
        if (auto* legende = qobject_cast<QLabel*>(w); legende && legende->buddy() == base) {
            legende->setText(QStringLiteral("Couleurs de &base"));
            continue;
        }
        w->hide();
    }
}

// The colour chooser of the configuration and of the font effects; an empty
// optional when cancelled.
std::optional<QColor> choisit_couleur_de_base(QWidget* parent, const QColor& initiale,
                                              const QString& titre) {
    traduit_qt();
    QColorDialog dialogue(initiale, parent);
    dialogue.setOption(QColorDialog::DontUseNativeDialog);
    dialogue.setWindowTitle(titre);
    garde_couleurs_de_base(dialogue);
    annuler_en_francais(dialogue);
    if (dialogue.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogue.selectedColor();
}
} // namespace

void DialoguesQt::erreur(QWidget* parent, const QString& titre, const QString& texte) {
    QMessageBox boite(QMessageBox::Critical, titre, texte, QMessageBox::NoButton, parent);
    boite.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    boite.exec();
}

bool DialoguesQt::confirme(QWidget* parent, const QString& titre, const QString& texte) {
    QMessageBox boite(QMessageBox::Question, titre, texte, QMessageBox::NoButton, parent);
    QPushButton* ok = boite.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    boite.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    boite.setDefaultButton(ok);
    boite.exec();
    return boite.clickedButton() == ok;
}

std::optional<QString> DialoguesQt::demande_mot_de_passe(QWidget* parent, const QString& titre,
                                                         const QString& invite) {
    QInputDialog boite(parent);
    boite.setWindowTitle(titre);
    boite.setLabelText(invite);
    boite.setTextEchoMode(QLineEdit::Password);
    boite.setOkButtonText(QStringLiteral("OK"));
    boite.setCancelButtonText(QStringLiteral("Annuler"));
    if (boite.exec() != QDialog::Accepted || boite.textValue().isEmpty())
        return std::nullopt;
    return boite.textValue();
}

ChoixPolice DialoguesQt::choisit_police(QWidget* parent, const ChoixPolice& initiale) {
    QFont f(initiale.nom);
    if (initiale.taille > 0)
        f.setPointSize(initiale.taille);
    f.setBold(initiale.gras);
    f.setItalic(initiale.italique);
    f.setUnderline(initiale.souligne);
    f.setStrikeOut(initiale.barre);
    // A stored "Times New Roman" is drawn by its twin, Liberation Serif, and
    // only the twin is in the chooser's list: open on the face really drawn,
    // and keep the stored name as long as the user picks no other face. The
    // style goes by its name too, or a face whose regular style is called
    // "Book" would open on its first style, "Oblique".
    const QFontInfo dessin(f);
    const QString dessinee = dessin.family();
    f.setFamily(dessinee);
    f.setStyleName(dessin.styleName());
    traduit_qt();
    QFontDialog dialogue(f, parent);
    dialogue.setWindowTitle(QStringLiteral("Police"));
    annuler_en_francais(dialogue);
    if (dialogue.exec() != QDialog::Accepted)
        return initiale;
    const QFont choisie = dialogue.selectedFont();
    ChoixPolice r;
    r.nom = choisie.family() == dessinee ? initiale.nom : choisie.family();
    r.taille = choisie.pointSize() > 0 ? choisie.pointSize() : initiale.taille;
    r.gras = choisie.bold();
    r.italique = choisie.italic();
    r.souligne = choisie.underline();
    r.barre = choisie.strikeOut();
    // The colour of the text is one of the effects the user picks with the font.
    r.couleur = initiale.couleur;
    if (const auto c = choisit_couleur_de_base(parent, couleur_qt(initiale.couleur),
                                               QStringLiteral("Couleur de la police")))
        r.couleur = couleur_win(*c);
    return r;
}

std::uint32_t DialoguesQt::choisit_couleur(QWidget* parent, std::uint32_t initiale) {
    const auto c = choisit_couleur_de_base(parent, couleur_qt(initiale), QStringLiteral("Couleur"));
    return c ? couleur_win(*c) : initiale;
}

QString DialoguesQt::choisit_fichier(QWidget* parent, const QString& initial,
                                     const QString& filtre) {
    // "sons|*.wav" is one filter: a name and its pattern.
    QString filtre_qt = filtre;
    const qsizetype barre = filtre.indexOf(QLatin1Char('|'));
    if (barre >= 0)
        filtre_qt =
            filtre.left(barre) + QStringLiteral(" (") + filtre.mid(barre + 1) + QLatin1Char(')');
    traduit_qt();
    const QString choisi =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Ouvrir"), initial, filtre_qt);
    return choisi.isEmpty() ? initial : choisi;
}

void DialoguesQt::ouvre_aide(QWidget* parent, const QString& fichier, int sujet) {
    if (aide_)
        aide_(parent, fichier, sujet);
}

} // namespace quorvel
