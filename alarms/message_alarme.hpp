#pragma once
// The little wooden board that shows the text of a due alarm, with its "OK".
#include "plateforme/base_dialogue.hpp"

#include <QPixmap>
#include <deque>
#include <string>

class QLabel;

namespace quorvel {

struct Contexte;
class Reglages;

class Tmessage_alarme : public TDialogue {
    Q_OBJECT
public:
    Tmessage_alarme(Contexte& ctx, const Reglages& reglages, QWidget* parent = nullptr);

    // The text shown at the next showing: Windows-1252, zero-terminated.
    char texte_message[201] = {};

    // Shows a due alarm's text (Windows-1252), under entete when there is one
    // (a late alarm, the alarms missed while closed). The window is modal but
    // does not block: the alarm clock keeps ticking. A text that comes while the
    // window is open waits and shows when the window is dismissed; no second
    // window. It opens on the desktop the user is on, above the other windows.
    void annonce(const std::string& texte, const QString& entete = {});
    std::size_t textes_en_attente() const { return attente_.size(); }

    void okClick();
    void done(int resultat) override;

    QLabel* const Label1;
    QLabel* const ok;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    // The board of the video mode and the text laid out, then the place.
    void FormShow() override;
    void montre(const std::string& texte, const QString& entete);
    // Label1's text broken into lines that fit its width, and the board as
    // tall as they need within the screen.
    void dispose();

    Contexte& ctx_;
    const Reglages& reglages_;
    QPixmap fond_;
    QString entete_;
    std::deque<std::pair<std::string, QString>> attente_;
};

// Label1's text: CR LF (or a lone CR or LF) starts a new line.
QString texte_affiche(const char* texte_message, std::size_t taille);

} // namespace quorvel
