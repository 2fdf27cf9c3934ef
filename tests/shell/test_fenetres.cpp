// Every window as the window system treats it: only the program's own opening
// loads and places a window, none can be maximised, all lie on the screen.
#include "banc.hpp"

#include <QScreen>
#include <QShowEvent>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct Fenetres : ::testing::Test, Banc {
    Fenetres() : Banc(2026, 12, 7, 9) {
        EnregistrementAlarme a;
        alarme_par_defaut(a, p.etat.ctx);
        ajoute_alarme(rep.chemin(), a);
        ajoute_alarme(rep.chemin(), a);
        alarme_par_defaut(p.etat.alarme_courante, p.etat.ctx);
    }
    Programme p = lance();
};

// A window, what the user changes in it once it is open, and whether the
// change still shows.
struct Fenetre {
    const char* nom;
    std::function<QWidget&(Programme&)> ouvre;
    std::function<void(Programme&)> change;
    std::function<bool(Programme&)> garde;
};

template <class T> std::function<QWidget&(Programme&)> montre(T* (Programme::*fenetre)()) {
    return [fenetre](Programme& p) -> QWidget& {
        T* f = (p.*fenetre)();
        f->show();
        return *f;
    };
}

const Fenetre fenetres[] = {
    {"saisie de l'alarme", montre(&Programme::saisie_alarme),
     [](Programme& p) {
         Tsaisie_alarme& s = *p.saisie_alarme();
         s.champ2->setPlainText(QStringLiteral("Arroser"));
         s.champ3->setChecked(true);
         s.champ6->click();
         s.champ5->setCurrentIndex(3);
     },
     [](Programme& p) {
         const Tsaisie_alarme& s = *p.saisie_alarme();
         return s.champ2->toPlainText() == QStringLiteral("Arroser") && s.champ3->isChecked() &&
                s.champ6->isChecked() && s.champ5->currentIndex() == 3;
     }},
    {"liste des alarmes", montre(&Programme::alarme_horloge),
     [](Programme& p) { p.alarme_horloge()->liste->setCurrentRow(1); },
     [](Programme& p) { return p.alarme_horloge()->liste->currentRow() == 1; }},
    {"configuration", montre(&Programme::configuration),
     [](Programme& p) { p.configuration()->cv2->setChecked(true); },
     [](Programme& p) { return p.configuration()->cv2->isChecked(); }},
    {"saints", montre(&Programme::saints),
     [](Programme& p) {
         p.saints()->plus1Click();
         p.saints()->champ->setText(QStringLiteral("Nouveau"));
     },
     [](Programme& p) {
         return p.saints()->mois_affiche() == 2 &&
                p.saints()->champ->text() == QStringLiteral("Nouveau");
     }},
    {"menu général", montre(&Programme::menu_general),
     [](Programme& p) { p.etat.reglages.regle_video(3); },
     [](Programme& p) { return p.menu_general()->fond1->isVisible(); }},
    {"à propos", montre(&Programme::a_propos),
     [](Programme& p) { p.etat.ctx.titre = "Autre V1.00"; },
     [](Programme& p) { return p.a_propos()->logiciel->text() == QStringLiteral("Quorvel"); }},
    {"message d'alarme", montre(&Programme::message_alarme),
     [](Programme& p) { std::strcpy(p.message_alarme()->texte_message, "Caf\xE9"); },
     [](Programme& p) { return p.message_alarme()->Label1->text().isEmpty(); }},
};

// Minimised and restored (the window system's own hide and show), then shown
// again without a close: what the user typed stays, and so does a window the
// user moved. A close and a new opening reload it.
TEST_F(Fenetres, SeulLOuvertureDuProgrammeChargeEtPlace) {
    for (const Fenetre& f : fenetres) {
        SCOPED_TRACE(f.nom);
        QWidget& w = f.ouvre(p);
        ASSERT_TRUE(w.isVisible());
        f.change(p);
        const QPoint deplacee = w.pos() + QPoint(11, 7);
        w.move(deplacee);
        w.setWindowState(Qt::WindowMinimized);
        w.setWindowState(Qt::WindowNoState);
        QShowEvent encore;
        QApplication::sendEvent(&w, &encore);
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(f.garde(p));
        EXPECT_EQ(w.pos(), deplacee);
        w.hide();
        f.ouvre(p);
        EXPECT_FALSE(f.garde(p)) << "a new opening reloads";
        w.hide();
    }
}

// With the main window pushed into a corner of the screen, each window still
// opens whole on the screen; the help beside the menu too.
TEST_F(Fenetres, ToutesSOuvrentSurLEcranMemePresDuBord) {
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    rep.ecrit("DOC.HLP", "<a name=\"sujet1\"></a>Aide");
    const auto menu = [&](Programme& q) -> QWidget& {
        QTimer::singleShot(0, [&q] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                ouvre_aide(m, QString::fromStdString(q.etat.ctx.fichier_aide), 1);
                static_cast<QDialog*>(m)->reject();
            }
        });
        q.form1->menuClick();
        return *q.menu_general();
    };
    const std::function<QWidget&(Programme&)> ouvertures[] = {
        montre(&Programme::saisie_alarme), montre(&Programme::alarme_horloge),
        montre(&Programme::configuration), montre(&Programme::message_alarme), menu};
    const QPoint coins[] = {ecran.bottomRight() - QPoint(100, 60),
                            ecran.topLeft() - QPoint(300, 200)};
    for (const QPoint& coin : coins) {
        p.form1->move(coin);
        p.form1->show();
        for (const auto& ouvre : ouvertures) {
            p.form1->position_main();
            QWidget& w = ouvre(p);
            EXPECT_TRUE(ecran.contains(w.frameGeometry()))
                << w.metaObject()->className() << " " << coin.x();
            w.hide();
        }
        ASSERT_NE(Taide::courante(), nullptr);
        EXPECT_TRUE(ecran.contains(Taide::courante()->frameGeometry()));
        Taide::courante()->hide();
    }
}

} // namespace
