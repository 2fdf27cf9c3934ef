#pragma once
// The splash shown while the windows are made: the title in large embossed
// letters and "Chargement en cours ...".
#include <QWidget>

class QLabel;

namespace quorvel {

class TLabel3D;

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(const QString& titre, QWidget* parent = nullptr);
    QLabel* Image1;
    TLabel3D* logiciel;
    TLabel3D* Label3D2;

protected:
    void showEvent(QShowEvent* e) override; // FormShow

private:
    QString titre_;
};

} // namespace quorvel
