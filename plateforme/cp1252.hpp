#pragma once
// Every text in a data file is single-byte Windows-1252. Model code keeps those
// bytes in std::string; windows convert at the edge, through these two calls.
#include <QString>
#include <string>
#include <string_view>

namespace quorvel {

QString depuis_cp1252(std::string_view octets);
// Characters that Windows-1252 cannot hold become '?'.
std::string vers_cp1252(const QString& texte);
// A CP1252 path field as a file-system path (UTF-8).
std::string chemin_depuis_cp1252(std::string_view octets);

} // namespace quorvel
