#include "zone_texte.hpp"

#include "plateforme/cp1252.hpp"
#include "plateforme/saisie_cp1252.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace quorvel {

TZoneTexte::TZoneTexte(int maximum, QWidget* parent) : QPlainTextEdit(parent), maximum_(maximum) {}

QString TZoneTexte::texte() const {
    return texte_brut(*document());
}

int TZoneTexte::longueur_enregistree(const QString& texte) {
    return static_cast<int>(texte.size() + texte.count(QLatin1Char('\n')));
}

int TZoneTexte::place_libre() const {
    const int selection = longueur_enregistree(textCursor().selection().toPlainText());
    return maximum_ - (longueur_enregistree(texte()) - selection);
}

QString TZoneTexte::admis(const QString& ajout) const {
    const QString texte = filtre_cp1252(ajout);
    int place = place_libre();
    qsizetype n = 0;
    for (; n < texte.size(); ++n) {
        place -= texte.at(n) == QLatin1Char('\n') ? 2 : 1;
        if (place < 0)
            break;
    }
    if (n < ajout.size())
        QApplication::beep();
    return texte.left(n);
}

void TZoneTexte::keyPressEvent(QKeyEvent* e) {
    QString ajout = e->text();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        ajout = QStringLiteral("\n");
    const bool insere =
        !ajout.isEmpty() &&
        (ajout.at(0).isPrint() || ajout == QLatin1String("\n") || ajout == QLatin1String("\t"));
    // Whatever the modifiers: AltGr is Ctrl+Alt on many keyboards, and shortcuts
    // (Ctrl+V, Ctrl+Z) carry no printable text.
    if (filtre_cp1252(ajout) != ajout || (insere && longueur_enregistree(ajout) > place_libre())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TZoneTexte::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    QString texte = source->text();
    texte.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    texte.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Only what can be stored and fits goes in; the rest of the paste is refused.
    const QString entre = admis(texte);
    if (!entre.isEmpty())
        insertPlainText(entre);
}

void TZoneTexte::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty())
        e->setCommitString(admis(e->commitString()));
    QPlainTextEdit::inputMethodEvent(e);
}

} // namespace quorvel
