// The floor for start-up: the least any program must do to show what Quorvel
// shows at start, with no pictures to decode, no files, no hidden windows and
// no logic. A splash with its two embossed lines, then one window of the main
// window's size with the day page's text in the page's fonts and controls.
// Compared with the bare program it tells how much of Quorvel's start-up is
// the cost of drawing text at all.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QWidget>

#include <fontconfig/fontconfig.h>
#include <thread>

namespace {

QFont police(const char* nom, int pixels, bool gras = false, bool italique = false) {
    QFont f(QString::fromLatin1(nom));
    f.setPixelSize(pixels);
    f.setBold(gras);
    f.setItalic(italique);
    return f;
}

QPixmap uni(int l, int h, QColor c) {
    QPixmap p(l, h);
    p.fill(c);
    return p;
}

QLabel* etiquette(QWidget* parent, const QRect& r, const QFont& f, const QString& texte) {
    auto* e = new QLabel(texte, parent);
    e->setGeometry(r);
    e->setFont(f);
    return e;
}

} // namespace

int main(int argc, char** argv) {
    // As Quorvel does: the font configuration is read on another core.
    std::thread polices([] { FcInit(); });
    QApplication application(argc, argv);
    polices.join();

    auto* splash = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    splash->setFixedSize(324, 200);
    auto* image = new QLabel(splash);
    image->setGeometry(0, 0, 324, 200);
    image->setPixmap(uni(324, 200, QColor(120, 20, 20)));
    etiquette(splash, {0, 104, 321, 63}, police("Times New Roman", 56, true, true),
              QStringLiteral("Quorvel"));
    etiquette(splash, {67, 172, 189, 24}, police("Times New Roman", 19, true, true),
              QStringLiteral("Chargement en cours ..."));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("plancher"));
    fenetre.setFixedSize(411, 455);
    fenetre.setFont(police("Arial", 13));
    auto* fond = new QLabel(&fenetre);
    fond->setGeometry(0, 0, 411, 455);
    fond->setPixmap(uni(411, 455, QColor(150, 30, 30)));
    auto* page = new QWidget(&fenetre);
    page->setGeometry(11, 147, 387, 278);
    auto* fond_page = new QLabel(page);
    fond_page->setGeometry(0, 0, 387, 278);
    fond_page->setPixmap(uni(387, 278, Qt::white));
    const QFont titre = police("Times New Roman", 13, true);
    etiquette(page, {22, 20, 80, 15}, titre, QStringLiteral("Décembre"));
    etiquette(page, {20, 40, 80, 15}, titre, QStringLiteral("2026"));
    etiquette(page, {20, 64, 60, 15}, titre, QStringLiteral("Dimanche"));
    etiquette(page, {110, 18, 51, 45}, police("Arial", 37, true), QStringLiteral("6"));
    etiquette(page, {96, 66, 69, 15}, police("Times New Roman", 11, false, true),
              QStringLiteral("St Nicolas"));
    etiquette(page, {104, 252, 60, 15}, police("Times New Roman", 9), QStringLiteral("Sem. 49"));
    auto* note = new QPlainTextEdit(page);
    note->setGeometry(18, 80, 149, 167);
    note->setFont(QFont(QStringLiteral("Times New Roman"), 8));
    note->setPlainText(QStringLiteral("Note du jour"));
    for (int k = 1; k <= 13; ++k) {
        const int y = 18 * (k - 1);
        etiquette(page, {218, 22 + y, 30, 14}, police("Arial", 11),
                  QStringLiteral("%1h00").arg(7 + k, 2, 10, QLatin1Char('0')));
        auto* ligne = new QLineEdit(QStringLiteral("Rendez-vous"), page);
        ligne->setGeometry(250, 23 + y, 111, 16);
        ligne->setFont(police("Arial", 9));
        ligne->setFrame(false);
    }
    const QFont bouton = police("Times New Roman", 13, true);
    etiquette(&fenetre, {22, 431, 129, 17}, bouton, QStringLiteral("Bloc-Notes"));
    etiquette(&fenetre, {176, 430, 129, 17}, bouton, QStringLiteral("Menu Général"));
    etiquette(&fenetre, {326, 430, 67, 17}, bouton, QStringLiteral("Quitter"));

    splash->hide();
    delete splash;
    fenetre.show();
    return application.exec();
}
