#pragma once
// The about box: a borderless picture centred on the screen with the animated
// logo and the program's name in embossed letters. Any click closes it.
#include "plateforme/ecran.hpp"

#include <QDialog>

class QFrame;
class QLabel;

namespace quorvel {

struct Contexte;
class TLOGO;
class TLabel3D;

class Ta_propos : public QDialog {
    Q_OBJECT
public:
    explicit Ta_propos(Contexte& ctx, QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Image1;
    TLOGO* LOGO1;
    TLabel3D* logiciel;

protected:
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void FormShow();
    Contexte& ctx_;
    Ouverture ouverture_;
};

// The application title without its version: "Quorvel V2.32" gives "Quorvel".
// A title of 6 characters or fewer gives an empty name.
QString nom_logiciel(const std::string& titre);

} // namespace quorvel
