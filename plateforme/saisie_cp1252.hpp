#pragma once
// The text boxes' side of the codec: what they hold, read back unchanged, and
// what they refuse to take in.
#include <QString>

class QLineEdit;
class QTextDocument;

namespace quorvel {

// A text box's text as typed, line breaks as '\n'. QTextDocument::toPlainText()
// would turn every no-break space into a plain one.
QString texte_brut(const QTextDocument& document);
// The field then leaves out, with a beep, what is typed, pasted or dropped
// without a byte in the files, rather than storing it as '?'.
void refuse_hors_cp1252(QLineEdit& champ);

} // namespace quorvel
