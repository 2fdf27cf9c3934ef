#include "zone_texte.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace quorvel {

TZoneTexte::TZoneTexte(int maximum, QWidget* parent) : QPlainTextEdit(parent), maximum_(maximum) {}

int TZoneTexte::longueur_enregistree(const QString& texte) {
    return static_cast<int>(texte.size() + texte.count(QLatin1Char('\n')));
}

int TZoneTexte::place_libre() const {
    const int selection = longueur_enregistree(textCursor().selection().toPlainText());
    return maximum_ - (longueur_enregistree(toPlainText()) - selection);
}

void TZoneTexte::keyPressEvent(QKeyEvent* e) {
    QString ajout = e->text();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) ajout = QStringLiteral("\n");
    const bool insere = !ajout.isEmpty() && (ajout.at(0).isPrint() || ajout == QLatin1String("\n") ||
                                             ajout == QLatin1String("\t"));
    if (insere && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        longueur_enregistree(ajout) > place_libre()) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TZoneTexte::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) return;
    QString texte = source->text();
    texte.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Only what fits goes in; the rest of the paste is refused.
    int place = place_libre();
    QString admis;
    for (QChar c : texte) {
        const int n = c == QLatin1Char('\n') ? 2 : 1;
        if (n > place) break;
        admis.append(c);
        place -= n;
    }
    if (admis.size() < texte.size()) QApplication::beep();
    if (!admis.isEmpty()) insertPlainText(admis);
}

void TZoneTexte::inputMethodEvent(QInputMethodEvent* e) {
    if (longueur_enregistree(e->commitString()) > place_libre()) {
        QApplication::beep();
        e->setCommitString(QString());
    }
    QPlainTextEdit::inputMethodEvent(e);
}

} // namespace quorvel
