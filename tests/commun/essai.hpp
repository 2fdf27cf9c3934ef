#pragma once
// What every test file takes in: GoogleTest, QTest and the widgets the tests
// drive, the standard library they use, and the shared test helpers.
#include "calendar/contexte.hpp"
#include "commun/dialogues_test.hpp"
#include "commun/locale_francaise.hpp"
#include "commun/repertoire_temp.hpp"
#include "plateforme/erreurs.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace quorvel::test {

// Every byte 01..FF, upwards then downwards, in pieces of `n`.
inline std::vector<std::string> tous_les_octets(std::size_t n) {
    std::string montants;
    for (int i = 1; i < 256; ++i)
        montants += static_cast<char>(i);
    std::vector<std::string> morceaux;
    for (const std::string& octets : {montants, std::string(montants.rbegin(), montants.rend())})
        for (std::size_t debut = 0; debut < octets.size(); debut += n)
            morceaux.push_back(octets.substr(debut, n));
    return morceaux;
}

} // namespace quorvel::test
