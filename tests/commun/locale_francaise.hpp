#pragma once
// The C library's locale set to French for one scope, as QApplication sets it
// on our users' desktops (where "2,5" is written for 2.5); put back after.
#include <clocale>
#include <string>

namespace quorvel::test {

struct LocaleFrancaise {
    std::string avant = std::setlocale(LC_ALL, nullptr);
    bool active = std::setlocale(LC_ALL, "fr_FR.UTF-8") != nullptr;
    ~LocaleFrancaise() { std::setlocale(LC_ALL, avant.c_str()); }
};

} // namespace quorvel::test
