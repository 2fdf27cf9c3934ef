#include "cp1252.hpp"

#include <array>

namespace quorvel {

namespace {
// 0x80..0x9F; 0 marks the five bytes that Windows-1252 leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> haut = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte that stores a character, -1 when none does.
int octet(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    if (u <= 0x9F)
        return haut[u - 0x80] == 0 ? static_cast<int>(u) : -1;
    for (std::size_t i = 0; i < haut.size(); ++i)
        if (haut[i] == u)
            return static_cast<int>(0x80 + i);
    // French keyboards and web pages give these; the nearest byte keeps their sense.
    if ((u >= 0x2000 && u <= 0x200A) || u == 0x202F || u == 0x205F)
        return 0xA0;
    if ((u >= 0x2010 && u <= 0x2012) || u == 0x2212)
        return '-';
    return -1;
}

// Each character of the text, a surrogate pair (an emoji) as one.
template <class F> void pour_chaque(const QString& texte, F&& f) {
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte.at(i + 1).isLowSurrogate())
            f(QChar::surrogateToUcs4(c, texte.at(++i)));
        else
            f(static_cast<char32_t>(c.unicode()));
    }
}

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
    pour_chaque(texte, [&](char32_t u) {
        const int o = octet(u);
        octets.push_back(o < 0 ? '?' : static_cast<char>(o));
    });
    return octets;
}

QString filtre_cp1252(const QString& texte) {
    QString admis;
    admis.reserve(texte.size());
    // A zero byte would end the text in the file.
    pour_chaque(texte, [&](char32_t u) {
        if (octet(u) > 0)
            admis.append(QChar(static_cast<char16_t>(u)));
    });
    return admis;
}

QString texte_pour_saisie(std::string_view octets) {
    QString texte = depuis_cp1252(octets);
    texte.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    texte.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texte;
}

std::string texte_pour_fichier(const QString& texte) {
    QString t = texte;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return vers_cp1252(t);
}

std::string chemin_depuis_cp1252(std::string_view octets) {
    return depuis_cp1252(octets).toStdString();
}

} // namespace quorvel
