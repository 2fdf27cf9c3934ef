#pragma once
// The pocket calculator of the desk: a 218 x 122 picture of the case, a black
// display strip and seventeen transparent key labels over the key faces.
// Mouse only; the arithmetic is MoteurCalcul.
#include "plateforme/dialogues.hpp"
#include "widgets/calcul_moteur.hpp"

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <memory>

namespace quorvel {

// A transparent key label: a click (press and release over it) sends its character.
// The caption is drawn bold at echelle times the font's size, its ink centred
// on the ball, over an edge in the palette's Shadow colour.
class ToucheCalcul : public QLabel {
    Q_OBJECT
public:
    ToucheCalcul(const QString& legende, char caractere, double echelle, QWidget* parent);
    char caractere() const { return caractere_; }

signals:
    void touche(char caractere);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    char caractere_;
    double echelle_;
    bool enfoncee_ = false;
};

class Tcalculette : public QWidget {
    Q_OBJECT
public:
    explicit Tcalculette(QWidget* parent = nullptr);
    ~Tcalculette() override;

    // Errors go to the application's error box with this title; until set,
    // a private Qt dialogue titled with the application's display name is used.
    void regle_rapport(Dialogues* dialogues, QString titre);

    void set_texture(const QPixmap& texture);
    QPixmap texture() const;
    int position_x() const { return position_x_; }
    int position_y() const { return position_y_; }
    void set_position_x(int x) { position_x_ = x; }
    void set_position_y(int y) { position_y_ = y; }

    // The key engine, as the key labels call it.
    void traite_touche(char k);

    QLabel* affichage() const { return affichage_; }
    ToucheCalcul* touche(const QString& legende) const;

protected:
    void changeEvent(QEvent* e) override;

private:
    void affiche_saisie();

    int position_x_ = 11;
    int position_y_ = 13;
    QLabel* image_;
    QLabel* affichage_;
    MoteurCalcul moteur_;
    Dialogues* dialogues_ = nullptr;
    std::unique_ptr<Dialogues> dialogues_defaut_;
    QString titre_;
};

} // namespace quorvel
