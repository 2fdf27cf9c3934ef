#pragma once
// A multi-line text box that refuses what would take its text beyond a number
// of characters, typed or pasted. A line break counts two, as the file stores
// it (CR LF). A longer text set by the program (an old file) is kept whole.
// Characters without a Windows-1252 byte are refused too, with a beep.
#include <QPlainTextEdit>

namespace quorvel {

class TZoneTexte : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TZoneTexte(int maximum, QWidget* parent = nullptr);
    int maximum() const { return maximum_; }
    // The text as typed, every character kept, line breaks as '\n'.
    QString texte() const;
    // Length as stored: characters, a line break counting two.
    static int longueur_enregistree(const QString& texte);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    // Room left for an insertion that replaces the current selection.
    int place_libre() const;
    // What of an insertion goes in: the characters the file can store, as many as fit.
    QString admis(const QString& ajout) const;
    int maximum_;
};

} // namespace quorvel
