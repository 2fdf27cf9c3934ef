#include "page_jour.hpp"

#include <algorithm>
#include <exception>

namespace quorvel {

using namespace std::chrono;

PageJour::PageJour(std::string repertoire) : repertoire_(std::move(repertoire)) {
    if (repertoire_.empty() || repertoire_.back() != '/')
        repertoire_ += '/';
}

int PageJour::jour_semaine() const {
    return static_cast<int>(weekday{sys_days{date_}}.c_encoding()) + 1;
}

void PageJour::tourne(int pas) {
    date_ = plus_jours(date_, pas);
}

std::string PageJour::chemin_note() const {
    return repertoire_ + fichier_note_jour(date_);
}

std::string PageJour::chemin_agenda() const {
    return repertoire_ + fichier_agenda_jour(date_);
}

void PageJour::charge() {
    // Emptied first: a load that fails never leaves another date's texts where
    // the next save would write them into this date's files.
    note_lue_ = agenda_lu_ = false;
    note_.clear();
    vide_agenda(agenda_);
    std::exception_ptr panne;
    try {
        note_ = charge_texte(chemin_note());
        note_lue_ = true;
    } catch (...) {
        panne = std::current_exception();
    }
    try {
        EnregistrementAgenda lu;
        auto fichier = ouvre_agenda(repertoire_, date_, lu);
        lit_agenda(fichier, lu);
        fichier.ferme();
        agenda_ = lu;
        agenda_lu_ = true;
    } catch (...) {
        if (!panne)
            panne = std::current_exception();
    }
    if (panne)
        std::rethrow_exception(panne);
}

void PageJour::sauve(const SaisiePage& saisie, const SignaleCopie& signale, Ecrits& ecrits,
                     bool changes_seuls) {
    const bool sauve_note =
        (!changes_seuls || saisie.note_modifiee) &&
        ecriture_permise(note_lue_, saisie.note_modifiee, chemin_note(), signale);
    const bool sauve_agenda =
        (!changes_seuls || saisie.agenda_modifie) &&
        ecriture_permise(agenda_lu_, saisie.agenda_modifie, chemin_agenda(), signale);
    if (sauve_note) {
        sauve_texte(chemin_note(), saisie.note);
        note_ = saisie.note;
        ecrits.note = true;
    }
    if (sauve_agenda) {
        auto fichier = ouvre_agenda(repertoire_, date_, agenda_);
        for (int k = 1; k <= nombre_creneaux; ++k)
            agenda_.regle_texte(k, saisie.lignes[k - 1]);
        ecrit_agenda(fichier, agenda_);
        fichier.ferme();
        ecrits.agenda = true;
    }
}

void PageJour::bascule_cloche(int k, const SignaleCopie& signale) {
    ecriture_permise(agenda_lu_, true, chemin_agenda(), signale);
    EnregistrementAgenda agenda = agenda_;
    agenda.regle_cloche(k, !agenda.cloche(k));
    auto fichier = ouvre_agenda(repertoire_, date_, agenda);
    ecrit_agenda(fichier, agenda);
    // Written: the bell shows even if closing the file then fails.
    agenda_ = agenda;
    fichier.ferme();
}

void RythmeSauvegarde::change(long long t) {
    if (!attente_)
        premier_ = t;
    attente_ = true;
    dernier_ = t;
}

void RythmeSauvegarde::enregistree(long long t) {
    attente_ = false;
    derniere_sauvegarde_ = t;
}

long long RythmeSauvegarde::delai(long long t) const {
    if (!attente_)
        return -1;
    long long echeance = std::min(dernier_ + calme, premier_ + retard_maximal);
    if (derniere_sauvegarde_)
        echeance = std::max(echeance, *derniere_sauvegarde_ + ecart_minimal);
    return std::max(0LL, echeance - t);
}

} // namespace quorvel
