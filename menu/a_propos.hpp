#pragma once
// The about box: a borderless picture centred on the screen with the animated
// logo and the program's name in embossed letters. Any click closes it.
#include "plateforme/base_dialogue.hpp"

class QFrame;
class QLabel;

namespace quorvel {

struct Contexte;
class TLOGO;
class TLabel3D;

class Ta_propos : public TDialogue {
    Q_OBJECT
public:
    explicit Ta_propos(Contexte& ctx, QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Image1;
    TLOGO* LOGO1;
    TLabel3D* logiciel;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormShow() override;
    Contexte& ctx_;
};

// The application title without its version: QUORVEL_TITRE gives "Quorvel".
// A title of 6 characters or fewer gives an empty name.
QString nom_logiciel(const std::string& titre);

} // namespace quorvel
