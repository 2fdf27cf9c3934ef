#pragma once
// A data folder as a user leaves it on Monday 7 December 2026, written by the
// program's own record routines. Texts are given in UTF-8 and stored in
// Windows-1252, as the page stores what is typed.
#include <string>
#include <vector>

namespace quorvel::test {

struct LigneEssai {
    int jour, mois, annee, heure;
    std::string texte;
    bool cloche;
};
struct NoteEssai {
    int jour, mois, annee;
    std::string texte; // line breaks CR LF, as the files hold them
};
struct AlarmeEssai {
    std::string heure, texte, date;
    bool repete;
    int frequence;
};

const std::vector<LigneEssai>& lignes_essai();
const std::vector<NoteEssai>& notes_essai();
const std::string& bloc_notes_essai();
const std::vector<AlarmeEssai>& alarmes_essai();

// Writes them all, plus what has nothing to export: a bell on an empty line,
// an empty day note, a day file of a date that does not exist, an alarm whose
// time cannot be read.
void remplit_dossier(const std::string& dossier);

} // namespace quorvel::test
