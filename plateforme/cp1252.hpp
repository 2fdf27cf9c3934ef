#pragma once
// Every text in a data file is single-byte Windows-1252. Model code keeps those
// bytes in std::string; windows convert at the edge, through these calls.
#include <QString>
#include <string>
#include <string_view>

namespace quorvel {

QString depuis_cp1252(std::string_view octets);
// A character Windows-1252 lacks becomes its nearest byte where French text has
// one (the narrow, thin and figure spaces a no-break space, the minus sign and
// the Unicode hyphens '-'); any other becomes '?'.
std::string vers_cp1252(const QString& texte);
// The text without the characters that have no byte 01..FF: what a text box takes in.
QString filtre_cp1252(const QString& texte);
// A text of several lines between a file and a text box: a file's CR LF, or a
// lone CR or LF, is one line break '\n' in the box, stored back as CR LF.
QString texte_pour_saisie(std::string_view octets);
std::string texte_pour_fichier(const QString& texte);
// A CP1252 path field as a file-system path (UTF-8).
std::string chemin_depuis_cp1252(std::string_view octets);

} // namespace quorvel
