// The installation data: saints calendar, help, sounds.
#include "commun/repertoire_temp.hpp"
#include "plateforme/cp1252.hpp"
#include "plateforme/horloge.hpp"
#include "saints/saints.hpp"

#include <QFile>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

const std::string donnees = QUORVEL_DONNEES;

std::string lit(const std::string& chemin) {
    QFile f(QString::fromStdString(chemin));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

std::uint32_t le(const std::string& o, std::size_t i, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(o[i + k]);
    return v;
}

// A data directory holding a copy of the shipped saints files.
struct Saints : ::testing::Test {
    test::RepertoireTemp rep;
    HorlogeReglable horloge{2026, 3, 15}; // not a leap year: February must still have 29
    ServiceDates dates{horloge};
    void SetUp() override {
        for (int m = 1; m <= 12; ++m) {
            const std::string nom = nom_fichier_saints(m);
            rep.ecrit(nom, lit(donnees + nom));
        }
    }
};

} // namespace

TEST_F(Saints, TroisCentSoixanteSixJoursNommesDansLOrdre) {
    const int jours[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int total = 0;
    EnregistrementSaint s;
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        ASSERT_EQ(rep.taille(nom_fichier_saints(m)), jours[m - 1] * 37);
        auto f = ouvre_saints(rep.chemin(), m, dates);
        const auto n = f.nombre();
        EXPECT_EQ(n, jours[m - 1]);
        for (std::int64_t i = 0; i < n; ++i) {
            lit_saint(f, i, s);
            char attendu[6];
            std::snprintf(attendu, sizeof attendu, "%02d/%02d", int(i + 1), m);
            EXPECT_EQ(s.date(), attendu);
            EXPECT_FALSE(s.nom().empty()) << attendu;
            EXPECT_LE(s.nom().size(), 29u) << attendu;
            ++total;
        }
        ferme_saints(f);
    }
    EXPECT_EQ(total, 366);
}

TEST_F(Saints, LesNomsSontEnWindows1252EtLaPageLesTrouve) {
    struct Cas {
        int jour, mois;
        const char* nom; // UTF-8
    } const cas[] = {{1, 1, "Jour de l'An"}, {14, 2, "Valentin"},
                     {29, 2, "Auguste"},     {19, 3, "Joseph"},
                     {18, 5, "Éric"},        {25, 12, "Noël"},
                     {31, 12, "Sylvestre"},  {1, 10, "Thérèse de l'Enfant-Jésus"}};
    for (const auto& c : cas) {
        EnregistrementSaint tampon;
        std::string courant = "inchangé";
        saint_du_jour(rep.chemin(), c.jour, c.mois, dates, tampon, courant);
        // The page shows the first 20 characters.
        EXPECT_EQ(depuis_cp1252(courant), QString::fromUtf8(c.nom).left(20))
            << c.jour << "/" << c.mois;
    }
    // Accents are single Windows-1252 bytes: "Noël" is 4 bytes with 0xEB.
    const std::string decembre = rep.lit("SAINT12");
    EXPECT_EQ(decembre.substr(24 * 37 + 6, 5), std::string("No\xEBl\0", 5));
}

TEST(Aide, QuatreSujetsEtTousLesFichiers) {
    const QString aide = QString::fromUtf8(lit(donnees + "DOC.HLP"));
    ASSERT_FALSE(aide.isEmpty());
    for (const char* sujet : {"sujet1", "sujet6", "sujet7", "sujet8"})
        EXPECT_TRUE(aide.contains(QStringLiteral("<a name=\"%1\">").arg(sujet))) << sujet;
    for (const char* fichier :
         {"PAD.CFG", "ALARME", "SAINT01", ".ENG", ".PAD", "papier.wav", "coucou.wav", "DOC.HLP"})
        EXPECT_TRUE(aide.contains(QString::fromLatin1(fichier))) << fichier;
    for (const char* fenetre :
         {"SAINT A FETER", "ALARME D'HORLOGE", "SAISIE DE L'ALARME", "CONFIGURATION"})
        EXPECT_TRUE(aide.contains(QString::fromLatin1(fenetre))) << fenetre;
}

TEST(Sons, WavPcmSeizeBitsMonoDeLaBonneDuree) {
    struct Cas {
        const char* nom;
        double min_s, max_s;
    } const cas[] = {{"papier.wav", 0.3, 0.6}, {"coucou.wav", 0.8, 1.3}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string o = lit(donnees + c.nom);
        ASSERT_GE(o.size(), 44u);
        EXPECT_EQ(o.substr(0, 4), "RIFF");
        EXPECT_EQ(le(o, 4, 4), o.size() - 8);
        EXPECT_EQ(o.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(le(o, 16, 4), 16u);
        EXPECT_EQ(le(o, 20, 2), 1u); // PCM
        EXPECT_EQ(le(o, 22, 2), 1u); // mono
        const std::uint32_t frequence = le(o, 24, 4);
        EXPECT_EQ(le(o, 28, 4), frequence * 2);
        EXPECT_EQ(le(o, 34, 2), 16u);
        EXPECT_EQ(o.substr(36, 4), "data");
        const std::uint32_t octets = le(o, 40, 4);
        ASSERT_EQ(octets, o.size() - 44);
        const double duree = octets / 2.0 / frequence;
        EXPECT_GE(duree, c.min_s);
        EXPECT_LE(duree, c.max_s);
        // Audible, and not clipped.
        int crete = 0;
        for (std::size_t i = 44; i + 1 < o.size(); i += 2)
            crete = std::max(crete, std::abs(static_cast<std::int16_t>(le(o, i, 2))));
        EXPECT_GT(crete, 16000);
        EXPECT_LT(crete, 32767);
    }
}
