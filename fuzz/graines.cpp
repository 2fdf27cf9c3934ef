// Seed corpora for the fuzz targets, written by the program's own writers:
//   graines_fuzz <folder>  ->  <folder>/<target>/<seed>
#include "alarms/alarme.hpp"
#include "commun_fuzz.hpp"
#include "ical/export_ical.hpp"
#include "jour/fichiers_jour.hpp"
#include "saints/saints.hpp"
#include "settings/reglages.hpp"

#include <filesystem>
#include <iostream>

using namespace quorvel;
using namespace quorvel::fuzz;
namespace fs = std::filesystem;

namespace {

fs::path sortie;

void graine(const std::string& cible, const std::string& nom, const std::string& contenu) {
    fs::create_directories(sortie / cible);
    std::ofstream f(sortie / cible / nom, std::ios::binary | std::ios::trunc);
    f.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
}

// The file a writer left in the scratch directory becomes a seed, then goes.
void recolte(const std::string& cible, const std::string& fichier, const std::string& nom) {
    graine(cible, nom, lit(fichier));
    efface(fichier);
}

void reglages() {
    Reglages r;
    config_defaut(r, repertoire());
    ecrit_reglages(repertoire(), r);
    recolte("reglages", "PAD.CFG", "defaut");
    PoliceReglee p{0x00FF8040, 4, 14, "Liberation Sans"};
    r.regle_police_calendrier(p);
    r.regle_couleur(CouleurReglee::fond_date, 0x80000005);
    r.regle_son_alarme("/home/l\xE9"
                       "a/sons/r\xE9veil.wav");
    r.regle_son_page(false);
    r.regle_video(1);
    ecrit_reglages(repertoire(), r);
    const std::string complet = lit("PAD.CFG");
    recolte("reglages", "PAD.CFG", "modifie");
    graine("reglages", "coupe", complet.substr(0, 120));
}

void textes() {
    const std::string chemin = repertoire() + "PAD";
    sauve_texte(chemin, "");
    recolte("note", "PAD", "vide");
    sauve_texte(chemin, "Anniversaire de L\xE9"
                        "a\r\nPain, lait\r\n\r\n\x80 12,50");
    recolte("note", "PAD", "lignes");
    sauve_texte(chemin, std::string(longueur_bloc, 'x'));
    recolte("note", "PAD", "plein");
}

void agendas() {
    EnregistrementAgenda a;
    {
        auto f = ouvre_agenda(repertoire(), jour_du(14, 2, 2026), a);
        f.ferme();
    }
    const std::string nom = fichier_agenda_jour(jour_du(14, 2, 2026));
    recolte("agenda", nom, "vide");
    auto f = ouvre_agenda(repertoire(), jour_du(14, 2, 2026), a);
    a.regle_texte(1, "Dentiste");
    a.regle_texte(5, std::string(longueur_creneau, 'R'));
    a.regle_texte(nombre_creneaux, "D\xEEner chez Andr\xE9");
    a.regle_cloche(1, true);
    a.regle_cloche(nombre_creneaux, true);
    ecrit_agenda(f, a);
    f.ferme();
    const std::string plein = lit(nom);
    recolte("agenda", nom, "rempli");
    graine("agenda", "court", plein.substr(0, 400));
}

void saints() {
    auto f = ouvre_saints(repertoire(), 2);
    EnregistrementSaint s;
    lit_saint(f, 13, s);
    s.regle_nom("Valentin");
    ecrit_saint(f, 13, s);
    lit_saint(f, 1, s);
    s.regle_nom("Pr\xE9sentation du Seigneur et Th\xE9ophane");
    ecrit_saint(f, 1, s);
    ferme_saints(f);
    recolte("saints", nom_fichier_saints(2), "fevrier");
}

void alarmes() {
    EnregistrementAlarme r;
    r.regle_heure("07:30");
    r.regle_texte("R\xE9veil");
    r.regle_repete(true);
    r.regle_frequence(2);
    r.regle_date("14/02/2026");
    r.regle_son("coucou.wav");
    ajoute_alarme(repertoire(), r);
    recolte("alarme", nom_fichier_alarme, "une");
    r.regle_texte("Appeler\r\nle garage");
    r.regle_affiche_texte(true);
    r.regle_repete(false);
    r.regle_heure("18:00");
    for (int k = 0; k < 3; ++k)
        ajoute_alarme(repertoire(), r);
    r.regle_son(std::string(longueur_son, 's'));
    r.regle_texte(std::string(longueur_texte, 't'));
    ajoute_alarme(repertoire(), r);
    const std::string plusieurs = lit(nom_fichier_alarme);
    recolte("alarme", nom_fichier_alarme, "plusieurs");
    graine("alarme", "coupe", plusieurs.substr(0, taille_alarme * 2 + 100));
}

void touches_et_saisies() {
    const char* suites[] = {
        "12+3=",       "1/0=",    "9999999999*99999999=*=*=",        "0.1+0.2=", "c-5*2=",
        "1.2.3+4..5=", "7/3=*3=", "99999999999999999999999999999999"};
    int i = 0;
    for (const char* s : suites)
        graine("calcul", "suite" + std::to_string(i++), s);
    const char* textes[] = {"07:30",      "23:59",      "24:00",      "7:30",
                            "14/02/2026", "29/02/2028", "29/02/2026", "31/12/2098",
                            "01/01/1982", "-12.5e3",    " 3,5"};
    i = 0;
    for (const char* t : textes)
        graine("saisies", "texte" + std::to_string(i++), t);
}

// The program's own export of a page, a note pad and an alarm, and shapes that
// other calendars write: empty values, a Z on a date, a bad parameter and rule,
// a zone, a journal entry.
void calendriers() {
    const Jour jour = std::chrono::year(2026) / 12 / 8;
    EnregistrementAgenda agenda;
    agenda.regle_texte(1, "R\xE9union");
    agenda.regle_cloche(1, true);
    ecrit(fichier_agenda_jour(jour),
          std::string(reinterpret_cast<const char*>(agenda.octets.data()), agenda.octets.size()));
    ecrit(fichier_note_jour(jour), std::string("Id\xE9"
                                               "e\r\n\xE0 creuser",
                                               15) +
                                       '\0');
    ical::BilanExport bilan;
    graine("ical", "export", ical::calendrier_ical(repertoire(), jour, bilan));
    efface(fichier_agenda_jour(jour));
    efface(fichier_note_jour(jour));
    const std::string debut = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//x//FR\r\n";
    const char* elements[] = {
        "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20261208T080000\r\nSUMMARY:Vide\r\n"
        "DESCRIPTION:\r\nLOCATION:\r\nEND:VEVENT\r\n",
        "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20261210\r\nSUMMARY:Anniv\r\n"
        "RRULE:FREQ=YEARLY\r\nRDATE:20131210Z\r\nEXDATE;VALUE=DATE:20271210\r\nEND:VEVENT\r\n",
        "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;=x:20261208T090000\r\nSUMMARY;X-A=\"b\":P\r\n"
        "RRULE:FREQ=WEEKLY;BYDAY=XX\r\nEND:VEVENT\r\n",
        "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;TZID=America/New_York:20261208T020000\r\n"
        "SUMMARY:NY\r\nRRULE:FREQ=DAILY;COUNT=3\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
        "TRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:4\r\nRECURRENCE-ID;TZID=America/New_York:20261209T020000\r\n"
        "DTSTART:20261209T150000Z\r\nSUMMARY:NY d\xC3\xA9plac\xC3\xA9\r\nEND:VEVENT\r\n",
        "BEGIN:VJOURNAL\r\nUID:5\r\nDTSTART;VALUE=DATE:20261208\r\nSUMMARY:Id\xC3\xA9"
        "e\r\n"
        "DESCRIPTION:Id\xC3\xA9"
        "e\\n\xC3\xA0 creuser\r\nEND:VJOURNAL\r\n"};
    int i = 0;
    for (const char* e : elements)
        graine("ical", "forme" + std::to_string(i++), debut + e + "END:VCALENDAR\r\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage : graines_fuzz <dossier>\n";
        return 2;
    }
    sortie = argv[1];
    reglages();
    textes();
    agendas();
    saints();
    alarmes();
    touches_et_saisies();
    calendriers();
    return 0;
}
