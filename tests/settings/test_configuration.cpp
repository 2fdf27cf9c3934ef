// The settings record "PAD.CFG", byte for byte, and the configuration dialog:
// every change reaches the file at once.
#include "commun/bureau.hpp"
#include "settings/configuration.hpp"
#include "settings/reglages.hpp"

namespace quorvel {
namespace {

using test::RepertoireTemp;

std::uint32_t u32(const std::string& o, std::size_t p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(o.at(p + i));
    return v;
}
std::string chaine(const std::string& o, std::size_t p) {
    return o.substr(p + 1, static_cast<std::uint8_t>(o.at(p)));
}
std::string en_octets(const Reglages& r) {
    return std::string(r.octets.begin(), r.octets.end());
}

class Configuration : public ::testing::Test, public test::Bureau {
public:
    Configuration() {
        config_defaut(reglages, rep.chemin());
        ecrit_reglages(rep.chemin(), reglages);
        fenetre = std::make_unique<Tconfiguration>(ctx, reglages);
        fenetre->show();
    }
    std::string fichier() const { return rep.lit("PAD.CFG"); }
    void clique(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 8)); }

    std::unique_ptr<Tconfiguration> fenetre;
};

// Each colour button offers the stored colour and writes the answer in its own
// field and nowhere else.
TEST_F(Configuration, ChaqueBoutonDeCouleurEcritSonChamp) {
    const std::pair<QPushButton*, std::size_t> boutons[] = {
        {fenetre->b3, 141}, {fenetre->b4, 145},  {fenetre->b5, 149},
        {fenetre->b6, 153}, {fenetre->b7, 157},  {fenetre->b8, 161},
        {fenetre->b9, 165}, {fenetre->b10, 169}, {fenetre->b12, 173},
    };
    std::string attendu = fichier();
    std::uint32_t valeur = 0x00102030;
    for (const auto& [bouton, position] : boutons) {
        SCOPED_TRACE(position);
        const std::uint32_t avant = u32(attendu, position);
        dialogues.couleurs.push_back(++valeur);
        clique(bouton);
        EXPECT_EQ(dialogues.couleurs_proposees.back(), avant);
        for (int i = 0; i < 4; ++i)
            attendu[position + i] = static_cast<char>(valeur >> (8 * i));
        EXPECT_EQ(fichier(), attendu);
    }
    EXPECT_TRUE(dialogues.erreurs.empty());
}

// A chooser cancelled (nothing queued) writes the settings unchanged.
TEST_F(Configuration, UnChoixAnnuleEcritLeFichierInchange) {
    reglages.regle_couleur(CouleurReglee::saint, 0x00ABCDEF);
    for (QPushButton* bouton : {fenetre->b5, fenetre->b1, fenetre->b11}) {
        efface_fichier(rep.fichier("PAD.CFG"));
        clique(bouton);
        EXPECT_EQ(fichier(), en_octets(reglages)) << bouton->text().toStdString();
    }
}

// The chooser starts from the stored font; its answer is stored with the style
// code (underline or strike-out store as regular) and the name cut to 40.
TEST_F(Configuration, ChoixDePolice) {
    struct Cas {
        const char* quoi;
        std::optional<ChoixPolice> choisie; // none: cancelled
        PoliceReglee attendue;
    };
    const PoliceReglee stockee{0x00800000, 4, 14, "Comic \xE9t\xE9"};
    const ChoixPolice proposee{
        QStringLiteral("Comic été"), 14, true, true, false, false, 0x00800000};
    const QString arial = QStringLiteral("Arial");
    const Cas cas[] = {
        {"annulé", std::nullopt, stockee},
        {"gras", ChoixPolice{arial, 10, true, false, false, false, 0xFF}, {0xFF, 2, 10, "Arial"}},
        {"italique",
         ChoixPolice{arial, 10, false, true, false, false, 0xFF},
         {0xFF, 3, 10, "Arial"}},
        {"gras souligné", ChoixPolice{arial, 10, true, false, true, false, 0}, {0, 1, 10, "Arial"}},
        {"italique barré", ChoixPolice{arial, 9, false, true, false, true, 0}, {0, 1, 9, "Arial"}},
        {"nom long",
         ChoixPolice{QString(45, QLatin1Char('N')), 12, false, false, false, false, 0},
         {0, 1, 12, std::string(40, 'N')}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        reglages.regle_police_bloc_notes(stockee);
        if (c.choisie)
            dialogues.polices.push_back(*c.choisie);
        clique(fenetre->b2);
        EXPECT_EQ(dialogues.polices_proposees.back(), proposee);
        Reglages lu;
        lit_reglages(rep.chemin(), lu);
        EXPECT_EQ(lu.police_bloc_notes(), c.attendue);
        EXPECT_EQ(lu.police_calendrier(), (PoliceReglee{0, 1, 8, "Times New Roman"}));
    }
}

// A sound path is stored when Windows-1252 holds it in the field's 60 bytes;
// otherwise the old one stays and the user is told.
TEST_F(Configuration, ChoixDuSon) {
    const std::pair<QString, bool> cas[] = {
        {QStringLiteral("/home/moi/sons/réveil.wav"), true},
        {QStringLiteral("/") + QString(59, QLatin1Char('s')), true},
        {QStringLiteral("/") + QString(60, QLatin1Char('s')), false},
        {QStringLiteral("/home/moi/音.wav"), false},
    };
    for (const auto& [choisi, accepte] : cas) {
        SCOPED_TRACE(choisi.toStdString());
        reglages.regle_son_alarme("/ancien.wav");
        ecrit_reglages(rep.chemin(), reglages);
        dialogues.erreurs.clear();
        dialogues.fichiers.push_back(choisi);
        clique(fenetre->b11);
        const std::string stocke = chaine(fichier(), 177);
        EXPECT_EQ(QString::fromLatin1(stocke.data(), stocke.size()),
                  accepte ? choisi : QStringLiteral("/ancien.wav"));
        ASSERT_EQ(dialogues.erreurs.size(), accepte ? 0u : 1u);
        if (!accepte) {
            EXPECT_EQ(dialogues.erreurs[0].titre, QStringLiteral("Erreur"));
            EXPECT_TRUE(dialogues.erreurs[0].texte.contains(QStringLiteral("inchangé")));
        }
    }
}

// Showing loads the controls from the record without writing; each click then
// writes; OK closes.
TEST_F(Configuration, SonDePageEtModeVideoSuiventLesCases) {
    fenetre->hide();
    reglages.regle_son_page(false);
    reglages.regle_video(2);
    const std::string avant = fichier();
    fenetre->show();
    EXPECT_FALSE(fenetre->c1->isChecked());
    EXPECT_TRUE(fenetre->cv2->isChecked());
    EXPECT_FALSE(fenetre->cv1->isChecked());
    EXPECT_EQ(fichier(), avant);
    const auto octets = [&] { return fichier().substr(238, 3); };
    clique(fenetre->c1);
    EXPECT_EQ(octets(), std::string("\x01\x02\0", 3));
    clique(fenetre->c1);
    EXPECT_EQ(octets(), std::string("\0\x02\0", 3));
    clique(fenetre->cv1);
    EXPECT_EQ(octets(), std::string("\0\x01\0", 3));
    EXPECT_EQ(reglages.video(), 1);
    clique(fenetre->cv2);
    EXPECT_EQ(octets(), std::string("\0\x02\0", 3));
    clique(fenetre->ok1);
    EXPECT_FALSE(fenetre->isVisible());
}

TEST(Reglages, FichierCreeAvecLesValeursParDefautOctetParOctet) {
    RepertoireTemp rep;
    Reglages r;
    lit_reglages(rep.chemin(), r);
    std::string attendu(taille_reglages, '\0');
    const auto pose = [&](std::size_t o, const std::string& v) { attendu.replace(o, v.size(), v); };
    // Fonts: colour, style code 1, size, then the counted face name.
    pose(47, std::string("\x01\0\x08\0\x0FTimes New Roman", 20));
    pose(96, std::string("\x01\0\x0C\0\x0FTimes New Roman", 20));
    pose(145, std::string("\0\0\x80\0\0\x80\x80\0", 8)); // weekday navy, saint teal
    pose(165, std::string("\xFF\0\0\0\xFF\0\0\0", 8));   // current action and date square red
    std::string son = rep.chemin() + "coucou.wav";
    if (son.size() > 60)
        son = "coucou.wav";
    pose(177, static_cast<char>(son.size()) + son);
    pose(238, "\x01\x01"); // page sound on, video mode 1
    EXPECT_EQ(rep.lit("PAD.CFG"), attendu);
    EXPECT_EQ(en_octets(r), attendu);
}

TEST(Reglages, LeFichierEstReluTelQuelOctetsReservesCompris) {
    RepertoireTemp rep;
    std::string contenu(241, '\0');
    for (std::size_t i = 0; i < 241; ++i)
        contenu[i] = static_cast<char>(i * 7);
    contenu[51] = 40;                      // face name of 40 characters
    contenu[177] = static_cast<char>(200); // a length beyond its field
    rep.ecrit("PAD.CFG", contenu);
    Reglages r;
    lit_reglages(rep.chemin(), r);
    EXPECT_EQ(r.police_calendrier().nom.size(), 40u);
    EXPECT_EQ(r.son_alarme().size(), 60u); // clamped, never past the field
    EXPECT_TRUE(r.son_page());             // any byte but zero is on
    ecrit_reglages(rep.chemin(), r);
    EXPECT_EQ(rep.lit("PAD.CFG"), contenu);
}

// A cut file gives the defaults overlaid with the fields it holds whole. What
// start-up could not read whole, cut or failing, is kept aside before the first
// write over it, and only before the first.
TEST(Reglages, FichierCourtOuIllisibleGardeAvantLaPremiereEcriture) {
    Reglages ecrit;
    config_defaut(ecrit, "/donnees/");
    ecrit.regle_couleur(CouleurReglee::mois, 0x123456); // 141..144: kept
    ecrit.regle_couleur(CouleurReglee::jour, 0x654321); // 145..148: cut, so default
    for (const std::size_t taille : {std::size_t{147}, taille_reglages}) {
        RepertoireTemp rep;
        const std::string contenu = en_octets(ecrit).substr(0, taille);
        rep.ecrit("PAD.CFG", contenu);
        Reglages r;
        pannes::arme(1, 0); // the read of a whole file comes back short
        try {
            lit_reglages(rep.chemin(), r);
            EXPECT_EQ(r.couleur(CouleurReglee::mois), 0x123456u);
            EXPECT_EQ(r.couleur(CouleurReglee::jour), 0x800000u);
            EXPECT_EQ(r.video(), 1);
        } catch (const ErreurES&) {
            config_defaut(r, rep.chemin()); // as start-up does
        }
        pannes::desarme();
        std::vector<std::string> dits;
        for (int fois = 0; fois < 2; ++fois)
            ecrit_reglages(rep.chemin(), r, [&](const std::string& m) { dits.push_back(m); });
        EXPECT_EQ(rep.fichiers(), (std::vector<std::string>{"PAD.CFG", "PAD.CFG.illisible"}));
        EXPECT_EQ(rep.lit("PAD.CFG.illisible"), contenu);
        EXPECT_EQ(rep.lit("PAD.CFG"), en_octets(r));
        EXPECT_EQ(dits.size(), 1u);
    }
}

// A default sound path that would not fit, or that Windows-1252 would change
// (a thin space, a minus sign, a "?" of the folder's own), is the bare name.
TEST(Reglages, LeSonParDefautNommeToujoursLeFichier) {
    const std::pair<std::string, std::string> cas[] = {
        {"/" + std::string(55, 'r') + "/", "coucou.wav"},
        {"/home/\xC3\xA9t\xC3\xA9/", "/home/\xE9t\xE9/coucou.wav"},
        {"/home/a\u2009b/", "coucou.wav"}, // in UTF-8, as the folder's name
        {"/home/a\u2212b/", "coucou.wav"},
        {"/home/qui?/", "/home/qui?/coucou.wav"},
    };
    for (const auto& [repertoire, son] : cas)
        EXPECT_EQ(son_par_defaut(repertoire), son) << repertoire;
}

} // namespace
} // namespace quorvel
