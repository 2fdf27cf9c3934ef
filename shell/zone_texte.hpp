#pragma once
// A multi-line text box that refuses what would take its text beyond a number
// of characters, typed or pasted. A line break counts two, as the file stores
// it (CR LF). A longer text set by the program (an old file) is kept whole.
#include <QPlainTextEdit>

namespace quorvel {

class TZoneTexte : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TZoneTexte(int maximum, QWidget* parent = nullptr);
    int maximum() const { return maximum_; }
    // Length as stored: characters, a line break counting two.
    static int longueur_enregistree(const QString& texte);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    // Room left for an insertion that replaces the current selection.
    int place_libre() const;
    int maximum_;
};

} // namespace quorvel
