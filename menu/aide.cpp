#include "menu/aide.hpp"

#include "plateforme/ecran.hpp"
#include "plateforme/erreurs.hpp"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvel {

namespace {
QPointer<Taide>& viewer() {
    static QPointer<Taide> v;
    return v;
}
} // namespace

Taide::Taide(QWidget* parent) : QDialog(parent), texte_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide"));
    resize(520, 600);
    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(texte_);
    texte_->setOpenLinks(true);
    texte_->setOpenExternalLinks(false);
}

void Taide::affiche(const QString& fichier, int sujet) {
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly))
        throw ErreurQuorvel(
            QStringLiteral("Impossible d'ouvrir le fichier d'aide %1").arg(fichier).toStdString());
    f.close();
    // Reload every time: the file may have changed since the last showing.
    texte_->clearHistory();
    texte_->setSource(QUrl(), QTextDocument::HtmlResource);
    QUrl adresse = QUrl::fromLocalFile(fichier);
    adresse.setFragment(QStringLiteral("sujet%1").arg(sujet));
    texte_->setSource(adresse, QTextDocument::HtmlResource);
}

Taide* Taide::courante() {
    return viewer().data();
}

void ouvre_aide(QWidget* parent, const QString& fichier, int sujet) {
    QPointer<Taide>& v = viewer();
    if (!v) {
        // Parentless, so that it outlives the window that asked first; it is
        // application-modal so that it can be read above an open modal dialog.
        v = new Taide(nullptr);
        v->setAttribute(Qt::WA_DeleteOnClose, false);
        v->setWindowModality(Qt::ApplicationModal);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, v.data(), &QObject::deleteLater);
    }
    v->affiche(fichier, sujet);
    if (parent && !v->isVisible()) {
        // Beside the window that asked, but all of it on the screen.
        const QRect r = parent->window()->frameGeometry();
        place(*v, r.topLeft() + QPoint(20, 20));
    }
    v->show();
    v->raise();
    v->activateWindow();
}

} // namespace quorvel
