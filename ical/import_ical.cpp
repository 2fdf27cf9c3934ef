#include "import_ical.hpp"

#include "ical/export_ical.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/fichier.hpp"

#include <QByteArrayView>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

namespace quorvel::ical {

namespace {

using namespace std::chrono;

// A safety net for rules that would give dates without end before the window.
constexpr int iterations_max = 200000;

class DossierOuvert : public ErreurQuorvel {
public:
    using ErreurQuorvel::ErreurQuorvel;
};

class EcritureInterrompue : public ErreurQuorvel {
public:
    using ErreurQuorvel::ErreurQuorvel;
};

// A date and time on the local wall clock; heure -1 for a whole day.
struct Moment {
    Jour jour;
    int heure = -1;
    int minute = 0;
    auto operator<=>(const Moment&) const = default;
};

// libical takes a 14th month or a 25th hour as it is written.
bool lisible(const Moment& m) {
    return m.jour.ok() && m.heure >= -1 && m.heure <= 23 && m.minute >= 0 && m.minute <= 59;
}

Moment moment_local(const icaltimetype& t) {
    if (t.is_date)
        return {jour_du(t.day, t.month, t.year)};
    if (!t.zone)
        return {jour_du(t.day, t.month, t.year), t.hour, t.minute};
    const std::time_t instant = icaltime_as_timet_with_zone(t, t.zone);
    std::tm l{};
    localtime_r(&instant, &l);
    return {jour_du(l.tm_mday, l.tm_mon + 1, l.tm_year + 1900), l.tm_hour, l.tm_min};
}

// The time of a date property, in the zone its TZID names: the calendar's own
// VTIMEZONE, else the system's zone of that name; floating when neither is known.
icaltimetype temps(icalproperty* p, icalcomponent* c) {
    icaltimetype t = icalproperty_get_datetime_with_component(p, c);
    if (!t.zone && !t.is_date)
        if (icalparameter* z = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
            if (icaltimezone* zone = icaltimezone_get_builtin_timezone(icalparameter_get_tzid(z)))
                t = icaltime_set_timezone(&t, zone);
    return t;
}

// The first and the last line that are not blank, in capitals.
std::pair<std::string, std::string> lignes_extremes(const std::string& texte) {
    const std::size_t debut = texte.find_first_not_of(" \t\r\n");
    if (debut == std::string::npos)
        return {};
    const std::size_t fin = texte.find_last_not_of(" \t\r\n") + 1;
    const std::size_t fin_premiere = std::min(texte.find_first_of("\r\n", debut), fin);
    const std::size_t avant_derniere = texte.find_last_of("\r\n", fin - 1);
    const std::size_t debut_derniere = avant_derniere == std::string::npos ? 0 : avant_derniere + 1;
    auto majuscules = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    return {majuscules(texte.substr(debut, fin_premiere - debut)),
            majuscules(texte.substr(debut_derniere, fin - debut_derniere))};
}

// What the import reads; an alarm counts only by being there, and calcurse
// writes its trigger in a form libical refuses (-P300S).
bool est_lu(icalcomponent* c) {
    switch (icalcomponent_isa(c)) {
    case ICAL_VCALENDAR_COMPONENT:
    case ICAL_VEVENT_COMPONENT:
    case ICAL_VJOURNAL_COMPONENT:
    case ICAL_VTIMEZONE_COMPONENT:
    case ICAL_XSTANDARD_COMPONENT:
    case ICAL_XDAYLIGHT_COMPONENT:
        return true;
    default:
        return false;
    }
}

// libical keeps what it could not read as X-LIC-ERROR properties, and drops
// the property itself. Real calendars are full of them (an empty DESCRIPTION:,
// a Z on a date, a rule libical does not take): each is counted and the rest
// of its item is read.
int compte_illisibles(icalcomponent* c) {
    if (!est_lu(c))
        return 0;
    int n = icalcomponent_count_properties(c, ICAL_XLICERROR_PROPERTY);
    for (icalcomponent* s = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); s;
         s = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        n += compte_illisibles(s);
    return n;
}

// Whether the item had a start that could not be read.
bool debut_illisible(icalcomponent* c) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY))
        if (const char* t = icalproperty_get_xlicerror(p); t && std::strstr(t, "DTSTART"))
            return true;
    return false;
}

std::vector<icalcomponent*> calendriers_de(icalcomponent* racine) {
    std::vector<icalcomponent*> calendriers;
    if (icalcomponent_isa(racine) == ICAL_VCALENDAR_COMPONENT) {
        calendriers.push_back(racine);
    } else if (icalcomponent_isa(racine) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c = icalcomponent_get_first_component(racine, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(racine, ICAL_ANY_COMPONENT)) {
            if (icalcomponent_isa(c) != ICAL_VCALENDAR_COMPONENT)
                throw FichierRefuse(
                    "est un fichier iCalendar abîmé\u00a0: un élément hors de tout calendrier");
            calendriers.push_back(c);
        }
    }
    if (calendriers.empty())
        throw FichierRefuse("n'est pas un fichier iCalendar");
    return calendriers;
}

template <class F> void pour_chaque(icalcomponent* c, icalproperty_kind genre, F&& f) {
    for (icalproperty* p = icalcomponent_get_first_property(c, genre); p;
         p = icalcomponent_get_next_property(c, genre))
        f(p);
}

std::string cle_remplacee(const char* uid, const Moment& m) {
    return std::string(uid) + '\n' + texte_date_de(m.jour) + ' ' + std::to_string(m.heure) + ':' +
           std::to_string(m.minute);
}

class Lecteur {
public:
    explicit Lecteur(Jour aujourdhui)
        : debut_repetition_(sys_days{aujourdhui} - days{repetition_avant}),
          fin_repetition_(sys_days{aujourdhui} + days{repetition_apres}),
          debut_purge_(sys_days{aujourdhui} - days{purge_debut}),
          fin_purge_(sys_days{aujourdhui} - days{purge_fin}),
          premiere_annee_(annee_de(aujourdhui) - annees_avant),
          derniere_annee_(annee_de(aujourdhui) + annees_apres) {}

    // Occurrences moved or changed by an item of their own are not written twice.
    void note_remplacees(icalcomponent* cal) {
        for (icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT))
            if (icalproperty* r = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
                if (const char* uid = icalcomponent_get_uid(c))
                    remplacees_.insert(cle_remplacee(uid, moment_local(temps(r, c))));
    }

    void lit(icalcomponent* cal) {
        for (icalcomponent* c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind genre = icalcomponent_isa(c);
            if (genre == ICAL_VEVENT_COMPONENT || genre == ICAL_VJOURNAL_COMPONENT)
                lit_element(c, genre == ICAL_VJOURNAL_COMPONENT);
            else if (genre != ICAL_VTIMEZONE_COMPONENT)
                ++lecture.autres;
        }
    }

    Lecture lecture;

private:
    void laisse(const std::string& texte, const std::string& raison, const Moment* m = nullptr) {
        Compte c;
        c.texte = texte;
        c.raison = raison;
        if (m) {
            c.date = true;
            c.jour = m->jour;
        }
        lecture.laisses.push_back(std::move(c));
    }

    // A journal entry goes to the day note, whatever time it names.
    void ajoute(const Moment& m, const std::string& texte, bool cloche, bool journal) {
        Element e;
        e.jour = m.jour;
        e.heure = journal ? -1 : m.heure;
        e.minute = journal ? 0 : m.minute;
        e.texte = fichier_depuis_utf8(texte);
        e.cloche = cloche;
        e.sans_equivalent = sans_equivalent(texte);
        lecture.elements.push_back(std::move(e));
    }

    void lit_element(icalcomponent* c, bool journal) {
        const auto texte_de = [](const char* t) { return t ? std::string(t) : std::string(); };
        const std::string resume = texte_de(icalcomponent_get_summary(c));
        const std::string description = texte_de(icalcomponent_get_description(c));
        std::string texte = resume.empty() ? description : resume;
        // A journal entry is its description; the summary when it does not open it.
        if (journal && !resume.empty() && !description.empty())
            texte = description.starts_with(resume) ? description : resume + "\n" + description;
        const char* uid = icalcomponent_get_uid(c);
        if (!journal && est_uid_alarme(uid))
            return laisse(texte,
                          "alarme du réveil de Quorvel, qui la garde dans son fichier ALARME");
        if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED)
            return laisse(texte, "annulé");
        if (texte.empty())
            return laisse(texte, "sans texte");
        icalproperty* debut = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        if (!debut && debut_illisible(c))
            return laisse(texte, "date de début illisible");
        if (!debut)
            return laisse(texte, journal ? "note sans date, le bloc-notes n'est pas modifié"
                                         : "sans date");
        const icaltimetype t0 = temps(debut, c);
        if (icaltime_is_null_time(t0))
            return laisse(texte, "sans date");
        const bool cloche =
            !journal && icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT) != nullptr;
        const bool repete = !icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) &&
                            (icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) ||
                             icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY));
        if (!repete) {
            const Moment m = moment_local(t0);
            if (!lisible(m))
                return laisse(texte, "date de début illisible");
            const sys_days d{m.jour};
            if (annee_de(m.jour) < premiere_annee_ || annee_de(m.jour) > derniere_annee_)
                return laisse(texte,
                              "année hors de celles des fichiers de jour (" +
                                  std::to_string(premiere_annee_) + " à " +
                                  std::to_string(derniere_annee_) + ")",
                              &m);
            if (d >= debut_purge_ && d <= fin_purge_)
                return laisse(texte, "date que le prochain démarrage effacerait", &m);
            return ajoute(m, texte, cloche, journal);
        }
        const std::set<Moment> dates = repetitions(c, t0, uid);
        if (dates.empty())
            return laisse(texte, "aucune de ses dates n'est entre le " +
                                     texte_date_de(Jour{debut_repetition_}) + " et le " +
                                     texte_date_de(Jour{fin_repetition_}));
        for (const Moment& m : dates)
            ajoute(m, texte, cloche, journal);
    }

    bool dans_la_periode(const Moment& m) const {
        if (!lisible(m))
            return false;
        const sys_days d{m.jour};
        return d >= debut_repetition_ && d <= fin_repetition_;
    }

    std::set<Moment> repetitions(icalcomponent* c, const icaltimetype& t0, const char* uid) {
        std::set<Moment> dates;
        // The start is the first occurrence, whether the rule gives it or not.
        if (const Moment m = moment_local(t0); dans_la_periode(m))
            dates.insert(m);
        pour_chaque(c, ICAL_RRULE_PROPERTY, [&](icalproperty* p) {
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(p), t0);
            if (!it)
                return;
            int n = 0;
            for (icaltimetype t = icalrecur_iterator_next(it);
                 !icaltime_is_null_time(t) && ++n <= iterations_max;
                 t = icalrecur_iterator_next(it)) {
                const Moment m = moment_local(t);
                if (sys_days{m.jour} > fin_repetition_)
                    break;
                if (dans_la_periode(m))
                    dates.insert(m);
            }
            icalrecur_iterator_free(it);
        });
        pour_chaque(c, ICAL_RDATE_PROPERTY, [&](icalproperty* p) {
            const icaldatetimeperiodtype r = icalproperty_get_rdate(p);
            const icaltimetype t = icaltime_is_null_time(r.time) ? r.period.start : temps(p, c);
            if (const Moment m = moment_local(t); dans_la_periode(m))
                dates.insert(m);
        });
        pour_chaque(c, ICAL_EXDATE_PROPERTY, [&](icalproperty* p) {
            const icaltimetype t = temps(p, c);
            const Moment x = moment_local(t);
            std::erase_if(dates, [&](const Moment& m) {
                return m.jour == x.jour &&
                       (t.is_date || (m.heure == x.heure && m.minute == x.minute));
            });
        });
        if (uid)
            std::erase_if(dates, [&](const Moment& m) {
                return remplacees_.contains(cle_remplacee(uid, m));
            });
        return dates;
    }

    sys_days debut_repetition_, fin_repetition_, debut_purge_, fin_purge_;
    int premiere_annee_, derniere_annee_;
    std::set<std::string> remplacees_;
};

Place ajoute_a_la_note(FichiersDuJour& f, const std::string& bloc, Place place) {
    if (contient_lignes(f.note, bloc))
        return Place::deja_present;
    std::string note = f.note.empty() ? bloc : f.note + "\r\n" + bloc;
    if (note.size() > longueur_bloc)
        return Place::sans_place;
    f.note = std::move(note);
    f.note_change = true;
    return place;
}

} // namespace

FichiersDuJour charge_jour(const std::string& dossier, Jour j) {
    FichiersDuJour f;
    const std::string agenda = dossier + fichier_agenda_jour(j);
    if (fichier_existe(agenda)) {
        f.agenda = lit_tout(agenda);
        f.agenda_lisible = f.agenda.size() >= taille_agenda;
    } else {
        f.agenda.assign(taille_agenda, '\0');
    }
    const std::string note = dossier + fichier_note_jour(j);
    if (fichier_existe(note))
        f.note = texte_de_note(note);
    return f;
}

bool contient_lignes(const std::string& note, const std::string& bloc) {
    for (std::size_t p = note.find(bloc); p != std::string::npos; p = note.find(bloc, p + 1)) {
        const std::size_t fin = p + bloc.size();
        if ((p == 0 || note.compare(p - 2, 2, "\r\n") == 0) &&
            (fin == note.size() || note.compare(fin, 2, "\r\n") == 0))
            return true;
    }
    return false;
}

Compte place(FichiersDuJour& f, const Element& e) {
    Compte c;
    c.date = true;
    c.jour = e.jour;
    std::string bloc = e.texte;
    Place ou = Place::note;
    if (e.heure >= 0) {
        bloc = texte_heure(e.heure, e.minute) + " " + e.texte;
        const int k = creneau_de_l_heure(e.heure);
        if (k < 1 || k > nombre_creneaux) {
            c.raison = "heure hors de l'agenda";
        } else {
            ou = Place::note_au_lieu;
            const std::string ligne =
                e.minute == 0 ? e.texte : texte_heure(e.heure, e.minute) + " " + e.texte;
            // A cut agenda file is read only as far as it goes (and is not written).
            EnregistrementAgenda a;
            vide_agenda(a);
            std::memcpy(a.octets.data(), f.agenda.data(), std::min(f.agenda.size(), taille_agenda));
            if (e.texte.find_first_of("\r\n") != std::string::npos)
                c.raison = "texte de plusieurs lignes";
            else if (ligne.size() > longueur_creneau)
                c.raison = "plus long qu'une ligne d'agenda (60 caractères)";
            else if (!f.agenda_lisible)
                c.raison = "fichier d'agenda de cette date illisible";
            else if (a.texte(k) == ligne) {
                ou = Place::deja_present;
                c.creneau = k;
            } else if (!a.texte(k).empty())
                c.raison = "la ligne de " + texte_heure(e.heure, 0) + " est déjà écrite";
            else {
                a.regle_texte(k, ligne);
                if (e.cloche)
                    a.regle_cloche(k, true);
                std::memcpy(f.agenda.data(), a.octets.data(), taille_agenda);
                f.agenda_change = true;
                ou = Place::ligne;
                c.creneau = k;
                c.heure = e.heure;
                c.cloche = e.cloche;
            }
            if (ou != Place::note_au_lieu)
                bloc = ligne;
        }
    }
    if (ou == Place::note || ou == Place::note_au_lieu)
        ou = ajoute_a_la_note(f, bloc, ou);
    if (ou == Place::sans_place)
        c.raison = "la note du jour dépasserait 5000 caractères";
    c.place = ou;
    c.bloc = bloc;
    c.texte = utf8_depuis_fichier(bloc);
    return c;
}

Lecture lit_calendrier(const std::string& texte_lu, Jour aujourdhui) {
    std::string_view texte = texte_lu;
    if (texte.starts_with("\xEF\xBB\xBF"))
        texte.remove_prefix(3);
    if (texte.find('\0') != std::string_view::npos)
        throw FichierRefuse("n'est pas un fichier iCalendar\u00a0: ce n'est pas du texte");
    if (!QByteArrayView(texte.data(), static_cast<qsizetype>(texte.size())).isValidUtf8())
        throw FichierRefuse("n'est pas écrit en UTF-8, comme le veut iCalendar");
    const std::string t(texte);
    const auto [premiere, derniere] = lignes_extremes(t);
    if (premiere != "BEGIN:VCALENDAR")
        throw FichierRefuse(
            "n'est pas un fichier iCalendar\u00a0: sa première ligne n'est pas BEGIN:VCALENDAR");
    if (derniere != "END:VCALENDAR")
        throw FichierRefuse(
            "est un fichier iCalendar coupé\u00a0: sa dernière ligne n'est pas END:VCALENDAR");
    icalerror_set_errors_are_fatal(0);
    const Composant racine(icalparser_parse_string(t.c_str()));
    if (!racine)
        throw FichierRefuse("est un fichier iCalendar abîmé\u00a0: un élément n'est pas refermé");
    const std::vector<icalcomponent*> calendriers = calendriers_de(racine.get());
    Lecteur lecteur(aujourdhui);
    for (icalcomponent* cal : calendriers)
        lecteur.lecture.illisibles += compte_illisibles(cal);
    for (icalcomponent* cal : calendriers)
        lecteur.note_remplacees(cal);
    for (icalcomponent* cal : calendriers)
        lecteur.lit(cal);
    return std::move(lecteur.lecture);
}

BilanImport place_elements(const std::string& dossier, std::vector<Element> elements) {
    // The notes get their additions in the order of the day.
    std::stable_sort(elements.begin(), elements.end(), [](const Element& a, const Element& b) {
        return std::tie(a.jour, a.heure, a.minute) < std::tie(b.jour, b.heure, b.minute);
    });
    BilanImport bilan;
    std::map<sys_days, FichiersDuJour> jours;
    for (const Element& e : elements) {
        auto it = jours.find(sys_days{e.jour});
        if (it == jours.end())
            it = jours.emplace(sys_days{e.jour}, charge_jour(dossier, e.jour)).first;
        bilan.comptes.push_back(place(it->second, e));
        if (bilan.comptes.back().place != Place::deja_present)
            bilan.sans_equivalent += e.sans_equivalent;
    }
    int a_ecrire = 0;
    for (const auto& [d, f] : jours)
        a_ecrire += f.agenda_change + f.note_change;
    for (const auto& [d, f] : jours) {
        const Jour j{d};
        try {
            if (f.agenda_change) {
                remplace_atomiquement(dossier + fichier_agenda_jour(j), f.agenda);
                ++bilan.fichiers_ecrits;
            }
            if (f.note_change) {
                sauve_texte(dossier + fichier_note_jour(j), f.note);
                ++bilan.fichiers_ecrits;
            }
        } catch (const ErreurES& e) {
            throw EcritureInterrompue(e.message() + " en écrivant les fichiers du " +
                                      texte_date_de(j) + "\u00a0; " +
                                      nombre_de(bilan.fichiers_ecrits, "fichier de jour écrit",
                                                "fichiers de jour écrits") +
                                      " sur " + std::to_string(a_ecrire));
        }
    }
    return bilan;
}

BilanImport importe(const std::string& dossier, const std::string& texte, Jour aujourdhui,
                    const EstOuvert& est_ouvert) {
    Lecture lecture = lit_calendrier(texte, aujourdhui);
    if (est_ouvert && est_ouvert(dossier))
        throw DossierOuvert("Quorvel est ouvert sur ce dossier de données, fermez-le "
                            "puis recommencez");
    BilanImport bilan = place_elements(dossier, std::move(lecture.elements));
    bilan.comptes.insert(bilan.comptes.end(), lecture.laisses.begin(), lecture.laisses.end());
    bilan.autres = lecture.autres;
    bilan.illisibles = lecture.illisibles;
    return bilan;
}

namespace {

struct Rubrique {
    Place place;
    const char* titre;
};

void ecrit_compte(std::ostream& sortie, const Compte& c) {
    sortie << "  ";
    if (c.date)
        sortie << texte_date_de(c.jour) << (c.heure >= 0 ? " " + texte_heure(c.heure, 0) : "")
               << (c.cloche ? ", avec cloche" : "") << "\u00a0: ";
    sortie << guillemets(apercu(c.texte));
    if (!c.raison.empty())
        sortie << " (" << c.raison << ")";
    sortie << "\n";
}

void ecrit_bilan(std::ostream& sortie, const std::string& fichier, const BilanImport& bilan) {
    static constexpr Rubrique rubriques[] = {
        {Place::ligne, "Ajouté aux lignes d'agenda"},
        {Place::note, "Ajouté aux notes du jour"},
        {Place::note_au_lieu, "Mis dans la note du jour au lieu d'une ligne d'agenda"},
        {Place::deja_present, "Déjà présent, rien ajouté"},
        {Place::sans_place, "Pas ajouté"},
        {Place::laisse, "Laissé de côté"},
    };
    std::map<Place, int> nombres;
    int cloches = 0;
    for (const Rubrique& r : rubriques) {
        bool titre = false;
        for (const Compte& c : bilan.comptes) {
            if (c.place != r.place)
                continue;
            if (!titre)
                sortie << r.titre << "\u00a0:\n";
            titre = true;
            ecrit_compte(sortie, c);
            ++nombres[c.place];
            cloches += c.cloche;
        }
    }
    if (bilan.autres > 0)
        sortie << "Laissé de côté\u00a0: "
               << nombre_de(bilan.autres, "tâche ou autre élément", "tâches ou autres éléments")
               << " sans place dans l'agenda.\n";
    std::string resume = nombre_de(nombres[Place::ligne], "ligne d'agenda", "lignes d'agenda");
    if (cloches > 0)
        resume += " (dont " + std::to_string(cloches) + " avec cloche)";
    const int notes = nombres[Place::note] + nombres[Place::note_au_lieu];
    resume += ", " + nombre_de(notes, "ajout aux notes du jour", "ajouts aux notes du jour");
    if (nombres[Place::note_au_lieu] > 0)
        resume += " (dont " + std::to_string(nombres[Place::note_au_lieu]) +
                  " au lieu d'une ligne d'agenda)";
    resume += ", " + std::to_string(nombres[Place::deja_present]) + " déjà présent" +
              (nombres[Place::deja_present] > 1 ? "s" : "");
    const int laisses = nombres[Place::laisse] + nombres[Place::sans_place] + bilan.autres;
    resume += ", " + std::to_string(laisses) + " laissé" + (laisses > 1 ? "s" : "") + " de côté";
    sortie << "Importé de " << guillemets(fichier) << "\u00a0: " << resume << ".\n";
    if (bilan.illisibles > 0)
        sortie << nombre_de(bilan.illisibles, "valeur illisible ignorée",
                            "valeurs illisibles ignorées")
               << ".\n";
    if (bilan.sans_equivalent > 0)
        sortie << nombre_de(bilan.sans_equivalent, "caractère sans équivalent",
                            "caractères sans équivalent")
               << " en Windows-1252 " << (bilan.sans_equivalent > 1 ? "sont écrits" : "est écrit")
               << " " << guillemets("?") << ".\n";
}

} // namespace

int importe_ical(const std::string& dossier, const std::string& fichier, std::ostream& sortie,
                 std::ostream& erreurs, const Horloge& horloge, const EstOuvert& est_ouvert) {
    const std::string rien = " Rien n'a été ajouté.\n";
    std::string texte;
    try {
        texte = lit_tout(fichier);
    } catch (const ErreurES& e) {
        erreurs << "Impossible de lire " << guillemets(fichier) << "\u00a0: " << e.message() << "."
                << rien;
        return 1;
    }
    const std::string repertoire = dossier_donnees(dossier);
    std::error_code erreur;
    if (!std::filesystem::is_directory(repertoire, erreur)) {
        erreurs << "Le dossier de données " << guillemets(dossier.empty() ? "." : dossier)
                << " n'existe pas." << rien;
        return 1;
    }
    try {
        const BilanImport bilan =
            importe(repertoire, texte, date_de(horloge.maintenant()), est_ouvert);
        ecrit_bilan(sortie, fichier, bilan);
        return 0;
    } catch (const FichierRefuse& e) {
        erreurs << guillemets(fichier) << " " << e.message() << "." << rien;
    } catch (const DossierOuvert& e) {
        erreurs << "Import refusé\u00a0: " << e.message() << "." << rien;
    } catch (const EcritureInterrompue& e) {
        erreurs << "Import interrompu\u00a0: " << e.message() << ".\n";
    } catch (const ErreurES& e) {
        erreurs << "Import abandonné\u00a0: " << e.message() << "." << rien;
    }
    return 1;
}

} // namespace quorvel::ical
