// The sound module is loaded by the first sound, and its absence only costs
// the sound: every play falls back to the desktop's beep.
#include "commun/repertoire_temp.hpp"
#include "plateforme/son_qt.hpp"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::RepertoireTemp;

namespace {

bool multimedia_chargee() {
    QFile cartes(QStringLiteral("/proc/self/maps"));
    return cartes.open(QIODevice::ReadOnly) && cartes.readAll().contains("libQt6Multimedia");
}

} // namespace

TEST(Son, LeModuleNestChargeQueParLePremierSonEtSonAbsenceNeCoupeQueLeSon) {
    const QString module = QStringLiteral(QUORVEL_MODULE_SON);
    RepertoireTemp vide;
    const QString dossier_vide = QString::fromStdString(vide.chemin());

    // Nothing of the sound system at start: the program does not link it.
    EXPECT_FALSE(multimedia_chargee());
    LecteurSonQt sans_module({dossier_vide});
    LecteurSonQt lecteur({dossier_vide, module});
    EXPECT_FALSE(lecteur.module_charge());
    EXPECT_FALSE(multimedia_chargee());

    // Without the module every sound is a beep, and asking again is harmless.
    sans_module.joue(vide.fichier("absent.wav"));
    sans_module.joue(vide.fichier("absent.wav"));
    EXPECT_FALSE(sans_module.module_charge());
    EXPECT_EQ(charge_module_son({dossier_vide}), nullptr);

    // A file of that name that is not a library is passed over.
    QFile faux(QDir(dossier_vide).filePath(QStringLiteral("libquorvel_son.so")));
    ASSERT_TRUE(faux.open(QIODevice::WriteOnly));
    faux.write("pas une bibliothèque");
    faux.close();
    EXPECT_EQ(charge_module_son({dossier_vide}), nullptr);

    // The next folder in the list has it: the first sound loads it.
    lecteur.joue(vide.fichier("absent.wav"));
    EXPECT_TRUE(lecteur.module_charge());
    EXPECT_TRUE(multimedia_chargee());
}
