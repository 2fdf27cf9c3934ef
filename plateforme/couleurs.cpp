#include "couleurs.hpp"

#include <QApplication>
#include <QPalette>

namespace quorvel {

QColor couleur_qt(std::uint32_t valeur) {
    if (valeur & 0x80000000u) {
        // The usual system colour numbers, taken from the desktop's palette.
        const QPalette p = QApplication::palette();
        switch (valeur & 0xFFu) {
        case 1:
            return p.color(QPalette::Window); // desktop
        case 5:
            return p.color(QPalette::Base); // window background
        case 8:
            return p.color(QPalette::Text); // window text
        case 13:
            return p.color(QPalette::Highlight);
        case 14:
            return p.color(QPalette::HighlightedText);
        case 15:
            return p.color(QPalette::Button); // button face
        case 16:
            return p.color(QPalette::Dark); // button shadow
        case 17:
            return p.color(QPalette::Disabled, QPalette::Text); // grey text
        case 18:
            return p.color(QPalette::ButtonText);
        case 20:
            return p.color(QPalette::Light); // button highlight
        default:
            return Qt::black;
        }
    }
    return QColor(valeur & 0xFF, (valeur >> 8) & 0xFF, (valeur >> 16) & 0xFF);
}

std::uint32_t couleur_fichier(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

} // namespace quorvel
