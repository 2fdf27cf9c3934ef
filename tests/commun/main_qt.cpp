// Test entry: one QApplication (offscreen unless told otherwise) for the whole run.
#include "commun/repertoire_temp.hpp"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's own rescue folder.
    quorvel::test::RepertoireTemp etat;
    ::setenv("XDG_STATE_HOME", etat.chemin().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
