#pragma once
// What every window of the program shares for the whole run: the services of
// the platform, the data directory, the title, the help file, the main window
// rectangle and today's date. Made once by the program entry (or by a test).
#include "calendar/dates.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/dialogues.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/notifications.hpp"
#include "plateforme/rectangle_fenetre.hpp"
#include "plateforme/secours.hpp"
#include "plateforme/son.hpp"
#include "plateforme/version.hpp"

#include <string>

namespace quorvel {

// The file a sound path as a file stores it (Windows-1252) plays. A relative
// path names a file of the data directory, and so does the last component of a
// path written by the Windows version or of one that names no file here when
// the data directory holds that name: a data folder copied to another machine
// or user keeps its sounds without its records being rewritten.
inline std::string chemin_du_son(const std::string& cp1252, const std::string& repertoire) {
    std::string p = chemin_depuis_cp1252(cp1252);
    if (const std::size_t barre = p.find_last_of('\\'); barre != std::string::npos)
        p.erase(0, barre + 1);
    if (p.empty())
        return p;
    if (p.front() != '/')
        return repertoire + p;
    const std::string nom = p.substr(p.find_last_of('/') + 1);
    if (!fichier_existe(p) && !nom.empty() && fichier_existe(repertoire + nom))
        return repertoire + nom;
    return p;
}

struct Contexte {
    Contexte(const Horloge& h, LecteurSon& s, Dialogues& d, std::string rep)
        : horloge(h), son(s), dialogues(d), repertoire(std::move(rep)), dates(h) {
        if (repertoire.empty() || repertoire.back() != '/')
            repertoire += '/';
        fichier_aide = repertoire + "DOC.HLP";
    }
    const Horloge& horloge;
    LecteurSon& son;
    Dialogues& dialogues;
    std::string repertoire; // data directory, ending with '/'
    std::string titre = QUORVEL_TITRE;
    std::string fichier_aide;
    std::string secours = dossier_secours(); // where a page that cannot be saved is kept
    RectangleFenetre rect_main;
    ServiceDates dates;
    // The reminders shown are also notified here; none: the board alone.
    Notificateur* notificateur = nullptr;

    std::string chemin(const std::string& nom) const { return repertoire + nom; }
    // The file a stored sound path plays (see chemin_du_son).
    std::string chemin_son(const std::string& cp1252) const {
        return chemin_du_son(cp1252, repertoire);
    }
};

} // namespace quorvel
