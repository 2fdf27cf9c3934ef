#include "radicale.hpp"

#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace quorvel::test {

namespace {

const char* const utilisateur = "lucie";
const char* const mot_de_passe = "mot-de-passe du test";

QString programme() {
    return QStandardPaths::findExecutable("radicale");
}

} // namespace

bool Radicale::present() {
    return !programme().isEmpty();
}

Radicale::Radicale() {
    QTcpServer libre;
    if (!libre.listen(QHostAddress::LocalHost))
        throw std::runtime_error("pas de port libre sur 127.0.0.1");
    port_ = libre.serverPort();
    libre.close();
    dossier_.ecrit("utilisateurs", std::string(utilisateur) + ":" + mot_de_passe + "\n");
    dossier_.ecrit(
        "config",
        "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) +
            "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " + dossier_.fichier("utilisateurs") +
            "\nhtpasswd_encryption = plain\ndelay = 0\n[rights]\ntype = owner_only\n"
            "[storage]\nfilesystem_folder = " +
            dossier_.fichier("collections") + "\n[web]\ntype = none\n[logging]\nlevel = warning\n");
    demarre();
}

Radicale::~Radicale() {
    arrete();
}

void Radicale::arrete() {
    if (!processus_)
        return;
    processus_->terminate();
    if (!processus_->waitForFinished(5000)) {
        processus_->kill();
        processus_->waitForFinished(5000);
    }
    processus_.reset();
}

void Radicale::demarre() {
    if (processus_)
        return;
    processus_ = std::make_unique<QProcess>();
    processus_->setProcessChannelMode(QProcess::MergedChannels);
    processus_->setStandardOutputFile(QString::fromStdString(dossier_.fichier("journal")),
                                      QIODevice::Append);
    processus_->start(programme(),
                      {"--config", QString::fromStdString(dossier_.fichier("config"))});
    // Python takes its time to import; the port answers once it serves.
    for (int essai = 0; essai < 200 && processus_->state() != QProcess::NotRunning; ++essai) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
        if (s.waitForConnected(100))
            return;
        QThread::msleep(50);
    }
    const std::string journal = dossier_.lit("journal");
    arrete();
    throw std::runtime_error("radicale n'écoute pas sur le port " + std::to_string(port_) + "\n" +
                             journal);
}

std::string Radicale::dossier_calendrier(const std::string& nom) const {
    return dossier_.fichier("collections/collection-root/") + utilisateur + "/" + nom + "/";
}

std::string Radicale::calendrier(const std::string& nom) {
    const std::string d = dossier_calendrier(nom);
    if (!std::filesystem::exists(d + ".Radicale.props")) {
        std::filesystem::create_directories(d);
        std::ofstream(d + ".Radicale.props") << R"({"tag": "VCALENDAR"})";
    }
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + utilisateur + "/" + nom + "/";
}

caldav::Compte Radicale::compte(const std::string& nom) {
    return {calendrier(nom), utilisateur, mot_de_passe};
}

void EssaiRadicale::SetUp() {
    if (!Radicale::present())
        GTEST_SKIP() << "radicale n'est pas installé";
    serveur = std::make_unique<Radicale>();
}

} // namespace quorvel::test
