#pragma once
// The day page as the main window shows it, without the window: the date
// shown, what its two files hold, whether each was read whole, and the rules
// for loading, saving and turning. A file that could not be read is written
// back only when the user changed what it holds, and only after its bytes were
// kept beside it.
#include "jour/fichiers_jour.hpp"
#include "plateforme/copie_illisible.hpp"

#include <chrono>
#include <optional>
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
    // the user changed (kept aside first). Nothing changed and nothing read: no
    // write. The save made by itself while typing writes the changed files only.
    void sauve(const SaisiePage& saisie, const SignaleCopie& signale, Ecrits& ecrits,
               bool changes_seuls = false);
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

// When the page in front saves itself: a second after the last change, two at
// the latest after the first change not yet saved, and never within two
// seconds of its last save. Times are milliseconds of the delay clock.
class RythmeSauvegarde {
public:
    static constexpr long long calme = 1000, retard_maximal = 2000, ecart_minimal = 2000;
    void change(long long t);
    // Saved (or tried) at t: what changed before is no longer waiting.
    void enregistree(long long t);
    // Milliseconds from t until the save is due (0: now); -1 when nothing waits.
    long long delai(long long t) const;

private:
    bool attente_ = false;
    long long premier_ = 0, dernier_ = 0;
    std::optional<long long> derniere_sauvegarde_;
};

} // namespace quorvel
