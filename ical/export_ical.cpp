#include "export_ical.hpp"

#include "alarms/alarme.hpp"
#include "calendar/utilitaires.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/erreurs.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/version.hpp"

#include <cstring>
#include <filesystem>
#include <map>

namespace quorvel::ical {

namespace {

using namespace std::chrono;

bool chiffres(const std::string& s, std::size_t debut, int& valeur) {
    if (s.size() < debut + 2 || s[debut] < '0' || s[debut] > '9' || s[debut + 1] < '0' ||
        s[debut + 1] > '9')
        return false;
    valeur = (s[debut] - '0') * 10 + (s[debut + 1] - '0');
    return true;
}

struct FichiersDuJour {
    bool agenda = false, note = false;
};

// The day files of the folder, by date. A name of the form whose date does not
// exist is left out and told.
std::map<sys_days, FichiersDuJour> fichiers_de_jour(const std::string& dossier, int annee_courante,
                                                    BilanExport& bilan) {
    std::map<sys_days, FichiersDuJour> jours;
    std::error_code erreur;
    for (std::filesystem::directory_iterator it(dossier, erreur), fin; it != fin;
         it.increment(erreur)) {
        const std::string nom = it->path().filename().string();
        int j = 0, m = 0, a = 0;
        if (nom.size() != 12 || nom[2] != '_' || nom[5] != '_' || nom[8] != '.' ||
            !chiffres(nom, 0, j) || !chiffres(nom, 3, m) || !chiffres(nom, 6, a))
            continue;
        const std::string extension = nom.substr(9);
        if (extension != "ENG" && extension != "PAD")
            continue;
        const Jour jour = jour_du(j, m, annee_du_fichier(a, annee_courante));
        if (!jour.ok()) {
            bilan.laisses.push_back(guillemets(nom) + ", cette date n'existe pas");
            continue;
        }
        (extension == "ENG" ? jours[sys_days{jour}].agenda : jours[sys_days{jour}].note) = true;
    }
    if (erreur)
        throw ErreurES(code_depuis_errno(erreur.value()));
    return jours;
}

std::string premiere_ligne(const std::string& texte) {
    return texte.substr(0, texte.find('\n'));
}

class Calendrier {
public:
    Calendrier() : racine_(icalcomponent_new_vcalendar()) {
        icalcomponent_add_property(racine_.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(racine_.get(),
                                   icalproperty_new_prodid("-//Quorvel//" QUORVEL_TITRE "//FR"));
        horodatage_ = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    }

    icalcomponent* ajoute(icalcomponent_kind genre, const std::string& uid,
                          const std::string& resume) {
        icalcomponent* c = icalcomponent_new(genre);
        icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(c, icalproperty_new_dtstamp(horodatage_));
        icalcomponent_add_property(c, icalproperty_new_summary(resume.c_str()));
        icalcomponent_add_component(racine_.get(), c);
        return c;
    }

    std::string texte() const {
        char* t = icalcomponent_as_ical_string_r(racine_.get());
        std::string s = t ? t : "";
        std::free(t);
        return s;
    }

private:
    Composant racine_;
    icaltimetype horodatage_;
};

void exporte_agenda(Calendrier& cal, const std::string& chemin, Jour j, BilanExport& bilan) {
    const std::string octets = lit_tout(chemin);
    if (octets.size() < taille_agenda) {
        bilan.laisses.push_back(guillemets(std::filesystem::path(chemin).filename().string()) +
                                ", fichier d'agenda trop court");
        return;
    }
    EnregistrementAgenda a;
    std::memcpy(a.octets.data(), octets.data(), taille_agenda);
    for (int k = 1; k <= nombre_creneaux; ++k) {
        if (a.texte(k).empty())
            continue;
        const int heure = heure_creneau(k);
        const std::string texte = utf8_depuis_fichier(a.texte(k));
        icalcomponent* ev = cal.ajoute(ICAL_VEVENT_COMPONENT, uid_agenda(j, heure), texte);
        icalcomponent_add_property(ev, icalproperty_new_dtstart(moment_ical(j, heure, 0)));
        icalcomponent_add_property(ev, icalproperty_new_dtend(moment_ical(j, heure + 1, 0)));
        ++bilan.lignes;
        if (a.cloche(k)) {
            ajoute_rappel(ev, texte);
            ++bilan.cloches;
        }
    }
}

icalcomponent* ajoute_note(Calendrier& cal, const std::string& uid, const std::string& resume,
                           const std::string& texte) {
    icalcomponent* note = cal.ajoute(ICAL_VJOURNAL_COMPONENT, uid, resume);
    icalcomponent_add_property(note, icalproperty_new_description(texte.c_str()));
    return note;
}

// The alarm, or why it is left out.
std::string exporte_alarme(Calendrier& cal, const EnregistrementAlarme& r, int numero,
                           Jour aujourdhui) {
    const std::string heure = r.heure();
    if (!heure_valide(heure))
        return "heure illisible";
    const int h = std::stoi(heure.substr(0, 2));
    const int m = std::stoi(heure.substr(3, 2));
    Jour debut = aujourdhui;
    icalrecurrencetype regle;
    icalrecurrencetype_clear(&regle);
    if (r.repete()) {
        const int f = r.frequence();
        if (f < 0 || f > 7)
            return "répétition illisible";
        if (f == tous_les_jours) {
            regle.freq = ICAL_DAILY_RECURRENCE;
        } else {
            // frequence counts weekdays from Sunday = 1.
            const weekday jour_voulu{static_cast<unsigned>(f - 1)};
            debut = Jour{sys_days{aujourdhui} + (jour_voulu - weekday{sys_days{aujourdhui}})};
            regle.freq = ICAL_WEEKLY_RECURRENCE;
            constexpr icalrecurrencetype_weekday jours[] = {
                ICAL_SUNDAY_WEEKDAY,    ICAL_MONDAY_WEEKDAY,   ICAL_TUESDAY_WEEKDAY,
                ICAL_WEDNESDAY_WEEKDAY, ICAL_THURSDAY_WEEKDAY, ICAL_FRIDAY_WEEKDAY,
                ICAL_SATURDAY_WEEKDAY};
            regle.by_day[0] = static_cast<short>(jours[f - 1]);
            regle.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
    } else {
        const std::string date = r.date();
        if (!date_valide(date))
            return "date illisible";
        debut = jour_du_texte(date);
    }
    const std::string texte = utf8_depuis_fichier(r.texte());
    const std::string resume = texte.empty() ? "Alarme" : premiere_ligne(texte);
    icalcomponent* ev = cal.ajoute(ICAL_VEVENT_COMPONENT, uid_alarme(numero), resume);
    icalcomponent_add_property(ev, icalproperty_new_dtstart(moment_ical(debut, h, m)));
    if (regle.freq != ICAL_NO_RECURRENCE)
        icalcomponent_add_property(ev, icalproperty_new_rrule(regle));
    if (resume != texte && !texte.empty())
        icalcomponent_add_property(ev, icalproperty_new_description(texte.c_str()));
    ajoute_rappel(ev, resume);
    return {};
}

void exporte_alarmes(Calendrier& cal, const std::string& dossier, Jour aujourdhui,
                     BilanExport& bilan) {
    const std::string chemin = dossier + nom_fichier_alarme;
    if (!fichier_existe(chemin))
        return;
    const std::string octets = lit_tout(chemin);
    for (std::size_t n = 0; n + taille_alarme <= octets.size(); n += taille_alarme) {
        EnregistrementAlarme r;
        std::memcpy(r.octets.data(), octets.data() + n, taille_alarme);
        const int numero = static_cast<int>(n / taille_alarme) + 1;
        const std::string pourquoi = exporte_alarme(cal, r, numero, aujourdhui);
        if (pourquoi.empty())
            ++bilan.alarmes;
        else
            bilan.laisses.push_back("alarme n°\u00a0" + std::to_string(numero) + " " +
                                    guillemets(apercu(utf8_depuis_fichier(r.texte()))) + ", " +
                                    pourquoi);
    }
}

// A file that cannot be read is told and left out; the others still go.
template <class F> void sans_bloquer(const std::string& nom, BilanExport& bilan, F&& f) {
    try {
        f();
    } catch (const ErreurES& e) {
        bilan.laisses.push_back(guillemets(nom) + " illisible (" + e.message() + ")");
    }
}

} // namespace

std::string uid_agenda(Jour j, int heure) {
    return "agenda-" + nombre_zeros(annee_de(j), 4) + "-" + nombre_zeros(mois_de(j), 2) + "-" +
           nombre_zeros(jour_de(j), 2) + "-" + texte_heure(heure, 0) + "@quorvel";
}

std::string uid_note(Jour j) {
    return "note-" + nombre_zeros(annee_de(j), 4) + "-" + nombre_zeros(mois_de(j), 2) + "-" +
           nombre_zeros(jour_de(j), 2) + "@quorvel";
}

std::string uid_alarme(int numero) {
    return "alarme-" + std::to_string(numero) + "@quorvel";
}

bool est_uid_alarme(const char* uid) {
    if (!uid)
        return false;
    const std::string u = uid;
    const std::string debut = "alarme-", fin = "@quorvel";
    return u.size() > debut.size() + fin.size() && u.starts_with(debut) && u.ends_with(fin) &&
           u.find_first_not_of("0123456789", debut.size()) == u.size() - fin.size();
}

std::string calendrier_ical(const std::string& dossier, Jour aujourdhui, BilanExport& bilan) {
    Calendrier cal;
    for (const auto& [date, fichiers] : fichiers_de_jour(dossier, annee_de(aujourdhui), bilan)) {
        const Jour j{date};
        if (fichiers.agenda) {
            const std::string nom = fichier_agenda_jour(j);
            sans_bloquer(nom, bilan, [&] { exporte_agenda(cal, dossier + nom, j, bilan); });
        }
        if (fichiers.note) {
            const std::string nom = fichier_note_jour(j);
            sans_bloquer(nom, bilan, [&] {
                const std::string texte = utf8_depuis_fichier(texte_de_note(dossier + nom));
                if (texte.empty())
                    return;
                icalcomponent* note = ajoute_note(cal, uid_note(j), premiere_ligne(texte), texte);
                icalcomponent_add_property(note, icalproperty_new_dtstart(date_ical(j)));
                ++bilan.notes;
            });
        }
    }
    if (fichier_existe(dossier + fichier_bloc_note))
        sans_bloquer(fichier_bloc_note, bilan, [&] {
            const std::string texte =
                utf8_depuis_fichier(texte_de_note(dossier + fichier_bloc_note));
            if (texte.empty())
                return;
            ajoute_note(cal, uid_bloc_notes, "Bloc-Notes", texte);
            bilan.bloc_notes = true;
        });
    sans_bloquer(nom_fichier_alarme, bilan,
                 [&] { exporte_alarmes(cal, dossier, aujourdhui, bilan); });
    return cal.texte();
}

int exporte_ical(const std::string& dossier, const std::string& fichier, std::ostream& sortie,
                 std::ostream& erreurs, const Horloge& horloge) {
    BilanExport bilan;
    std::string texte;
    try {
        texte = calendrier_ical(dossier_donnees(dossier), date_de(horloge.maintenant()), bilan);
    } catch (const ErreurES& e) {
        erreurs << "Impossible de lire le dossier de données " << guillemets(dossier)
                << "\u00a0: " << e.message() << ".\n";
        return 1;
    }
    try {
        remplace_atomiquement(fichier, texte);
    } catch (const ErreurES& e) {
        erreurs << "Impossible d'écrire " << guillemets(fichier) << "\u00a0: " << e.message()
                << ".\n";
        return 1;
    }
    for (const std::string& l : bilan.laisses)
        sortie << "Laissé de côté\u00a0: " << l << ".\n";
    std::vector<std::string> parties;
    std::string lignes = nombre_de(bilan.lignes, "ligne d'agenda", "lignes d'agenda");
    if (bilan.cloches > 0)
        lignes += " (dont " + std::to_string(bilan.cloches) + " avec cloche)";
    parties.push_back(lignes);
    parties.push_back(nombre_de(bilan.notes, "note du jour", "notes du jour"));
    if (bilan.bloc_notes)
        parties.push_back("le bloc-notes");
    parties.push_back(nombre_de(bilan.alarmes, "alarme", "alarmes"));
    sortie << "Exporté dans " << guillemets(fichier) << "\u00a0: ";
    for (std::size_t i = 0; i < parties.size(); ++i)
        sortie << (i == 0 ? "" : i + 1 == parties.size() ? " et " : ", ") << parties[i];
    sortie << ".\n";
    return 0;
}

} // namespace quorvel::ical
