#include "dialogues.hpp"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quorvel {

namespace {
QColor couleur_qt(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
std::uint32_t couleur_win(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
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

ChoixPolice DialoguesQt::choisit_police(QWidget* parent, const ChoixPolice& initiale) {
    QFont f(initiale.nom);
    if (initiale.taille > 0) f.setPointSize(initiale.taille);
    f.setBold(initiale.gras);
    f.setItalic(initiale.italique);
    f.setUnderline(initiale.souligne);
    f.setStrikeOut(initiale.barre);
    // The colour of the text is one of the effects the user picks with the font.
    QFontDialog dialogue(f, parent);
    dialogue.setWindowTitle(QStringLiteral("Police"));
    if (dialogue.exec() != QDialog::Accepted) return initiale;
    const QFont choisie = dialogue.selectedFont();
    ChoixPolice r;
    r.nom = choisie.family();
    r.taille = choisie.pointSize() > 0 ? choisie.pointSize() : initiale.taille;
    r.gras = choisie.bold();
    r.italique = choisie.italic();
    r.souligne = choisie.underline();
    r.barre = choisie.strikeOut();
    r.couleur = initiale.couleur;
    const QColor c = QColorDialog::getColor(couleur_qt(initiale.couleur), parent,
                                            QStringLiteral("Couleur de la police"),
                                            QColorDialog::DontUseNativeDialog);
    if (c.isValid()) r.couleur = couleur_win(c);
    return r;
}

std::uint32_t DialoguesQt::choisit_couleur(QWidget* parent, std::uint32_t initiale) {
    QColorDialog dialogue(couleur_qt(initiale), parent);
    dialogue.setOption(QColorDialog::DontUseNativeDialog);
    dialogue.setWindowTitle(QStringLiteral("Couleur"));
    // Basic colours only: hide the custom-colour part (the spectrum and its fields).
    for (QWidget* w : dialogue.findChildren<QWidget*>()) {
        const QByteArray classe = w->metaObject()->className();
        if (classe == "QtPrivate::QColorPicker" || classe == "QtPrivate::QColorLuminancePicker" ||
            classe == "QtPrivate::QColorShower" || classe == "QtPrivate::QColorShowLabel")
            w->hide();
    }
    for (QPushButton* b : dialogue.findChildren<QPushButton*>())
        if (b->text().contains(QLatin1String("Custom")) || b->text().contains(QLatin1String("personnal")))
            b->hide();
    if (dialogue.exec() != QDialog::Accepted) return initiale;
    return couleur_win(dialogue.selectedColor());
}

QString DialoguesQt::choisit_fichier(QWidget* parent, const QString& initial, const QString& filtre) {
    // "sons|*.wav" is one filter: a name and its pattern.
    QString filtre_qt = filtre;
    const qsizetype barre = filtre.indexOf(QLatin1Char('|'));
    if (barre >= 0) filtre_qt = filtre.left(barre) + QStringLiteral(" (") + filtre.mid(barre + 1) + QLatin1Char(')');
    const QString choisi = QFileDialog::getOpenFileName(parent, QStringLiteral("Ouvrir"), initial, filtre_qt);
    return choisi.isEmpty() ? initial : choisi;
}

void DialoguesQt::ouvre_aide(QWidget* parent, const QString& fichier, int sujet) {
    if (aide_) aide_(parent, fichier, sujet);
}

} // namespace quorvel
