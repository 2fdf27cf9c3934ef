#pragma once
// A real Radicale on 127.0.0.1, in its own temporary folder, for the CalDAV
// tests: plain htpasswd users, each owning its own collections, files on disk.
#include "commun/repertoire_temp.hpp"
#include "ical/caldav.hpp"

#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quorvel::test {

class Radicale {
public:
    static bool present();
    // Started on a free port; throws std::runtime_error when it does not listen.
    Radicale();
    ~Radicale();
    Radicale(const Radicale&) = delete;
    Radicale& operator=(const Radicale&) = delete;

    // Stopped and started again on the same port and folder: the collections
    // and items stay.
    void arrete();
    void demarre();

    // A calendar collection of the user, created when missing;
    // "http://127.0.0.1:<port>/<user>/<nom>/".
    std::string calendrier(const std::string& nom = "agenda");
    // The account of that calendar, with the right password.
    caldav::Compte compte(const std::string& nom = "agenda");
    int port() const { return port_; }
    // Where the items are stored, to change them behind the client's back.
    std::string dossier_calendrier(const std::string& nom = "agenda") const;

private:
    RepertoireTemp dossier_;
    int port_ = 0;
    std::unique_ptr<QProcess> processus_;
};

// Base of the tests that need the server: skipped when radicale is missing.
class EssaiRadicale : public ::testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<Radicale> serveur;
};

} // namespace quorvel::test
