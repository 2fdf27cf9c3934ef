#include "cp1252.hpp"

#include <array>

namespace quorvel {

namespace {
// 0x80..0x9F; 0 marks the five bytes that Windows-1252 leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> haut = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString depuis_cp1252(std::string_view octets) {
    QString texte;
    texte.reserve(static_cast<qsizetype>(octets.size()));
    for (unsigned char c : octets) {
        if (c >= 0x80 && c <= 0x9F && haut[c - 0x80] != 0)
            texte.append(QChar(haut[c - 0x80]));
        else
            texte.append(QChar(static_cast<char16_t>(c)));
    }
    return texte;
}

std::string vers_cp1252(const QString& texte) {
    std::string octets;
    octets.reserve(static_cast<std::size_t>(texte.size()));
    for (QChar q : texte) {
        const char16_t u = q.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u <= 0x9F && haut[u - 0x80] == 0)) {
            octets.push_back(static_cast<char>(u));
            continue;
        }
        char c = '?';
        for (std::size_t i = 0; i < haut.size(); ++i)
            if (haut[i] != 0 && haut[i] == u) c = static_cast<char>(0x80 + i);
        octets.push_back(c);
    }
    return octets;
}

std::string chemin_depuis_cp1252(std::string_view octets) {
    return depuis_cp1252(octets).toStdString();
}

} // namespace quorvel
