#pragma once
// The program's help viewer: the help file is HTML (UTF-8) with one anchor
// "sujet<N>" per topic. One viewer window is kept and reused.
#include <QDialog>
#include <QString>

class QTextBrowser;

namespace quorvel {

// Shows the help file at the topic. A missing or unreadable file throws
// ErreurQuorvel with a French message, for the caller's guard to report.
void ouvre_aide(QWidget* parent, const QString& fichier, int sujet);

class Taide : public QDialog {
    Q_OBJECT
public:
    explicit Taide(QWidget* parent = nullptr);
    void affiche(const QString& fichier, int sujet);
    QTextBrowser* texte() const { return texte_; }
    // The viewer kept by ouvre_aide, or nullptr before the first help.
    static Taide* courante();

private:
    QTextBrowser* texte_;
};

} // namespace quorvel
