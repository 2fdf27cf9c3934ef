// The CalDAV client against a real Radicale, and against a loopback socket
// that answers what no server should.
#include "radicale.hpp"

#include <QTcpServer>
#include <QTcpSocket>

using namespace quorvel;
using caldav::Client;
using Genre = caldav::ErreurCaldav::Genre;

namespace {

std::string ics(const std::string& uid, const std::string& resume) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quorvel//essai//FR\r\nBEGIN:VEVENT\r\n"
           "UID:" +
           uid +
           "\r\nDTSTAMP:20261207T080000Z\r\nDTSTART:20261207T090000Z\r\n"
           "SUMMARY:" +
           resume + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The kind of failure of `appel`, or nothing when it succeeds.
template <class F> std::optional<Genre> genre_de(F&& appel, int* statut = nullptr) {
    try {
        appel();
    } catch (const caldav::ErreurCaldav& e) {
        if (statut)
            *statut = e.statut();
        EXPECT_FALSE(e.message().empty());
        return e.genre();
    }
    return std::nullopt;
}

using test::EssaiRadicale;

} // namespace

TEST_F(EssaiRadicale, EcritLitRemplaceEtEfface) {
    Client c(serveur->compte());
    EXPECT_TRUE(c.liste().empty());
    const caldav::Marques vide = c.marques();
    EXPECT_FALSE(vide.ctag.empty() && vide.jeton.empty());
    EXPECT_EQ(c.marques(), vide) << "rien n'a changé";

    const std::string a = c.href_de("réunion a.ics"), b = c.href_de("b.ics");
    const std::string etag_a = c.ecrit(a, ics("a", "Réunion"), "");
    c.ecrit(b, ics("b", "Dentiste"), "");
    EXPECT_EQ(genre_de([&] { c.ecrit(b, ics("b", "Double"), ""); }), Genre::conflit);
    const caldav::Marques apres = c.marques();
    EXPECT_NE(apres, vide);

    auto liste = c.liste();
    ASSERT_EQ(liste.size(), 2u);
    std::sort(liste.begin(), liste.end(), [](auto& x, auto& y) { return x.href < y.href; });
    EXPECT_EQ(liste[1].href, a) << "un href décodé, comme il a été écrit";
    EXPECT_TRUE(etag_a.empty() || liste[1].etag == etag_a);

    const auto lus = c.lit({a, c.href_de("absent.ics")});
    ASSERT_EQ(lus.size(), 1u) << "l'absent est laissé de côté";
    EXPECT_EQ(lus[0].href, a);
    EXPECT_NE(lus[0].donnees.find("SUMMARY:Réunion"), std::string::npos);

    int statut = 0;
    EXPECT_EQ(genre_de([&] { c.ecrit(a, ics("a", "Autre"), "\"faux\""); }, &statut),
              Genre::conflit);
    EXPECT_EQ(statut, 412);
    EXPECT_EQ(c.marques(), apres) << "un refus ne change rien";
    const std::string etag_a2 = c.ecrit(a, ics("a", "Réunion déplacée"), liste[1].etag);
    EXPECT_NE(c.marques(), apres);
    EXPECT_NE(c.lit({a})[0].donnees.find("déplacée"), std::string::npos);

    EXPECT_EQ(genre_de([&] { c.efface(a, liste[1].etag); }), Genre::conflit) << "ancien ETag";
    c.efface(a, etag_a2.empty() ? c.liste()[0].etag : etag_a2);
    c.efface(a, "");
    ASSERT_EQ(c.liste().size(), 1u);
    EXPECT_GT(c.requetes(), 10);
    EXPECT_GT(c.octets_recus(), 500);
}

TEST_F(EssaiRadicale, RefusEtServeurArrete) {
    caldav::Compte faux = serveur->compte();
    faux.mot_de_passe = "pas le bon";
    int statut = 0;
    EXPECT_EQ(genre_de([&] { Client(faux).liste(); }, &statut), Genre::refus);
    EXPECT_EQ(statut, 401);

    Client c(serveur->compte());
    c.ecrit(c.href_de("x.ics"), ics("x", "Avant"), "");
    serveur->arrete();
    EXPECT_EQ(genre_de([&] { c.marques(); }), Genre::reseau);
    serveur->demarre();
    EXPECT_EQ(c.liste().size(), 1u) << "le même client, après le redémarrage";
}

TEST(Caldav, RefusUrl) {
    const struct {
        const char* url;
        bool accepte;
    } cas[] = {
        {"https://exemple.fr/dav/agenda/", true},
        {"http://127.0.0.1:5232/u/a/", true},
        {"http://127.8.0.3/u/a/", true},
        {"http://[::1]:8080/a/", true},
        {"http://LocalHost/a/", true},
        {"http://exemple.fr/dav/", false},
        {"http://127.0.0.1.exemple.fr/", false},
        {"http://192.168.1.2/a/", false},
        {"ftp://exemple.fr/", false},
        {"exemple.fr/dav", false},
        {"", false},
    };
    for (const auto& c : cas) {
        const std::string refus = caldav::refus_url(c.url);
        EXPECT_EQ(refus.empty(), c.accepte) << c.url << " : " << refus;
    }
    EXPECT_NE(caldav::refus_url("http://exemple.fr/").find("\u00a0: seul https://"),
              std::string::npos);
    EXPECT_EQ(genre_de([] {
                  Client({"http://exemple.fr/a/", "u", "p"}).marques();
              }),
              Genre::reseau)
        << "rien n'est envoyé en clair au loin";
}

// A socket on loopback that answers each request with `reponse`, or never.
TEST(Caldav, ReponsesQuiNeSontPasDuCaldav) {
    const struct {
        const char* reponse;
        Genre genre;
        int statut;
    } cas[] = {
        {"HTTP/1.1 207 Multi-Status\r\nContent-Length: 9\r\n\r\n<a><b></a", Genre::reponse, 0},
        {"HTTP/1.1 207 Multi-Status\r\nContent-Length: 7\r\n\r\n<html/>", Genre::reponse, 0},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", Genre::reponse, 0},
        {"HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n", Genre::serveur, 503},
        {"HTTP/1.1 301 Moved\r\nLocation: /ailleurs/\r\nContent-Length: 0\r\n\r\n", Genre::serveur,
         301},
        {"SSH-2.0-OpenSSH_9.2\r\n\r\n", Genre::reseau, 0},
        {nullptr, Genre::delai, 0},
    };
    for (const auto& c : cas) {
        QTcpServer ecoute;
        ASSERT_TRUE(ecoute.listen(QHostAddress::LocalHost));
        QObject::connect(&ecoute, &QTcpServer::newConnection, [&] {
            QTcpSocket* s = ecoute.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, &c] {
                if (s->readAll().contains("propfind>") && c.reponse)
                    s->write(c.reponse);
            });
        });
        Client client({"http://127.0.0.1:" + std::to_string(ecoute.serverPort()) + "/a/", "u", "p"},
                      std::chrono::milliseconds(300));
        int statut = 0;
        EXPECT_EQ(genre_de([&] { client.marques(); }, &statut), c.genre) << c.reponse;
        EXPECT_EQ(statut, c.statut) << c.reponse;
    }
}
