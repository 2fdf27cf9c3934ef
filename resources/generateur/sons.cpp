#include "sons.hpp"

#include <algorithm>
#include <cmath>

namespace quorvel::generateur {
namespace {

class Hasard {
public:
    explicit Hasard(std::uint32_t graine) : etat_(graine) {}
    double uniforme() { // [0, 1)
        etat_ = etat_ * 1664525u + 1013904223u;
        return (etat_ >> 8) / 16777216.0;
    }
    double bruit() { return uniforme() * 2 - 1; }

private:
    std::uint32_t etat_;
};

std::vector<std::int16_t> normalise(const std::vector<double>& s, double crete) {
    double max = 1e-9;
    for (double v : s)
        max = std::max(max, std::abs(v));
    std::vector<std::int16_t> sortie;
    sortie.reserve(s.size());
    for (double v : s)
        sortie.push_back(static_cast<std::int16_t>(std::lround(v / max * crete * 32767)));
    return sortie;
}

void ecrit_le(std::string& o, std::uint32_t v, int octets) {
    for (int i = 0; i < octets; ++i)
        o.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

} // namespace

std::vector<std::int16_t> son_papier() {
    const double duree = 0.42;
    const int n = static_cast<int>(duree * frequence_echantillonnage);
    std::vector<double> s(n, 0.0);
    Hasard h(1998);
    // A sweep of soft noise (the sheet sliding) ...
    double passe_bas = 0, passe_haut_entree = 0, passe_haut = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double enveloppe =
            std::pow(std::sin(M_PI * std::min(1.0, t * 1.15)), 2) * (0.6 + 0.4 * std::sin(t * 17));
        const double x = h.bruit();
        passe_bas += 0.35 * (x - passe_bas);
        passe_haut = 0.92 * (passe_haut + passe_bas - passe_haut_entree);
        passe_haut_entree = passe_bas;
        s[i] = passe_haut * enveloppe * 0.5;
    }
    // ... and the crackles of the paper bending.
    for (int k = 0; k < 46; ++k) {
        const int debut = static_cast<int>(h.uniforme() * (n - 600));
        const int longueur = 40 + static_cast<int>(h.uniforme() * 400);
        const double force = 0.3 + h.uniforme() * 0.9;
        double filtre = 0;
        for (int j = 0; j < longueur && debut + j < n; ++j) {
            filtre += 0.6 * (h.bruit() - filtre);
            s[debut + j] += filtre * force * std::exp(-5.0 * j / longueur);
        }
    }
    for (int i = 0; i < 200 && i < n; ++i)
        s[n - 1 - i] *= i / 200.0;
    return normalise(s, 0.7);
}

std::vector<std::int16_t> son_coucou() {
    const int n = frequence_echantillonnage; // one second
    std::vector<double> s(n, 0.0);
    Hasard h(404);
    struct Note {
        double debut, duree, depart, arrivee;
    };
    // A falling major third, the cuckoo's call.
    const Note notes[] = {{0.02, 0.30, 672, 655}, {0.40, 0.42, 540, 522}};
    for (const Note& note : notes) {
        double phase = 0;
        const int i0 = static_cast<int>(note.debut * frequence_echantillonnage);
        const int longueur = static_cast<int>(note.duree * frequence_echantillonnage);
        for (int j = 0; j < longueur && i0 + j < n; ++j) {
            const double t = static_cast<double>(j) / frequence_echantillonnage;
            const double u = static_cast<double>(j) / longueur;
            const double f = note.depart + (note.arrivee - note.depart) * std::min(1.0, u * 2.5) +
                             3.0 * std::sin(2 * M_PI * 5.5 * t);
            phase += 2 * M_PI * f / frequence_echantillonnage;
            const double attaque = std::min(1.0, t / 0.018);
            const double chute = std::exp(-2.6 * u) * (1.0 - std::pow(u, 6));
            const double souffle = h.bruit() * 0.03;
            s[i0 + j] += (std::sin(phase) + 0.22 * std::sin(2 * phase) +
                          0.07 * std::sin(3 * phase) + souffle) *
                         attaque * chute;
        }
    }
    // A little room: two soft echoes.
    std::vector<double> salle = s;
    for (int d : {1900, 3700})
        for (int i = d; i < n; ++i)
            salle[i] += s[i - d] * (d == 1900 ? 0.22 : 0.1);
    for (int i = 0; i < 400; ++i)
        salle[n - 1 - i] *= i / 400.0;
    return normalise(salle, 0.75);
}

std::string fichier_wav(const std::vector<std::int16_t>& echantillons) {
    const std::uint32_t donnees = static_cast<std::uint32_t>(echantillons.size() * 2);
    std::string o = "RIFF";
    ecrit_le(o, 36 + donnees, 4);
    o += "WAVEfmt ";
    ecrit_le(o, 16, 4);
    ecrit_le(o, 1, 2); // PCM
    ecrit_le(o, 1, 2); // mono
    ecrit_le(o, frequence_echantillonnage, 4);
    ecrit_le(o, frequence_echantillonnage * 2, 4);
    ecrit_le(o, 2, 2);
    ecrit_le(o, 16, 2);
    o += "data";
    ecrit_le(o, donnees, 4);
    for (std::int16_t e : echantillons)
        ecrit_le(o, static_cast<std::uint16_t>(e), 2);
    return o;
}

} // namespace quorvel::generateur
