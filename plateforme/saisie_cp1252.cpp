#include "saisie_cp1252.hpp"

#include "cp1252.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QTextDocument>
#include <QValidator>

namespace quorvel {

namespace {
// Edits that would bring in a character without a byte lose it, with a beep.
class ValidateurCp1252 : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texte, int& position) const override {
        const QString admis = filtre_cp1252(texte);
        if (admis.size() != texte.size()) {
            position = static_cast<int>(filtre_cp1252(texte.left(position)).size());
            texte = admis;
            QApplication::beep();
        }
        return Acceptable;
    }
};
} // namespace

QString texte_brut(const QTextDocument& document) {
    QString texte = document.toRawText();
    for (QChar& c : texte)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return texte;
}

void refuse_hors_cp1252(QLineEdit& champ) {
    champ.setValidator(new ValidateurCp1252(&champ));
}

} // namespace quorvel
