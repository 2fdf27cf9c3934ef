// The export of a data folder, read back by libical itself: every line, note
// and alarm at its date and time with its text, nothing else.
#include "commun/essai.hpp"
#include "ical/export_ical.hpp"
#include "jeu_essai.hpp"
#include "outils_ical.hpp"

namespace quorvel::ical {
namespace {

using namespace std::chrono;
using test::CalendrierLu;

constexpr Jour aujourdhui = 2026y / December / 7; // a Monday

// "20261208", or "20261208T080000" at an hour.
std::string date_ical(int j, int m, int a, int heure = -1) {
    char s[24];
    std::snprintf(s, sizeof s, "%04d%02d%02dT%02d0000", a, m, j, heure);
    return std::string(s, heure < 0 ? 8 : 15);
}

std::string sans_cr(std::string s) {
    std::erase(s, '\r');
    return s;
}

struct Export : ::testing::Test {
    test::RepertoireTemp dossier;
    BilanExport bilan;
    const std::string texte = (test::remplit_dossier(dossier.chemin()),
                               calendrier_ical(dossier.chemin(), aujourdhui, bilan));
    const CalendrierLu cal{texte};
};

TEST_F(Export, ChaqueLigneDAgendaEstUnEvenementDUneHeureAvecSaCloche) {
    for (const auto& l : test::lignes_essai()) {
        SCOPED_TRACE(l.texte);
        icalcomponent* ev = cal.element(uid_agenda(year{l.annee} / l.mois / l.jour, l.heure));
        ASSERT_NE(ev, nullptr);
        EXPECT_EQ(icalcomponent_isa(ev), ICAL_VEVENT_COMPONENT);
        EXPECT_EQ(test::debut(ev), date_ical(l.jour, l.mois, l.annee, l.heure));
        EXPECT_EQ(test::fin(ev), date_ical(l.jour, l.mois, l.annee, l.heure + 1));
        EXPECT_EQ(test::texte(icalcomponent_get_summary(ev)), l.texte);
        EXPECT_EQ(test::a_un_rappel(ev), l.cloche);
        EXPECT_EQ(test::regle(ev), "");
    }
    EXPECT_EQ(bilan.lignes, static_cast<int>(test::lignes_essai().size()));
    EXPECT_EQ(bilan.cloches, 3);
}

TEST_F(Export, ChaqueNoteDuJourEstUneNoteDatee_LeBlocNotesUneNoteSansDate) {
    for (const auto& n : test::notes_essai()) {
        SCOPED_TRACE(n.texte);
        icalcomponent* note = cal.element(uid_note(year{n.annee} / n.mois / n.jour));
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(icalcomponent_isa(note), ICAL_VJOURNAL_COMPONENT);
        EXPECT_EQ(test::debut(note), date_ical(n.jour, n.mois, n.annee));
        EXPECT_EQ(test::texte(icalcomponent_get_description(note)), sans_cr(n.texte));
    }
    icalcomponent* bloc = cal.element(uid_bloc_notes);
    ASSERT_NE(bloc, nullptr);
    EXPECT_EQ(test::debut(bloc), "");
    EXPECT_EQ(test::texte(icalcomponent_get_description(bloc)), sans_cr(test::bloc_notes_essai()));
    EXPECT_TRUE(bilan.bloc_notes);
}

TEST_F(Export, ChaqueAlarmeSonneASonHeure_ChaqueJour_ChaqueSemaine_OuASaDate) {
    struct Attendu {
        int numero;
        std::string debut, regle, resume, description;
    } const attendus[] = {
        {1, "20261207T073000", "FREQ=DAILY", "Réveil", ""},
        {2, "20261207T091500", "FREQ=WEEKLY;BYDAY=MO", "Réunion d'équipe",
         "Réunion d'équipe\nsalle 2"},
        {3, "20261225T080000", "", "Noël chez mamie", ""},
    };
    for (const Attendu& a : attendus) {
        SCOPED_TRACE(a.resume);
        icalcomponent* ev = cal.element(uid_alarme(a.numero));
        ASSERT_NE(ev, nullptr);
        EXPECT_EQ(test::debut(ev), a.debut);
        EXPECT_EQ(test::regle(ev), a.regle);
        EXPECT_EQ(test::texte(icalcomponent_get_summary(ev)), a.resume);
        EXPECT_EQ(test::texte(icalcomponent_get_description(ev)), a.description);
        EXPECT_TRUE(test::a_un_rappel(ev));
    }
    EXPECT_EQ(bilan.alarmes, 3);
}

TEST_F(Export, RienDAutre_HeuresFlottantes_EtCeQuiNeSeLitPasEstDit) {
    EXPECT_EQ(texte.find("TZID"), std::string::npos);
    EXPECT_EQ(icalcomponent_count_components(cal.racine.get(), ICAL_VEVENT_COMPONENT),
              static_cast<int>(test::lignes_essai().size() + test::alarmes_essai().size()));
    EXPECT_EQ(icalcomponent_count_components(cal.racine.get(), ICAL_VJOURNAL_COMPONENT),
              static_cast<int>(test::notes_essai().size()) + 1);
    ASSERT_EQ(bilan.laisses.size(), 2u);
    EXPECT_NE(bilan.laisses[0].find("31_02_26.ENG"), std::string::npos);
    EXPECT_NE(bilan.laisses[1].find("alarme n°\u00a04"), std::string::npos);
}

TEST(AnneeDuFichier, DeuxChiffresLusDansLeSiecleAutourDAujourdhui) {
    const struct {
        int deux_chiffres, annee_courante, attendue;
    } cas[] = {{26, 2026, 2026}, {98, 2026, 1998}, {76, 2026, 1976}, {75, 2026, 2075},
               {0, 2026, 2000},  {99, 2050, 2099}, {0, 2050, 2000}};
    for (const auto& c : cas)
        EXPECT_EQ(annee_du_fichier(c.deux_chiffres, c.annee_courante), c.attendue)
            << c.deux_chiffres << " en " << c.annee_courante;
}

} // namespace
} // namespace quorvel::ical
