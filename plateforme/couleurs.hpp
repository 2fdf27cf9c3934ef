#pragma once
// Colours as the files keep them: 0x00BBGGRR, or the top bit set and the number
// of one of the desktop's system colours in the low bits.
#include <QColor>
#include <cstdint>

namespace quorvel {

QColor couleur_qt(std::uint32_t valeur);
std::uint32_t couleur_fichier(const QColor& c);

} // namespace quorvel
