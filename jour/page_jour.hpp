#pragma once
// The day page as the main window shows it, without the window: the date
// shown, what its two files hold, whether each was read whole, and the rules
// for loading, saving and turning. A file that could not be read is written
// back only when the user changed what it holds, and only after its bytes were
// kept beside it.
#include "jour/fichiers_jour.hpp"
#include "plateforme/copie_illisible.hpp"

#include <chrono>
#include <string>

namespace quorvel {

// What the page's boxes hold at a save, and whether the user changed them
// since the last load or save (Windows-1252 texts).
struct SaisiePage {
    std::string note;
    bool note_modifiee = false;
    std::array<std::string, nombre_creneaux> lignes;
    bool agenda_modifie = false;
};

class PageJour {
public:
    explicit PageJour(std::string repertoire);

    Jour date() const { return date_; }
    // 1 = Sunday ... 7 = Saturday.
    int jour_semaine() const;
    // Shows another date; its files are read by charge().
    void montre(Jour date) { date_ = date; }
    // The day after (pas = 1) or before (pas = -1).
    void tourne(int pas);

    // Empties the page, then reads each file of the date shown on its own: one
    // that cannot be read leaves the other, and the first failure is thrown
    // once both were tried.
    void charge();
    // Which files a save has written so far: a failure half-way leaves the
    // other box's changes marked as unsaved.
    struct Ecrits {
        bool note = false, agenda = false;
    };
    // Writes what the boxes hold into each file that was read whole, or that
    // the user changed (kept aside first). Nothing changed and nothing read: no write.
    void sauve(const SaisiePage& saisie, const SignaleCopie& signale, Ecrits& ecrits);
    // Turns the bell of slot k on or off, in the file first: after a failed
    // write the page and the file still agree.
    void bascule_cloche(int k, const SignaleCopie& signale);

    const std::string& note() const { return note_; }
    const EnregistrementAgenda& agenda() const { return agenda_; }
    // Both files of the date shown read whole (or kept aside since).
    bool lue() const { return note_lue_ && agenda_lu_; }
    bool agenda_lu() const { return agenda_lu_; }
    std::string chemin_note() const;
    std::string chemin_agenda() const;

private:
    std::string repertoire_;
    Jour date_{};
    std::string note_;
    EnregistrementAgenda agenda_;
    bool note_lue_ = false;
    bool agenda_lu_ = false;
};

} // namespace quorvel
