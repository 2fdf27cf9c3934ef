#include "synchro.hpp"

#include "calendar/utilitaires.hpp"
#include "ical/import_ical.hpp"
#include "jour/fichiers_jour.hpp"
#include "plateforme/copie_illisible.hpp"
#include "plateforme/fichier.hpp"
#include "plateforme/version.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace quorvel::ical {

namespace {

using namespace std::chrono;

const std::string entete_etat = "quorvel-synchro-caldav 1";

// The state file is lines of tab-separated fields; texts keep their bytes.
std::string echappe(const std::string& s) {
    std::string r;
    for (const char c : s) {
        switch (c) {
        case '\\':
            r += "\\\\";
            break;
        case '\t':
            r += "\\t";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\r':
            r += "\\r";
            break;
        default:
            r += c;
        }
    }
    return r;
}

bool desechappe(const std::string& s, std::string& r) {
    r.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            r += s[i];
            continue;
        }
        if (++i == s.size())
            return false;
        switch (s[i]) {
        case '\\':
            r += '\\';
            break;
        case 't':
            r += '\t';
            break;
        case 'n':
            r += '\n';
            break;
        case 'r':
            r += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

std::vector<std::string> champs(const std::string& ligne) {
    std::vector<std::string> c;
    std::size_t debut = 0;
    for (std::size_t p; (p = ligne.find('\t', debut)) != std::string::npos; debut = p + 1)
        c.push_back(ligne.substr(debut, p - debut));
    c.push_back(ligne.substr(debut));
    return c;
}

std::string date_compacte(Jour j) {
    if (!j.ok())
        return "-";
    char t[16];
    std::snprintf(t, sizeof t, "%04d%02d%02d", annee_de(j), mois_de(j), jour_de(j));
    return t;
}

bool lit_date(const std::string& s, Jour& j) {
    if (s == "-") {
        j = Jour{};
        return true;
    }
    if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    j = jour_du(std::stoi(s.substr(6, 2)), std::stoi(s.substr(4, 2)), std::stoi(s.substr(0, 4)));
    return j.ok();
}

class EtatAbime : public std::exception {};

EtatSynchro analyse_etat(const std::string& octets) {
    std::istringstream lignes(octets);
    std::string ligne;
    if (!std::getline(lignes, ligne) || ligne != entete_etat)
        throw EtatAbime();
    EtatSynchro e;
    bool fin = false;
    std::string v;
    while (std::getline(lignes, ligne)) {
        if (fin)
            throw EtatAbime();
        const std::vector<std::string> c = champs(ligne);
        if (c[0] == "fin" && c.size() == 1) {
            fin = true;
        } else if (c[0] == "url" && c.size() == 2 && desechappe(c[1], e.url)) {
        } else if (c[0] == "marques" && c.size() == 3 && desechappe(c[1], e.marques.ctag) &&
                   desechappe(c[2], e.marques.jeton)) {
        } else if (c[0] == "lien" && c.size() == 7) {
            Lien l;
            if (!desechappe(c[1], l.href) || !desechappe(c[2], l.uid) ||
                !desechappe(c[3], l.etag) || !desechappe(c[4], l.empreinte) ||
                (c[5] != "0" && c[5] != "1") || !lit_date(c[6], l.relire_le) || l.href.empty())
                throw EtatAbime();
            l.repete = c[5] == "1";
            e.liens.push_back(std::move(l));
        } else if (c[0] == "place" && c.size() == 5 && !e.liens.empty()) {
            PlaceLiee p;
            if (!lit_date(c[1], p.jour) || (c[3] != "0" && c[3] != "1") ||
                !desechappe(c[4], p.texte))
                throw EtatAbime();
            try {
                p.creneau = std::stoi(c[2]);
            } catch (const std::exception&) {
                throw EtatAbime();
            }
            if (p.creneau < -1 || p.creneau > nombre_creneaux || std::to_string(p.creneau) != c[2])
                throw EtatAbime();
            p.cloche = c[3] == "1";
            e.liens.back().places.push_back(std::move(p));
        } else {
            throw EtatAbime();
        }
    }
    // A file cut before its last line is damaged, not shorter.
    if (!fin)
        throw EtatAbime();
    return e;
}

// FNV-1a: the same on every machine and every build, unlike std::hash.
std::string empreinte_de(const std::vector<Element>& elements) {
    std::uint64_t h = 14695981039346656037ull;
    const auto ajoute = [&h](const std::string& s) {
        for (const char c : s) {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ull;
        }
    };
    for (const Element& e : elements)
        ajoute(date_compacte(e.jour) + ' ' + std::to_string(e.heure) + ':' +
               std::to_string(e.minute) + (e.cloche ? "+" : "-") + e.texte + '\n');
    char t[20];
    std::snprintf(t, sizeof t, "%016llx", static_cast<unsigned long long>(h));
    return t;
}

// --- The items the desk writes ------------------------------------------------

std::string texte_ical(icalcomponent* racine) {
    char* t = icalcomponent_as_ical_string_r(racine);
    std::string s = t ? t : "";
    std::free(t);
    return s;
}

// The bell as a display alarm: added when missing, the item's own kept.
void regle_rappel(icalcomponent* evenement, bool cloche, const std::string& texte) {
    std::vector<icalcomponent*> rappels;
    for (icalcomponent* a = icalcomponent_get_first_component(evenement, ICAL_VALARM_COMPONENT); a;
         a = icalcomponent_get_next_component(evenement, ICAL_VALARM_COMPONENT))
        rappels.push_back(a);
    if (cloche && !rappels.empty())
        return;
    for (icalcomponent* a : rappels) {
        icalcomponent_remove_component(evenement, a);
        icalcomponent_free(a);
    }
    if (cloche)
        ajoute_rappel(evenement, texte);
}

void regle_propriete(icalcomponent* c, icalproperty_kind genre, icalproperty* nouvelle) {
    while (icalproperty* p = icalcomponent_get_first_property(c, genre)) {
        icalcomponent_remove_property(c, p);
        icalproperty_free(p);
    }
    if (nouvelle)
        icalcomponent_add_property(c, nouvelle);
}

// The text of an item: its summary, and its description when it has more
// than one line (a journal entry keeps all of it in its description).
void regle_texte(icalcomponent* c, const std::string& utf8, bool journal) {
    const std::string premiere = utf8.substr(0, utf8.find('\n'));
    regle_propriete(c, ICAL_SUMMARY_PROPERTY, icalproperty_new_summary(premiere.c_str()));
    regle_propriete(c, ICAL_DESCRIPTION_PROPERTY,
                    journal || premiere != utf8 ? icalproperty_new_description(utf8.c_str())
                                                : nullptr);
    regle_propriete(
        c, ICAL_DTSTAMP_PROPERTY,
        icalproperty_new_dtstamp(icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
}

// A line of the desk as an event of one hour at its hour, floating.
std::string evenement_du_bureau(const std::string& uid, const PlaceLiee& p) {
    const Composant cal(icalcomponent_new_vcalendar());
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(),
                               icalproperty_new_prodid("-//Quorvel//" QUORVEL_TITRE "//FR"));
    const bool journal = p.creneau == 0;
    icalcomponent* c = icalcomponent_new(journal ? ICAL_VJOURNAL_COMPONENT : ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
    const std::string texte = utf8_depuis_fichier(p.texte);
    if (journal) {
        icalcomponent_add_property(c, icalproperty_new_dtstart(date_ical(p.jour)));
    } else {
        const int heure = heure_creneau(p.creneau);
        icalcomponent_add_property(c, icalproperty_new_dtstart(moment_ical(p.jour, heure, 0)));
        icalcomponent_add_property(c, icalproperty_new_dtend(moment_ical(p.jour, heure + 1, 0)));
    }
    regle_texte(c, texte, journal);
    if (!journal)
        regle_rappel(c, p.cloche, texte);
    icalcomponent_add_component(cal.get(), c);
    return texte_ical(cal.get());
}

// The first item of a calendar text that is not a moved occurrence.
icalcomponent* element_principal(icalcomponent* racine) {
    for (icalcomponent* c = icalcomponent_get_first_component(racine, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(racine, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind k = icalcomponent_isa(c);
        if ((k == ICAL_VEVENT_COMPONENT || k == ICAL_VJOURNAL_COMPONENT) &&
            !icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            return c;
    }
    return nullptr;
}

// Another calendar's item with the desk's text, everything else kept as it was.
std::string element_modifie(const std::string& ics, const PlaceLiee& p) {
    const Composant racine(icalparser_parse_string(ics.c_str()));
    icalcomponent* c = racine ? element_principal(racine.get()) : nullptr;
    if (!c)
        return {};
    std::string texte = p.texte;
    // A line placed with its minutes ("09h30 …") says them again on the page only.
    if (const icalproperty* d = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        d && p.creneau > 0) {
        const icaltimetype t = icalproperty_get_dtstart(d);
        const std::string heure = texte_heure(t.hour, t.minute) + " ";
        if (t.minute != 0 && texte.starts_with(heure))
            texte = texte.substr(heure.size());
    }
    const std::string utf8 = utf8_depuis_fichier(texte);
    const bool journal = icalcomponent_isa(c) == ICAL_VJOURNAL_COMPONENT;
    regle_texte(c, utf8, journal);
    if (!journal && p.creneau > 0)
        regle_rappel(c, p.cloche, utf8);
    return texte_ical(racine.get());
}

bool est_repete(const std::string& ics) {
    const Composant racine(icalparser_parse_string(ics.c_str()));
    if (!racine)
        return false;
    int principaux = 0;
    for (icalcomponent* c = icalcomponent_get_first_component(racine.get(), ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(racine.get(), ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind k = icalcomponent_isa(c);
        if (k != ICAL_VEVENT_COMPONENT && k != ICAL_VJOURNAL_COMPONENT)
            continue;
        ++principaux;
        if (icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) ||
            icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) ||
            icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            return true;
    }
    return principaux > 1;
}

std::string uid_de(const std::string& ics) {
    const Composant racine(icalparser_parse_string(ics.c_str()));
    icalcomponent* c = racine ? element_principal(racine.get()) : nullptr;
    const char* uid = c ? icalcomponent_get_uid(c) : nullptr;
    return uid ? uid : "";
}

std::string nouvel_uid(const PlaceLiee& p) {
    static std::mt19937_64 hasard{std::random_device{}()};
    char suffixe[20];
    std::snprintf(suffixe, sizeof suffixe, "%08llx",
                  static_cast<unsigned long long>(hasard() & 0xffffffffull));
    const std::string date = nombre_zeros(annee_de(p.jour), 4) + "-" +
                             nombre_zeros(mois_de(p.jour), 2) + "-" +
                             nombre_zeros(jour_de(p.jour), 2);
    return p.creneau == 0 ? "note-" + date + "-" + suffixe + "@quorvel"
                          : "agenda-" + date + "-" + texte_heure(heure_creneau(p.creneau), 0) +
                                "-" + suffixe + "@quorvel";
}

// --- The desk -------------------------------------------------------------------

// Removes the block from the note, as whole lines, with the line break that
// joined it to the rest.
bool retire_bloc(std::string& note, const std::string& bloc) {
    for (std::size_t p = note.find(bloc); p != std::string::npos; p = note.find(bloc, p + 1)) {
        const std::size_t fin = p + bloc.size();
        const bool debut_ligne = p == 0 || note.compare(p - 2, 2, "\r\n") == 0;
        const bool fin_ligne = fin == note.size() || note.compare(fin, 2, "\r\n") == 0;
        if (!debut_ligne || !fin_ligne)
            continue;
        if (fin < note.size())
            note.erase(p, bloc.size() + 2);
        else
            note.erase(p == 0 ? 0 : p - 2, bloc.size() + (p == 0 ? 0 : 2));
        return true;
    }
    return false;
}

class Bureau {
public:
    Bureau(std::string dossier) : dossier_(std::move(dossier)) {}

    FichiersDuJour& jour(Jour j) {
        auto it = jours_.find(sys_days{j});
        if (it == jours_.end())
            it = jours_.emplace(sys_days{j}, charge_jour(dossier_, j)).first;
        return it->second;
    }

    std::optional<EnregistrementAgenda> agenda(Jour j) {
        const FichiersDuJour& f = jour(j);
        if (!f.agenda_lisible)
            return std::nullopt;
        EnregistrementAgenda a;
        std::memcpy(a.octets.data(), f.agenda.data(), taille_agenda);
        return a;
    }
    void regle_agenda(Jour j, const EnregistrementAgenda& a) {
        FichiersDuJour& f = jour(j);
        f.agenda.assign(reinterpret_cast<const char*>(a.octets.data()), taille_agenda);
        f.agenda_change = true;
    }
    void regle_note(Jour j, std::string note) {
        FichiersDuJour& f = jour(j);
        if (f.note == note)
            return;
        f.note = std::move(note);
        f.note_change = true;
    }

    // The blocks that server items put in the note of a date.
    std::set<std::string>& blocs(Jour j) { return blocs_[sys_days{j}]; }

    // The note without what the server put in it: the desk's own journal entry.
    std::string propre(Jour j) {
        std::string note = jour(j).note;
        for (const std::string& b : blocs(j))
            retire_bloc(note, b);
        return note;
    }
    // The note with `texte` in place of its own part, the server's blocks after it.
    void regle_propre(Jour j, const std::string& texte) {
        std::string note = texte;
        const std::string& avant = jour(j).note;
        for (const std::string& b : blocs(j))
            if (contient_lignes(avant, b))
                note += (note.empty() ? "" : "\r\n") + b;
        regle_note(j, std::move(note));
    }

    // What the place holds now, as the state would record it.
    std::optional<PlaceLiee> actuelle(const PlaceLiee& p) {
        PlaceLiee a = p;
        if (p.creneau > 0) {
            const auto ag = agenda(p.jour);
            if (!ag)
                return std::nullopt;
            a.texte = ag->texte(p.creneau);
            a.cloche = ag->cloche(p.creneau);
        } else if (p.creneau == 0) {
            a.texte = propre(p.jour);
        } else if (!contient_lignes(jour(p.jour).note, p.texte)) {
            a.texte.clear();
        }
        return a;
    }
    bool inchangee(const PlaceLiee& p) {
        const auto a = actuelle(p);
        return a && *a == p;
    }

    // Takes away what the server put there, when the desk still holds just that.
    bool efface(const PlaceLiee& p) {
        if (!inchangee(p))
            return false;
        if (p.creneau > 0) {
            EnregistrementAgenda a = *agenda(p.jour);
            a.regle_texte(p.creneau, "");
            a.regle_cloche(p.creneau, false);
            regle_agenda(p.jour, a);
        } else if (p.creneau == 0) {
            regle_propre(p.jour, "");
        } else {
            std::string note = jour(p.jour).note;
            retire_bloc(note, p.texte);
            regle_note(p.jour, std::move(note));
            blocs(p.jour).erase(p.texte);
        }
        return true;
    }

    // Adds a line at the end of the note; false when it would pass 5000 characters.
    bool ajoute_a_la_note(Jour j, const std::string& ligne) {
        const std::string& note = jour(j).note;
        if (contient_lignes(note, ligne))
            return true;
        std::string n = note.empty() ? ligne : note + "\r\n" + ligne;
        if (n.size() > longueur_bloc)
            return false;
        regle_note(j, std::move(n));
        return true;
    }

    // The dates written.
    std::vector<Jour> ecrit() {
        std::vector<Jour> ecrits;
        for (auto& [d, f] : jours_) {
            const Jour j{d};
            if (f.agenda_change || f.note_change)
                ecrits.push_back(j);
            if (f.agenda_change)
                remplace_atomiquement(dossier_ + fichier_agenda_jour(j), f.agenda);
            if (f.note_change)
                sauve_texte(dossier_ + fichier_note_jour(j), f.note);
            f.agenda_change = f.note_change = false;
        }
        return ecrits;
    }

private:
    std::string dossier_;
    std::map<sys_days, FichiersDuJour> jours_;
    std::map<sys_days, std::set<std::string>> blocs_;
};

// The dates of the window that have day files in the folder.
std::set<sys_days> dates_du_dossier(const std::string& dossier, sys_days debut, sys_days fin) {
    std::set<sys_days> dates;
    const int annee = annee_de(Jour{debut});
    std::error_code erreur;
    for (std::filesystem::directory_iterator it(dossier, erreur), f; it != f;
         it.increment(erreur)) {
        const std::string nom = it->path().filename().string();
        if (nom.size() != 12 || nom[2] != '_' || nom[5] != '_' ||
            (nom.substr(8) != ".ENG" && nom.substr(8) != ".PAD"))
            continue;
        const std::string chiffres = nom.substr(0, 2) + nom.substr(3, 2) + nom.substr(6, 2);
        if (chiffres.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const Jour j = jour_du(std::stoi(nom.substr(0, 2)), std::stoi(nom.substr(3, 2)),
                               annee_du_fichier(std::stoi(nom.substr(6, 2)), annee));
        if (j.ok() && sys_days{j} >= debut && sys_days{j} <= fin)
            dates.insert(sys_days{j});
    }
    if (erreur)
        throw ErreurES(code_depuis_errno(erreur.value()));
    return dates;
}

std::string quand(Jour j, int heure) {
    return "le " + texte_date_de(j) + (heure >= 0 ? " à " + texte_heure(heure, 0) : "");
}

int heure_de(const PlaceLiee& p) {
    return p.creneau > 0 ? heure_creneau(p.creneau) : -1;
}

// --- One run ----------------------------------------------------------------------

class Synchronisation {
public:
    Synchronisation(const std::string& dossier, caldav::Client& client, const std::string& url,
                    Jour aujourdhui, const PassageBureau& passage)
        : dossier_(dossier), client_(client), url_(url), aujourdhui_(aujourdhui), passage_(passage),
          debut_(sys_days{aujourdhui} - days{repetition_avant}),
          fin_(sys_days{aujourdhui} + days{repetition_apres}), bureau_(dossier) {}

    BilanSynchro lance() {
        etat_ = lit_etat(dossier_, url_, bilan_.etat_abime);
        sur_disque_ = etat_;
        for (Lien& l : etat_.liens)
            std::erase_if(l.places,
                          [this](const PlaceLiee& p) { return sys_days{p.jour} < debut_; });

        // Everything the server is asked before anything local is touched.
        const caldav::Marques marques = client_.marques();
        const bool serveur_inchange = !etat_.marques.ctag.empty() || !etat_.marques.jeton.empty()
                                          ? marques == etat_.marques
                                          : false;
        std::map<std::string, std::string> serveur; // href -> etag
        if (serveur_inchange) {
            for (const Lien& l : etat_.liens)
                if (!l.etag.empty())
                    serveur[l.href] = l.etag;
        } else {
            for (const caldav::Ressource& r : client_.liste())
                serveur[r.href] = r.etag;
        }
        std::set<std::string> connus;
        std::vector<std::string> a_lire;
        for (const Lien& l : etat_.liens) {
            connus.insert(l.href);
            const auto it = serveur.find(l.href);
            if (it != serveur.end() &&
                (it->second != l.etag ||
                 (l.relire_le.ok() && sys_days{aujourdhui_} >= sys_days{l.relire_le})))
                a_lire.push_back(l.href);
        }
        for (const auto& [href, etag] : serveur)
            if (!connus.contains(href))
                a_lire.push_back(href);
        std::map<std::string, caldav::Ressource> lues;
        if (!a_lire.empty())
            for (caldav::Ressource& r : client_.lit(a_lire))
                lues[r.href] = std::move(r);

        const auto sur_le_bureau = [&] {
            applique(serveur, lues, connus);
            return bureau_.ecrit();
        };
        // Nothing new from the server: the desk is only read, which needs no
        // passage through the window (its files are replaced whole, by rename).
        const bool rien_a_ecrire =
            lues.empty() && std::all_of(etat_.liens.begin(), etat_.liens.end(), [&](const Lien& l) {
                return l.etag.empty() || serveur.contains(l.href);
            });
        if (passage_ && !rien_a_ecrire)
            passage_(sur_le_bureau);
        else
            sur_le_bureau();

        const bool envoye = envoie();
        etat_.marques = envoye ? caldav::Marques{} : marques;
        // A run that changed nothing writes nothing, and keeps its marks.
        if (!(etat_ == sur_disque_))
            ecrit_etat(dossier_, etat_);
        bilan_.requetes = client_.requetes();
        bilan_.octets_recus = client_.octets_recus();
        return std::move(bilan_);
    }

private:
    // What the server changed, onto the desk as the user left it; the state
    // saved with it.
    void applique(const std::map<std::string, std::string>& serveur,
                  const std::map<std::string, caldav::Ressource>& lues,
                  const std::set<std::string>& connus) {
        for (const sys_days d : dates_du_dossier(dossier_, debut_, fin_))
            bureau_.jour(Jour{d});
        for (const Lien& l : etat_.liens)
            for (const PlaceLiee& p : l.places)
                if (p.creneau < 0)
                    bureau_.blocs(p.jour).insert(p.texte);

        // The server's changes, onto the desk.
        std::vector<Lien> liens;
        for (Lien& l : etat_.liens) {
            const auto it = serveur.find(l.href);
            if (it == serveur.end()) {
                if (l.etag.empty())
                    liens.push_back(std::move(l)); // to write again
                else
                    efface_du_serveur(l);
                continue;
            }
            const auto lue = lues.find(l.href);
            if (lue == lues.end()) {
                liens.push_back(std::move(l));
                continue;
            }
            if (change_du_serveur(l, lue->second))
                liens.push_back(std::move(l));
        }
        for (const auto& [href, etag] : serveur)
            if (!connus.contains(href))
                if (const auto lue = lues.find(href); lue != lues.end()) {
                    Lien l;
                    l.href = href;
                    if (change_du_serveur(l, lue->second))
                        liens.push_back(std::move(l));
                }
        etat_.liens = std::move(liens);
        // What travels next is the desk's: the marks are kept only when it sends nothing.
        if (etat_.liens != sur_disque_.liens) {
            etat_.marques = {};
            ecrit_etat(dossier_, etat_);
            sur_disque_ = etat_;
        }
    }

    void mouvement(Mouvement::Cote cote, Mouvement::Genre genre, const PlaceLiee& p,
                   const std::string& texte) {
        bilan_.mouvements.push_back({cote, genre, p.jour, heure_de(p), utf8_depuis_fichier(texte)});
    }

    void efface_du_serveur(const Lien& l) {
        for (const PlaceLiee& p : l.places) {
            if (bureau_.efface(p))
                mouvement(Mouvement::Cote::bureau, Mouvement::Genre::efface, p, p.texte);
            // Changed on the desk meanwhile: it stays, and goes back as the desk's own.
        }
    }

    // The items of a version within the window; `relire` says when to read
    // it again though unchanged (a repeating one tomorrow, a later one when
    // the window reaches it).
    std::vector<Element> elements_de(const std::string& ics, const std::string& href,
                                     Jour* relire = nullptr) {
        try {
            Lecture lecture = lit_calendrier(ics, aujourdhui_);
            std::optional<sys_days> apres;
            for (const Element& e : lecture.elements)
                if (sys_days{e.jour} > fin_ && (!apres || sys_days{e.jour} < *apres))
                    apres = sys_days{e.jour};
            std::erase_if(lecture.elements, [this](const Element& e) {
                return sys_days{e.jour} < debut_ || sys_days{e.jour} > fin_;
            });
            if (relire)
                *relire = est_repete(ics) ? Jour{sys_days{aujourdhui_} + days{1}}
                          : apres         ? Jour{*apres - days{repetition_apres}}
                                          : Jour{};
            return std::move(lecture.elements);
        } catch (const ErreurQuorvel& e) {
            bilan_.laisses.push_back(guillemets(href) + " " + e.message() +
                                     ", repris à la prochaine synchronisation");
            throw;
        }
    }

    // What a place holds for an item.
    static std::string texte_pour(const Element& e, int creneau) {
        const std::string heure = e.heure >= 0 ? texte_heure(e.heure, e.minute) + " " : "";
        if (creneau > 0)
            return e.minute == 0 ? e.texte : heure + e.texte;
        return creneau < 0 ? heure + e.texte : e.texte;
    }
    static bool correspond(const Element& e, const PlaceLiee& p) {
        if (e.jour != p.jour || texte_pour(e, p.creneau) != p.texte)
            return false;
        return p.creneau > 0 ? creneau_de_l_heure(e.heure) == p.creneau && e.cloche == p.cloche
                             : p.creneau < 0 || e.heure < 0;
    }

    // The server's version `r` of the item of link `l` (a new one when `l` has
    // no place). False when the link has nothing left to follow.
    bool change_du_serveur(Lien& l, const caldav::Ressource& r) {
        std::vector<Element> elements;
        Jour relire{};
        try {
            elements = elements_de(r.donnees, r.href, &relire);
        } catch (const ErreurQuorvel&) {
            return !l.places.empty();
        }
        const std::string empreinte = empreinte_de(elements);
        l.relire_le = relire;
        if (l.uid.empty())
            l.uid = uid_de(r.donnees);
        l.repete = est_repete(r.donnees);
        // The desk's own write, whose answer was lost: the server has it.
        if (l.etag.empty() && !l.places.empty()) {
            l.etag = r.etag;
            l.empreinte = empreinte;
            if (elements.size() == 1 && l.places.size() == 1)
                if (const auto a = bureau_.actuelle(l.places[0]); a && correspond(elements[0], *a))
                    l.places[0] = *a;
            return true;
        }
        if (empreinte == l.empreinte) {
            l.etag = r.etag;
            return true;
        }
        const bool nouveau = l.places.empty();
        l.etag = r.etag;
        l.empreinte = empreinte;
        std::vector<PlaceLiee> anciennes = std::move(l.places);
        l.places.clear();
        // Both sides changed the one thing: the desk keeps its text, the
        // server's goes to the day note, and the desk's goes back to the server.
        if (anciennes.size() == 1 && elements.size() == 1 && !l.repete &&
            !bureau_.inchangee(anciennes[0])) {
            const Element& e = elements[0];
            const PlaceLiee& p = anciennes[0];
            const auto actuelle = bureau_.actuelle(p);
            const std::string garde =
                guillemets(apercu(utf8_depuis_fichier(actuelle ? actuelle->texte : "")));
            const std::string serveur = guillemets(apercu(utf8_depuis_fichier(e.texte)));
            bilan_.conflits.push_back(
                quand(p.jour, heure_de(p)) + ", le bureau garde " + garde +
                (bureau_.ajoute_a_la_note(e.jour, "Du serveur\xA0: " + texte_pour(e, -1))
                     ? "\u00a0; la version du serveur " + serveur + " est ajoutée à la note du " +
                           texte_date_de(e.jour)
                     : "\u00a0; la version du serveur " + serveur +
                           " ne tient plus dans la note du jour"));
            l.places = std::move(anciennes);
            return true;
        }
        // What the new version still says where it stood stays as it is.
        std::vector<bool> garde(elements.size(), false);
        std::vector<PlaceLiee> otees;
        for (const PlaceLiee& p : anciennes) {
            const auto e = std::find_if(elements.begin(), elements.end(), [&](const Element& e) {
                return !garde[static_cast<std::size_t>(&e - elements.data())] && correspond(e, p);
            });
            if (e != elements.end() && bureau_.inchangee(p)) {
                garde[static_cast<std::size_t>(e - elements.begin())] = true;
                l.places.push_back(p);
            } else if (bureau_.efface(p)) {
                otees.push_back(p);
            }
            // An occurrence changed on the desk stays there as the desk's own.
        }
        for (std::size_t i = 0; i < elements.size(); ++i) {
            if (garde[i])
                continue;
            const Element& e = elements[i];
            FichiersDuJour& f = bureau_.jour(e.jour);
            const std::string propre_avant = bureau_.propre(e.jour);
            const Compte c = place(f, e);
            PlaceLiee p;
            p.jour = e.jour;
            switch (c.place) {
            case Place::ligne:
            case Place::deja_present:
                if (c.creneau > 0) {
                    p.creneau = c.creneau;
                    p.texte = c.bloc;
                    p.cloche = bureau_.agenda(e.jour)->cloche(c.creneau);
                    break;
                }
                [[fallthrough]];
            case Place::note:
            case Place::note_au_lieu:
                // A note of the server on a page without its own is the page's note.
                p.creneau =
                    e.heure < 0 && (propre_avant.empty() || propre_avant == c.bloc) ? 0 : -1;
                p.texte = c.bloc;
                if (p.creneau < 0)
                    bureau_.blocs(e.jour).insert(c.bloc);
                else
                    p.texte = bureau_.propre(e.jour);
                break;
            case Place::sans_place:
            case Place::laisse:
                bilan_.laisses.push_back(quand(e.jour, e.heure) + ", " +
                                         guillemets(apercu(c.texte)) + " n'est pas placé (" +
                                         c.raison + ")");
                continue;
            }
            if (c.place != Place::deja_present) {
                const auto meme_place = [&](const PlaceLiee& a) {
                    return a.jour == p.jour && a.creneau == p.creneau;
                };
                const bool remplace =
                    !nouveau && std::any_of(otees.begin(), otees.end(), meme_place);
                std::erase_if(otees, meme_place);
                mouvement(Mouvement::Cote::bureau,
                          remplace ? Mouvement::Genre::modifie : Mouvement::Genre::ajoute, p,
                          c.bloc);
            }
            l.places.push_back(std::move(p));
        }
        for (const PlaceLiee& p : otees)
            mouvement(Mouvement::Cote::bureau, Mouvement::Genre::efface, p, p.texte);
        return true;
    }

    // The desk's changes, to the server. True when anything was sent.
    bool envoie() {
        struct Envoi {
            std::size_t lien;
            enum { cree, remplace, efface } genre;
            PlaceLiee place;
        };
        std::vector<Envoi> envois;
        std::set<std::pair<sys_days, int>> pris;
        for (std::size_t i = 0; i < etat_.liens.size(); ++i) {
            Lien& l = etat_.liens[i];
            for (auto it = l.places.begin(); it != l.places.end();) {
                const auto a = bureau_.actuelle(*it);
                pris.insert({sys_days{it->jour}, it->creneau});
                if (!a || (*a == *it && !l.etag.empty())) {
                    ++it;
                    continue;
                }
                if (l.etag.empty()) {
                    // Written by the desk and not yet confirmed: written again,
                    // or taken back when the desk no longer holds it.
                    envois.push_back({i, a->texte.empty() ? Envoi::efface : Envoi::cree, *a});
                } else if (l.repete || l.places.size() > 1) {
                    // One occurrence of many: the desk keeps it as its own.
                    if (!a->texte.empty() && it->creneau >= 0)
                        pris.erase({sys_days{it->jour}, it->creneau});
                    it = l.places.erase(it);
                    continue;
                } else {
                    envois.push_back(
                        {i, a->texte.empty() || it->creneau < 0 ? Envoi::efface : Envoi::remplace,
                         *a});
                }
                ++it;
            }
        }
        // What the desk holds that no server item stands for yet.
        for (const sys_days d : dates_du_dossier(dossier_, debut_, fin_)) {
            const Jour j{d};
            std::vector<PlaceLiee> nouvelles;
            if (const auto a = bureau_.agenda(j))
                for (int k = 1; k <= nombre_creneaux; ++k)
                    if (!a->texte(k).empty() && !pris.contains({d, k}))
                        nouvelles.push_back({j, k, a->texte(k), a->cloche(k)});
            if (const std::string n = bureau_.propre(j); !n.empty() && !pris.contains({d, 0}))
                nouvelles.push_back({j, 0, n, false});
            for (PlaceLiee& p : nouvelles) {
                Lien l;
                l.uid = nouvel_uid(p);
                l.href = client_.href_de(l.uid + ".ics");
                envois.push_back({etat_.liens.size(), Envoi::cree, p});
                p.texte.clear(); // not yet on the server
                l.places.push_back(std::move(p));
                etat_.liens.push_back(std::move(l));
            }
        }
        if (envois.empty())
            return false;
        // Kept before the first write: a run cut short does not write them twice.
        ecrit_etat(dossier_, etat_);
        sur_disque_ = etat_;

        std::vector<std::string> a_lire;
        for (const Envoi& e : envois)
            if (e.genre == Envoi::remplace && !etat_.liens[e.lien].uid.ends_with("@quorvel"))
                a_lire.push_back(etat_.liens[e.lien].href);
        std::map<std::string, std::string> donnees;
        if (!a_lire.empty())
            for (const caldav::Ressource& r : client_.lit(a_lire))
                donnees[r.href] = r.donnees;

        std::set<std::size_t> finis;
        for (const Envoi& e : envois) {
            Lien& l = etat_.liens[e.lien];
            try {
                if (e.genre == Envoi::efface) {
                    client_.efface(l.href, l.etag);
                    mouvement(Mouvement::Cote::serveur, Mouvement::Genre::efface, e.place,
                              l.places.front().texte);
                    finis.insert(e.lien);
                    continue;
                }
                std::string ics;
                if (const auto it = donnees.find(l.href); it != donnees.end())
                    ics = element_modifie(it->second, e.place);
                if (ics.empty())
                    ics = evenement_du_bureau(l.uid, e.place);
                const bool creation = l.etag.empty();
                l.etag = client_.ecrit(l.href, ics, l.etag);
                // A server that gives no ETag is read again at the next run.
                if (l.etag.empty())
                    l.etag = "?";
                l.empreinte = empreinte_de(elements_de(ics, l.href));
                l.places = {e.place};
                mouvement(Mouvement::Cote::serveur,
                          creation ? Mouvement::Genre::ajoute : Mouvement::Genre::modifie, e.place,
                          e.place.texte);
            } catch (const caldav::ErreurCaldav& erreur) {
                if (erreur.genre() != caldav::ErreurCaldav::Genre::conflit)
                    throw Interrompue(erreur, *this);
                bilan_.laisses.push_back(
                    quand(e.place.jour, heure_de(e.place)) + ", " +
                    guillemets(apercu(utf8_depuis_fichier(e.place.texte))) +
                    " a changé sur le serveur pendant la synchronisation, repris à la prochaine");
            } catch (const ErreurQuorvel&) {
            }
        }
        std::vector<Lien> restent;
        for (std::size_t i = 0; i < etat_.liens.size(); ++i)
            if (!finis.contains(i))
                restent.push_back(std::move(etat_.liens[i]));
        etat_.liens = std::move(restent);
        return true;
    }

public:
    // A fault while sending: the state is saved as far as the run went.
    struct Interrompue {
        Interrompue(const caldav::ErreurCaldav& e, Synchronisation& s) : erreur(e) {
            ecrit_etat(s.dossier_, s.etat_);
        }
        caldav::ErreurCaldav erreur;
    };

private:
    std::string dossier_;
    caldav::Client& client_;
    std::string url_;
    Jour aujourdhui_;
    const PassageBureau& passage_;
    sys_days debut_, fin_;
    Bureau bureau_;
    EtatSynchro etat_;
    EtatSynchro sur_disque_; // what the state file holds
    BilanSynchro bilan_;
};

} // namespace

EtatSynchro lit_etat(const std::string& dossier, const std::string& url, bool& abime) {
    abime = false;
    const std::string chemin = dossier + fichier_etat_synchro;
    EtatSynchro vide;
    vide.url = url;
    if (!fichier_existe(chemin))
        return vide;
    try {
        EtatSynchro e = analyse_etat(lit_tout(chemin));
        return e.url == url ? e : vide;
    } catch (const EtatAbime&) {
        abime = true;
        garde_illisible(chemin, [](const std::string&) {});
        return vide;
    }
}

void ecrit_etat(const std::string& dossier, const EtatSynchro& etat) {
    std::string t = entete_etat + "\nurl\t" + echappe(etat.url) + "\nmarques\t" +
                    echappe(etat.marques.ctag) + "\t" + echappe(etat.marques.jeton) + "\n";
    for (const Lien& l : etat.liens) {
        t += "lien\t" + echappe(l.href) + "\t" + echappe(l.uid) + "\t" + echappe(l.etag) + "\t" +
             echappe(l.empreinte) + "\t" + (l.repete ? "1" : "0") + "\t" +
             date_compacte(l.relire_le) + "\n";
        for (const PlaceLiee& p : l.places)
            t += "place\t" + date_compacte(p.jour) + "\t" + std::to_string(p.creneau) + "\t" +
                 (p.cloche ? "1" : "0") + "\t" + echappe(p.texte) + "\n";
    }
    remplace_atomiquement(dossier + fichier_etat_synchro, t + "fin\n");
}

BilanSynchro synchronise(const std::string& dossier, caldav::Client& client, const std::string& url,
                         Jour aujourdhui, const PassageBureau& passage) {
    Synchronisation s(dossier, client, url, aujourdhui, passage);
    try {
        return s.lance();
    } catch (const Synchronisation::Interrompue& i) {
        throw i.erreur;
    }
}

std::string texte_bilan(const BilanSynchro& bilan) {
    // A first run on a full calendar moves thousands of items: each part of
    // the report names its first ones and counts the rest.
    constexpr std::size_t montres = 20;
    const auto liste = [](const std::vector<std::string>& lignes, const std::string& avant) {
        std::string l;
        for (std::size_t i = 0; i < lignes.size() && i < montres; ++i)
            l += avant + lignes[i] + "\n";
        if (lignes.size() > montres)
            l += "  … et " + std::to_string(lignes.size() - montres) + " autres.\n";
        return l;
    };
    std::string t;
    if (bilan.etat_abime)
        t += "Le fichier d'état de la synchronisation était abîmé\u00a0: il est gardé à côté, et "
             "tout a été comparé de nouveau.\n";
    for (const Mouvement::Cote cote : {Mouvement::Cote::bureau, Mouvement::Cote::serveur}) {
        int n[3] = {};
        std::vector<std::string> details;
        for (const Mouvement& m : bilan.mouvements) {
            if (m.cote != cote)
                continue;
            ++n[static_cast<int>(m.genre)];
            static const char* const genres[] = {"ajouté", "modifié", "effacé"};
            details.push_back(std::string(genres[static_cast<int>(m.genre)]) + " " +
                              quand(m.jour, m.heure) + (m.heure < 0 ? ", note du jour" : "") +
                              "\u00a0: " + guillemets(apercu(m.texte)));
        }
        t += std::string(cote == Mouvement::Cote::bureau ? "Sur le bureau" : "Sur le serveur") +
             "\u00a0: " + nombre_de(n[0], "ajout", "ajouts") + ", " +
             nombre_de(n[1], "modification", "modifications") + ", " +
             nombre_de(n[2], "suppression", "suppressions") + ".\n" + liste(details, "  ");
    }
    if (!bilan.conflits.empty()) {
        std::vector<std::string> conflits;
        for (const std::string& c : bilan.conflits)
            conflits.push_back(c + ".");
        t += nombre_de(static_cast<int>(conflits.size()), "Conflit", "Conflits") + "\u00a0:\n" +
             liste(conflits, "  ");
    }
    std::vector<std::string> laisses;
    for (const std::string& l : bilan.laisses)
        laisses.push_back(l + ".");
    return t + liste(laisses, "Laissé de côté\u00a0: ");
}

} // namespace quorvel::ical
