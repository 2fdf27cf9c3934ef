#pragma once
// The about box's animated logo: thirteen 100 x 100 frames "l1" .. "l13" shown
// in turn every 100 ms while running. Its owner starts and stops it.
#include <QLabel>

class QTimer;

namespace quorvel {

class TLOGO : public QLabel {
    Q_OBJECT
public:
    explicit TLOGO(QWidget* parent = nullptr);

    // The animation resumes with the frame after the one shown last.
    void demarre_logo();
    // The picture keeps the frame shown last.
    void arrete_logo();
    // One step: the next frame, l13 being followed by l1.
    void anime_logo();

    // Number of the frame shown last, 0 after a full cycle or before the first step.
    int compteur() const { return compteur_; }
    bool anime() const;
    QTimer* minuterie() const { return minuterie_; }

protected:
    // The first frame is decoded when the logo is first shown, not when it is made.
    void showEvent(QShowEvent* e) override;

private:
    QTimer* minuterie_;
    int compteur_ = 0;
};

} // namespace quorvel
