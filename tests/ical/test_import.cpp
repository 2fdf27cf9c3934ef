// The import: where each item of a calendar lands in the day files, which
// dates a repetition gives, the planner's own export brought back into an
// empty and into a full folder, and files that are refused without a change.
#include "commun/essai.hpp"
#include "ical/export_ical.hpp"
#include "ical/import_ical.hpp"
#include "jeu_essai.hpp"
#include "outils_ical.hpp"

#include <cstdlib>
#include <ctime>

namespace quorvel::ical {
namespace {

using namespace std::chrono;
using test::lit_jour;
using test::RepertoireTemp;

constexpr Jour aujourdhui = 2026y / December / 7;

std::string calendrier(const std::string& elements) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Essai//Essai//FR\r\n" + elements +
           "END:VCALENDAR\r\n";
}

// debut: "20261208T080000", or ";TZID=…:…"; no SUMMARY when resume is empty.
std::string evenement(const std::string& debut, const std::string& resume,
                      const std::string& autres = "") {
    const std::string p = "DTSTART" + std::string(debut[0] == ';' ? "" : ":") + debut + "\r\n" +
                          (resume.empty() ? "" : "SUMMARY:" + resume + "\r\n") + autres;
    return "BEGIN:VEVENT\r\nUID:" + std::to_string(std::hash<std::string>{}(p)) +
           "@essai\r\nDTSTAMP:20261201T000000Z\r\n" + p + "END:VEVENT\r\n";
}

const std::string rappel = "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\n"
                           "DESCRIPTION:x\r\nEND:VALARM\r\n";

// quorvel --importe-ical of a calendar text, on Monday 7 December 2026.
struct Resultat {
    int code;
    std::string sortie, erreurs, fichier;
};
// `ouvert`: the program is open on the folder.
Resultat importe_texte(const RepertoireTemp& dossier, const std::string& texte,
                       bool ouvert = false) {
    RepertoireTemp fichiers;
    fichiers.ecrit("a.ics", texte);
    std::ostringstream sortie, erreurs;
    const int code =
        importe_ical(dossier.chemin(), fichiers.fichier("a.ics"), sortie, erreurs,
                     HorlogeReglable(2026, 12, 7), [ouvert](const std::string&) { return ouvert; });
    return {code, sortie.str(), erreurs.str(), fichiers.fichier("a.ics")};
}

// Times with a zone are turned into Paris time.
struct Import : ::testing::Test {
    static void SetUpTestSuite() {
        setenv("TZ", "Europe/Paris", 1);
        tzset();
    }
};

// Each item of the 8th: at the line of its hour, else in the day note, or left
// aside with nothing written and the reason told ("": not an event at all).
// What libical cannot read in an item is counted and passed over, as real
// calendars need: empty values, a Z on a date, a bad parameter or rule.
TEST_F(Import, ChaqueElementVaALaLigneDeSonHeure_ALaNoteDuJour_OuEstLaisseDeCote) {
    const std::string soixante(60, 'x'), soixante_et_un(61, 'y');
    const struct {
        const char* nom;
        std::string element;
        int heure = -1; // the line written, -1 for none
        std::string ligne = "";
        bool cloche = false;
        std::string note = "";
        const char* laisse = nullptr;
        int illisibles = 0;
    } cas[] = {
        {"minutes", evenement("20261208T205900", "Fin"), 20, "20h59 Fin"},
        {"après 20h59", evenement("20261208T210000", "Concert"), -1, "", false, "21h00 Concert"},
        {"avant 8h", evenement("20261208T075900", "Train"), -1, "", false, "07h59 Train"},
        {"60 caractères", evenement("20261208T090000", soixante), 9, soixante},
        {"61 caractères", evenement("20261208T090000", soixante_et_un), -1, "", false,
         "09h00 " + soixante_et_un},
        {"deux lignes", evenement("20261208T090000", "Un\\nDeux"), -1, "", false, "09h00 Un\nDeux"},
        {"rappel", evenement("20261208T100000", "Cloche", rappel), 10, "Cloche", true},
        {"UTC", evenement("20261208T070000Z", "Visio"), 8, "Visio"},
        {"fuseau nommé", evenement(";TZID=America/New_York:20261208T020000", "NY"), 8, "NY"},
        {"sans équivalent", evenement("20261208T110000", "Thé 🍵 et 漢"), 11, "Thé ? et ?"},
        {"note datée à une heure",
         "BEGIN:VJOURNAL\r\nUID:j@essai\r\nDTSTART:20261208T100000\r\nSUMMARY:Idée\r\n"
         "DESCRIPTION:Idée\\nà creuser\r\nEND:VJOURNAL\r\n",
         -1, "", false, "Idée\nà creuser"},
        {.nom = "note sans date",
         .element = "BEGIN:VJOURNAL\r\nUID:n@essai\r\nSUMMARY:Mémo\r\nEND:VJOURNAL\r\n",
         .laisse = "note sans date"},
        {.nom = "annulé",
         .element = evenement("20261208T080000", "Non", "STATUS:CANCELLED\r\n"),
         .laisse = "annulé"},
        {.nom = "sans texte", .element = evenement("20261208T080000", ""), .laisse = "sans texte"},
        {.nom = "purge", .element = evenement("20261015T080000", "Passé"), .laisse = "effacerait"},
        {.nom = "hors du siècle",
         .element = evenement("20800101T080000", "Loin"),
         .laisse = "2075"},
        {.nom = "alarme de Quorvel",
         .element = "BEGIN:VEVENT\r\nUID:alarme-2@quorvel\r\nDTSTART:20261208T080000\r\n"
                    "SUMMARY:Réveil\r\nRRULE:FREQ=DAILY\r\nEND:VEVENT\r\n",
         .laisse = "ALARME"},
        {.nom = "répétition finie",
         .element = evenement("20250101T080000", "Fini", "RRULE:FREQ=DAILY;UNTIL=20250201\r\n"),
         .laisse = "aucune de ses dates"},
        {.nom = "tâche",
         .element = "BEGIN:VTODO\r\nUID:t@essai\r\nSUMMARY:Courses\r\nEND:VTODO\r\n",
         .laisse = ""},
        {.nom = "valeurs vides",
         .element = evenement("20261208T080000", "Réunion", "DESCRIPTION:\r\nLOCATION:\r\n"),
         .heure = 8,
         .ligne = "Réunion",
         .illisibles = 2},
        {.nom = "Z sur une date",
         .element =
             evenement(";VALUE=DATE:20261208", "Léa", "RRULE:FREQ=YEARLY\r\nRDATE:20131210Z\r\n"),
         .note = "Léa",
         .illisibles = 1},
        {.nom = "paramètre illisible",
         .element = evenement(";=x:20261208T110000", "Visite"),
         .heure = 11,
         .ligne = "Visite",
         .illisibles = 1},
        {.nom = "règle illisible",
         .element = evenement("20261208T100000", "Cours", "RRULE:FREQ=WEEKLY;BYDAY=XX\r\n"),
         .heure = 10,
         .ligne = "Cours",
         .illisibles = 1},
        {.nom = "début illisible",
         .element = evenement("2026zz08T080000", "Réunion"),
         .laisse = "date de début illisible",
         .illisibles = 1},
        {.nom = "mois 14", .element = evenement("20261417T020000", "Mois"), .laisse = "illisible"},
        {.nom = "mois 14, répété",
         .element = evenement("20261417T020000", "Mois", "RRULE:FREQ=DAILY\r\n"),
         .laisse = "aucune de ses dates"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        RepertoireTemp dossier;
        const BilanImport bilan = importe(dossier.chemin(), calendrier(c.element), aujourdhui);
        const test::JourLu j = lit_jour(dossier.chemin(), 8, 12, 2026);
        for (int k = 0; k < nombre_creneaux; ++k) {
            EXPECT_EQ(j.lignes[k], k + 8 == c.heure ? c.ligne : "") << k + 8;
            EXPECT_EQ(j.cloches[k], k + 8 == c.heure && c.cloche) << k + 8;
        }
        EXPECT_EQ(j.agenda, c.heure >= 0);
        EXPECT_EQ(j.note, c.note);
        EXPECT_EQ(bilan.sans_equivalent, std::string(c.nom) == "sans équivalent" ? 2 : 0);
        EXPECT_EQ(bilan.illisibles, c.illisibles);
        if (!c.laisse)
            continue;
        EXPECT_EQ(bilan.fichiers_ecrits, 0);
        EXPECT_TRUE(dossier.contenu().empty());
        if (*c.laisse == '\0') {
            EXPECT_EQ(bilan.autres, 1);
            continue;
        }
        ASSERT_EQ(bilan.comptes.size(), 1u);
        EXPECT_EQ(bilan.comptes[0].place, Place::laisse);
        EXPECT_NE(bilan.comptes[0].raison.find(c.laisse), std::string::npos)
            << bilan.comptes[0].raison;
    }
}

// Repetitions give their dates from 4 days back to 366 days ahead, less the
// dates excluded, with an occurrence moved to its own hour; a second item at
// the same hour goes to the day note.
TEST_F(Import, UneRepetitionDonneSesDatesDe4JoursAvantA366JoursApres) {
    RepertoireTemp dossier;
    importe(
        dossier.chemin(),
        calendrier(evenement("20260101T090000", "Cours", "RRULE:FREQ=DAILY\r\n") +
                   evenement("20261208T100000", "Piano",
                             "RRULE:FREQ=WEEKLY;COUNT=4\r\nEXDATE:20261215T100000\r\n" + rappel) +
                   "BEGIN:VEVENT\r\nUID:piano@essai\r\nDTSTART:20261208T100000\r\n"
                   "RRULE:FREQ=WEEKLY;COUNT=4\r\nSUMMARY:Solfège\r\nEND:VEVENT\r\n"
                   "BEGIN:VEVENT\r\nUID:piano@essai\r\nRECURRENCE-ID:20261222T100000\r\n"
                   "DTSTART:20261222T140000\r\nSUMMARY:Solfège déplacé\r\nEND:VEVENT\r\n"),
        aujourdhui);
    const struct {
        int j, m, a;
        std::string neuf_heures, dix_heures, quatorze_heures;
    } attendus[] = {{2, 12, 2026, "", "", ""},
                    {3, 12, 2026, "Cours", "", ""},
                    {8, 12, 2026, "Cours", "Piano", ""},
                    {15, 12, 2026, "Cours", "Solfège", ""},
                    {22, 12, 2026, "Cours", "Piano", "Solfège déplacé"},
                    {29, 12, 2026, "Cours", "Piano", ""},
                    {5, 1, 2027, "Cours", "", ""},
                    {8, 12, 2027, "Cours", "", ""},
                    {9, 12, 2027, "", "", ""}};
    for (const auto& a : attendus) {
        SCOPED_TRACE(testing::Message() << a.j << "/" << a.m << "/" << a.a);
        const test::JourLu j = lit_jour(dossier.chemin(), a.j, a.m, a.a);
        EXPECT_EQ(j.lignes[1], a.neuf_heures);
        EXPECT_EQ(j.lignes[2], a.dix_heures);
        EXPECT_EQ(j.cloches[2], a.dix_heures == "Piano");
        EXPECT_EQ(j.lignes[6], a.quatorze_heures);
    }
    for (const int j : {8, 29})
        EXPECT_EQ(lit_jour(dossier.chemin(), j, 12, 2026).note, "10h00 Solfège") << j;
    // An agenda file for each of the 371 dates, and those two notes.
    EXPECT_EQ(dossier.contenu().size(), 371u + 2);
}

struct RetourDeLExport : Import {
    RepertoireTemp source;
    std::string ics;
    void SetUp() override {
        test::remplit_dossier(source.chemin());
        BilanExport bilan;
        ics = calendrier_ical(source.chemin(), aujourdhui, bilan);
    }
};

TEST_F(RetourDeLExport, DansUnDossierVide_LignesClochesEtNotesReviennent) {
    RepertoireTemp dossier;
    const BilanImport bilan = importe(dossier.chemin(), ics, aujourdhui);
    for (const auto& l : test::lignes_essai()) {
        SCOPED_TRACE(l.texte);
        const test::JourLu j = lit_jour(dossier.chemin(), l.jour, l.mois, l.annee);
        const bool purgee = l.mois == 6; // the next start would delete it
        EXPECT_EQ(j.lignes[l.heure - 8], purgee ? "" : l.texte);
        EXPECT_EQ(j.cloches[l.heure - 8], !purgee && l.cloche);
    }
    for (const auto& n : test::notes_essai()) {
        std::string attendue = n.texte;
        std::erase(attendue, '\r');
        EXPECT_EQ(lit_jour(dossier.chemin(), n.jour, n.mois, n.annee).note, attendue);
    }
    EXPECT_FALSE(dossier.existe("PAD"));
    EXPECT_FALSE(dossier.existe("ALARME"));
    // The purged line, the note pad, the three alarms.
    EXPECT_EQ(std::count_if(bilan.comptes.begin(), bilan.comptes.end(),
                            [](const Compte& c) { return c.place == Place::laisse; }),
              1 + 1 + 3);
}

TEST_F(RetourDeLExport, DansLeDossierMeme_RienNeChange) {
    const auto avant = source.contenu();
    const BilanImport bilan = importe(source.chemin(), ics, aujourdhui);
    EXPECT_EQ(source.contenu(), avant);
    EXPECT_EQ(bilan.fichiers_ecrits, 0);
    for (const Compte& c : bilan.comptes)
        EXPECT_TRUE(c.place == Place::deja_present || c.place == Place::laisse) << c.texte;
}

TEST_F(RetourDeLExport, DansUnDossierPlein_RienNEstRemplace) {
    RepertoireTemp dossier;
    EnregistrementAgenda a;
    a.regle_texte(1, "Conseil");
    a.regle_texte(3, "Dentiste");
    dossier.ecrit("08_12_26.ENG",
                  std::string(reinterpret_cast<const char*>(a.octets.data()), a.octets.size()));
    sauve_texte(dossier.fichier("08_12_26.PAD"), "Ma note");
    importe(dossier.chemin(), ics, aujourdhui);
    const test::JourLu j = lit_jour(dossier.chemin(), 8, 12, 2026);
    EXPECT_EQ(j.lignes[0], "Conseil");
    EXPECT_FALSE(j.cloches[0]);
    EXPECT_EQ(j.lignes[2], "Dentiste");
    EXPECT_EQ(j.lignes[6], "Appeler le garage : révision, pneus, vidange, essuie-glaces.");
    EXPECT_TRUE(j.cloches[12]);
    EXPECT_EQ(j.note,
              "Ma note\nPenser à l'anniversaire\nd'Élise\u00a0: 18h\n08h00 Réunion à l'école");
}

TEST_F(Import, NoteQuiDepasserait5000Caracteres_EtAgendaIllisible_NeSontPasTouches) {
    RepertoireTemp dossier;
    sauve_texte(dossier.fichier("08_12_26.PAD"), std::string(4990, 'n'));
    dossier.ecrit("09_12_26.ENG", std::string(100, '\0'));
    const auto avant = dossier.contenu();
    const BilanImport bilan = importe(
        dossier.chemin(),
        calendrier(evenement("20261208T220000", "Appel") + evenement("20261209T080000", "Court")),
        aujourdhui);
    ASSERT_EQ(bilan.comptes.size(), 2u);
    EXPECT_EQ(bilan.comptes[0].place, Place::sans_place);
    EXPECT_EQ(bilan.comptes[1].place, Place::note_au_lieu);
    EXPECT_EQ(dossier.lit("08_12_26.PAD"), avant.at("08_12_26.PAD"));
    EXPECT_EQ(dossier.lit("09_12_26.ENG"), avant.at("09_12_26.ENG"));
    EXPECT_EQ(lit_jour(dossier.chemin(), 9, 12, 2026).note, "08h00 Court");
}

TEST_F(Import, UnePanneAChaqueOperationLaisseChaqueFichierAncienOuNouveau_EtEstDite) {
    const std::string ics =
        calendrier(evenement("20261208T080000", "Réunion") +
                   evenement("20261208T220000", "Concert") + evenement("20261209T090000", "Cours"));
    const auto importe_avec_panne = [&](int n, test::Fichiers& avant) {
        RepertoireTemp dossier;
        sauve_texte(dossier.fichier("08_12_26.PAD"), "Ma note");
        avant = dossier.contenu();
        pannes::arme(n, ENOSPC);
        const Resultat r = importe_texte(dossier, ics);
        const bool tombee = n <= pannes::operations();
        pannes::desarme();
        EXPECT_EQ(r.code, tombee ? 1 : 0) << "panne à l'opération " << n;
        if (tombee) {
            EXPECT_NE(r.erreurs.find("Disque plein"), std::string::npos) << r.erreurs;
        }
        return std::pair{dossier.contenu(), tombee};
    };
    test::Fichiers avant;
    const auto attendu = importe_avec_panne(1000, avant).first;
    for (int n = 1;; ++n) {
        const auto [apres, tombee] = importe_avec_panne(n, avant);
        if (!tombee)
            break;
        EXPECT_EQ(test::abimes(apres, {&avant, &attendu}), "") << "panne à l'opération " << n;
    }
}

TEST_F(Import, LeBilanDitCeQuiEstAjouteEtCeQuiVaDansLaNoteALaPlace) {
    RepertoireTemp dossier;
    const Resultat r = importe_texte(
        dossier,
        calendrier(evenement("20261208T080000", "Réunion", rappel) +
                   evenement("20261208T083000", "Appel", "DESCRIPTION:\r\nLOCATION:\r\n")));
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie,
              "Ajouté aux lignes d'agenda\u00a0:\n"
              "  08/12/2026 08h00, avec cloche\u00a0: «\u00a0Réunion\u00a0»\n"
              "Mis dans la note du jour au lieu d'une ligne d'agenda\u00a0:\n"
              "  08/12/2026\u00a0: «\u00a008h30 Appel\u00a0» (la ligne de 08h00 est déjà écrite)\n"
              "Importé de «\u00a0" +
                  r.fichier +
                  "\u00a0»\u00a0: 1 ligne d'agenda (dont 1 avec cloche), 1 ajout aux notes du jour "
                  "(dont 1 au lieu d'une ligne d'agenda), 0 déjà présent, 0 laissé de côté.\n"
                  "2 valeurs illisibles ignorées.\n");
}

// Refused without a change: a file that is not iCalendar or is damaged, and any
// file while the program holds the folder.
TEST_F(Import, UnFichierAbimeOuUnDossierOuvertSontRefusesSansRienChanger) {
    RepertoireTemp dossier;
    test::remplit_dossier(dossier.chemin());
    const std::string un = evenement("20261208T080000", "x");
    const struct {
        const char* nom;
        std::string octets;
        const char* message;
    } cas[] = {
        {"texte", "Bonjour,\nceci n'est pas un agenda.\n", "n'est pas un fichier iCalendar"},
        {"binaire", std::string("BEGIN:VCALENDAR\r\n\0\x01\x02", 20),
         "n'est pas un fichier iCalendar"},
        {"coupé", calendrier(un).substr(0, 120), "coupé"},
        {"Latin-1", calendrier(evenement("20261208T080000", "R\xe9union")), "UTF-8"},
        {"non refermé", calendrier("BEGIN:VEVENT\r\nDTSTART:20261208T080000\r\nSUMMARY:x\r\n"),
         "abîmé"},
        {"programme ouvert", calendrier(un), "Quorvel est ouvert sur ce dossier"},
    };
    const auto avant = dossier.contenu();
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const Resultat r =
            importe_texte(dossier, c.octets, c.nom == std::string("programme ouvert"));
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.erreurs.find(c.message), std::string::npos) << r.erreurs;
        EXPECT_NE(r.erreurs.find("Rien n'a été ajouté."), std::string::npos) << r.erreurs;
        EXPECT_EQ(r.sortie, "");
        EXPECT_EQ(dossier.contenu(), avant);
    }
}

} // namespace
} // namespace quorvel::ical
