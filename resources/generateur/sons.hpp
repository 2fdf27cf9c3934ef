#pragma once
// The two sounds the program ships, synthesised as 16-bit mono PCM WAV.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::generateur {

constexpr int frequence_echantillonnage = 22050;

// A short rustle of paper, for page turns (about 0.4 s).
std::vector<std::int16_t> son_papier();
// A cuckoo's call, two falling notes (about 1 s): alarms and agenda bells.
std::vector<std::int16_t> son_coucou();

// The bytes of a RIFF/WAVE file holding the samples.
std::string fichier_wav(const std::vector<std::int16_t>& echantillons);

} // namespace quorvel::generateur
