#pragma once
// Balloon hints: every tooltip of the application is shown as a cartoon
// balloon pointing at the mouse, with a dotted shadow over the screen behind.
// TBulHint holds the settings and watches the application's events; TNewHint
// is the balloon window.
#include "widgets/bulle_placement.hpp"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace quorvel {

class TBulHint;

// The application's hint pause in milliseconds: how long the mouse must rest on
// a control before its balloon shows.
int pause_bulles_application();
void regle_pause_bulles_application(int ms);

// Texts beyond this are cut.
constexpr int longueur_max_bulle = 255;

// The settings a balloon is drawn with.
struct ApparenceBulle {
    QColor couleur;
    QColor couleur_ombre;
    QFont police;
    QColor couleur_police;
};

// Size of the hint rectangle for a text: text size + (6, 2), wrapped at `largeur_max`.
QSize taille_rect_bulle(const QFont& police, const QString& texte, int largeur_max);
// The balloon painted over `capture` (the screen under the window, W x H).
QImage compose_bulle(const QImage& capture, THintDirection d, const QString& texte,
                     const ApparenceBulle& apparence);

class TNewHint : public QWidget {
    Q_OBJECT
public:
    explicit TNewHint(const TBulHint& reglages);

    // Shows `texte` for `controle`, the pointer tip on the global point `pointeur`.
    void active_bulle(const QString& texte, QPoint pointeur, QWidget* controle);
    THintDirection direction() const { return direction_; }
    const QString& texte() const { return texte_; }
    // The composed balloon as shown (null before the first paint).
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    const TBulHint& reglages_;
    THintDirection direction_ = hdUpRight;
    QString texte_;
    QImage capture_; // released once composed
    QImage image_;   // kept while the balloon shows, for repaints
};

class TBulHint : public QObject {
    Q_OBJECT
public:
    using SelectionDirection = std::function<void(QWidget* controle, THintDirection& direction)>;

    // Owned by the main window; from now on every tooltip shows as a balloon.
    explicit TBulHint(QWidget* fenetre_principale);
    ~TBulHint() override;

    THintDirection HintDirection() const { return direction_; }
    void setHintDirection(THintDirection d) { direction_ = d; }
    QColor HintColor() const { return couleur_; }
    QColor HintShadowColor() const { return couleur_ombre_; }
    void setHintShadowColor(const QColor& c) { couleur_ombre_ = c; }
    QFont HintFont() const { return police_; }
    void setHintFont(const QFont& f) { police_ = f; }
    // A font's colour is not part of QFont; it is kept beside it.
    QColor HintFontColor() const { return couleur_police_; }
    void setHintFontColor(const QColor& c) { couleur_police_ = c; }
    int HintPauseTime() const { return pause_; }
    // Writes the application's hint pause only when the value changes.
    void setHintPauseTime(int ms);
    const SelectionDirection& OnSelectHintDirection() const { return selection_; }
    void setOnSelectHintDirection(SelectionDirection f) { selection_ = std::move(f); }

    ApparenceBulle apparence() const;
    // The direction to try first for a control: HintDirection, or the handler's
    // answer for this one hint.
    THintDirection direction_pour(QWidget* controle) const;

    TNewHint* fenetre_bulle() const { return bulle_.get(); }
    // Shows the balloon of `controle` at once (what the pause timer does).
    void montre_bulle(QWidget* controle, QPoint pointeur);
    void cache_bulle();

    static constexpr int duree_affichage_ms = 2500;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void souris_bouge(QWidget* recepteur, QPoint global);
    void fin_pause();
    QWidget* porteur_bulle(QWidget* w) const;

    THintDirection direction_ = hdUpRight;
    QColor couleur_{255, 255, 0};
    QColor couleur_ombre_{128, 0, 128};
    QFont police_;
    QColor couleur_police_{0, 0, 255};
    int pause_ = 600;
    SelectionDirection selection_;

    std::unique_ptr<TNewHint> bulle_;
    QTimer minuterie_pause_;
    QTimer minuterie_affichage_;
    QPoint pointeur_;
    QPointer<QWidget> sous_souris_; // the deepest widget under the pointer
    QPointer<QWidget> porteur_;     // the control whose balloon shows
    QPointer<QWidget> bloque_;      // no balloon again until the mouse leaves it
};

} // namespace quorvel
