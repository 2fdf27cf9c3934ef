// The yardstick for start-up: a bare Qt Widgets program that shows one empty
// window of the main window's size and runs its event loop.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("nu"));
    fenetre.setFixedSize(411, 455);
    fenetre.show();
    return application.exec();
}
