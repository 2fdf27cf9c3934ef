// The real font and colour choosers, answered as a user would.
#include "commun/essai.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/repondeur.hpp"

#include <QColorDialog>
#include <QFontDialog>
#include <QListView>

using namespace quorvel;
using quorvel::test::Repondeur;

namespace quorvel {
void PrintTo(const ChoixPolice& p, std::ostream* os) {
    *os << p.nom.toStdString() << ' ' << p.taille << (p.gras ? " gras" : "")
        << (p.italique ? " italique" : "") << (p.souligne ? " souligné" : "")
        << (p.barre ? " barré" : "") << " couleur " << p.couleur;
}
} // namespace quorvel

static QFontDialog& police_de(QDialog& d) {
    return dynamic_cast<QFontDialog&>(d);
}

// Picks an entry in one of the font chooser's lists, as a click would:
// 0 the faces, 1 the styles, 2 the sizes.
static Repondeur::Reponse choisit(std::vector<std::pair<int, QString>> choix) {
    return [choix](QDialog& d) {
        const auto listes = d.findChildren<QListView*>();
        for (const auto& [liste, texte] : choix) {
            const auto trouves =
                listes.at(liste)->model()->match(listes.at(liste)->model()->index(0, 0),
                                                 Qt::DisplayRole, texte, 1, Qt::MatchExactly);
            EXPECT_EQ(trouves.size(), 1) << texte.toStdString();
            if (!trouves.isEmpty())
                listes.at(liste)->setCurrentIndex(trouves.first());
        }
        d.accept();
    };
}

static void confirme(QDialog& d) {
    d.accept();
}

// A stored face is drawn by its installed twin; the chooser lists only the
// twin, yet confirming it must not store the twin's name over the stored one.
TEST(ChoixPolice, LeNomEnregistreResteTantQuAucuneAutreFaceNEstChoisie) {
    // What, the stored font, the answer to the font chooser (its colour step is
    // confirmed), the face the chooser opens on when known, the font chosen.
    const ChoixPolice times{QStringLiteral("Times New Roman"), 8, false, false, false, false, 0};
    const ChoixPolice arial{QStringLiteral("Arial"), 12, true, true, false, false, 0x800000};
    const ChoixPolice inconnue{QStringLiteral("Comic été"), 9, false, false, false, false, 0};
    const ChoixPolice times_10{QStringLiteral("Times New Roman"), 10, true, false, false, false, 0};
    const ChoixPolice sans{QStringLiteral("Liberation Sans"), 8, false, false, false, false, 0};
    using Cas = std::tuple<const char*, ChoixPolice, Repondeur::Reponse, const char*, ChoixPolice>;
    const Cas cas[] = {
        {"confirmed", times, confirme, "Liberation Serif", times},
        {"bold italic, confirmed", arial, confirme, "Liberation Sans", arial},
        {"face not installed", inconnue, confirme, nullptr, inconnue},
        {"cancelled", times, [](QDialog& d) { d.reject(); }, "Liberation Serif", times},
        {"size and weight changed", times,
         choisit({{1, QStringLiteral("Bold")}, {2, QStringLiteral("10")}}), "Liberation Serif",
         times_10},
        {"another face chosen", times, choisit({{0, QStringLiteral("Liberation Sans")}}),
         "Liberation Serif", sans}};
    for (const auto& [quoi, initiale, reponse, face, attendue] : cas) {
        SCOPED_TRACE(quoi);
        QString ouverte;
        Repondeur r({[&, &reponse = reponse](QDialog& d) {
                         ouverte = police_de(d).currentFont().family();
                         reponse(d);
                     },
                     confirme});
        DialoguesQt dialogues;
        EXPECT_EQ(dialogues.choisit_police(nullptr, initiale), attendue);
        if (face) {
            EXPECT_EQ(ouverte.toStdString(), face);
        }
    }
}

// Both colour choosers, the configuration's and the font's colour step:
// clicking the first basic colour and OK gives that colour, as stored.
TEST(ChoixCouleur, SeulesLesCouleursDeBaseSontOffertes) {
    // What, how it opens, the rank of the colour chooser among the dialogs.
    const std::uint32_t initiale = 0x00123456;
    const std::tuple<const char*, std::function<std::uint32_t(Dialogues&)>, std::size_t> cas[] = {
        {"colour chooser", [&](Dialogues& d) { return d.choisit_couleur(nullptr, initiale); }, 0},
        {"font colour step",
         [&](Dialogues& d) {
             return d
                 .choisit_police(nullptr,
                                 {QStringLiteral("Arial"), 9, false, false, false, false, initiale})
                 .couleur;
         },
         1},
    };
    const QColor premiere = QColorDialog::standardColor(0);
    const std::uint32_t attendue = premiere.red() | premiere.green() << 8 | premiere.blue() << 16;
    ASSERT_NE(attendue, initiale);
    for (const auto& [quoi, ouvre, etape] : cas) {
        SCOPED_TRACE(quoi);
        std::vector<Repondeur::Reponse> reponses(etape, confirme);
        reponses.push_back([](QDialog& d) {
            QWidget* grille = nullptr;
            for (QWidget* w : d.findChildren<QWidget*>())
                if (w->isVisible() && w->metaObject()->indexOfProperty("selectedColumn") >= 0)
                    grille = w;
            ASSERT_NE(grille, nullptr);
            QTest::mouseClick(grille, Qt::LeftButton, {},
                              QPoint(grille->width() / 16, grille->height() / 12));
            d.accept();
        });
        Repondeur r(std::move(reponses));
        DialoguesQt dialogues;
        EXPECT_EQ(ouvre(dialogues), attendue);
        EXPECT_EQ(r.ouverts(), etape + 1);
    }
}
