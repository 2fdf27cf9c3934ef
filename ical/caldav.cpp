#include "caldav.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

namespace quorvel::caldav {

namespace {

using Genre = ErreurCaldav::Genre;

const QString ns_dav = QStringLiteral("DAV:");
const QString ns_caldav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString ns_cs = QStringLiteral("http://calendarserver.org/ns/");

// Large enough to keep the requests few, small enough for any server's limits.
constexpr std::size_t lot_multiget = 200;

std::string duree(std::chrono::milliseconds d) {
    const auto ms = d.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + "\u00a0s" : std::to_string(ms) + "\u00a0ms";
}

std::string guillemets(const QString& s) {
    return "«\u00a0" + s.toStdString() + "\u00a0»";
}

// One <response> of a multistatus, with the properties of its 200 propstat.
struct Reponse {
    QString href;
    QString etag, ctag, jeton;
    QByteArray donnees;
    bool collection = false;
    bool trouvee = false; // a propstat, or the response itself, said 200
};

bool statut_ok(const QString& ligne) {
    // "HTTP/1.1 200 OK"
    const QStringList mots = ligne.simplified().split(' ');
    return mots.size() >= 2 && mots[1].startsWith('2');
}

[[noreturn]] void reponse_illisible(const std::string& pourquoi) {
    throw ErreurCaldav(Genre::reponse, "réponse du serveur incompréhensible (" + pourquoi + ")");
}

std::vector<Reponse> lit_multistatus(const QByteArray& corps) {
    QXmlStreamReader xml(corps);
    std::vector<Reponse> reponses;
    if (!xml.readNextStartElement() || xml.namespaceUri() != ns_dav || xml.name() != u"multistatus")
        reponse_illisible(xml.hasError()
                              ? "XML incorrect, ligne " + std::to_string(xml.lineNumber())
                              : "pas de multistatus");
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() != ns_dav || xml.name() != u"response") {
            xml.skipCurrentElement();
            continue;
        }
        Reponse r;
        while (xml.readNextStartElement()) {
            const bool dav = xml.namespaceUri() == ns_dav;
            if (dav && xml.name() == u"href")
                r.href = xml.readElementText().trimmed();
            else if (dav && xml.name() == u"status")
                r.trouvee = statut_ok(xml.readElementText());
            else if (dav && xml.name() == u"propstat") {
                Reponse p;
                bool ok = false;
                while (xml.readNextStartElement()) {
                    if (xml.namespaceUri() == ns_dav && xml.name() == u"status")
                        ok = statut_ok(xml.readElementText());
                    else if (xml.namespaceUri() == ns_dav && xml.name() == u"prop") {
                        while (xml.readNextStartElement()) {
                            const QString ns = xml.namespaceUri().toString();
                            const auto nom = xml.name();
                            if (ns == ns_dav && nom == u"getetag")
                                p.etag = xml.readElementText().trimmed();
                            else if (ns == ns_dav && nom == u"sync-token")
                                p.jeton = xml.readElementText().trimmed();
                            else if (ns == ns_cs && nom == u"getctag")
                                p.ctag = xml.readElementText().trimmed();
                            else if (ns == ns_caldav && nom == u"calendar-data")
                                p.donnees = xml.readElementText().toUtf8();
                            else if (ns == ns_dav && nom == u"resourcetype") {
                                while (xml.readNextStartElement()) {
                                    p.collection |=
                                        xml.namespaceUri() == ns_dav && xml.name() == u"collection";
                                    xml.skipCurrentElement();
                                }
                            } else
                                xml.skipCurrentElement();
                        }
                    } else
                        xml.skipCurrentElement();
                }
                if (ok) {
                    r.trouvee = true;
                    r.etag = p.etag.isEmpty() ? r.etag : p.etag;
                    r.ctag = p.ctag.isEmpty() ? r.ctag : p.ctag;
                    r.jeton = p.jeton.isEmpty() ? r.jeton : p.jeton;
                    r.donnees = p.donnees.isEmpty() ? r.donnees : p.donnees;
                    r.collection |= p.collection;
                }
            } else
                xml.skipCurrentElement();
        }
        if (r.href.isEmpty() && !xml.hasError())
            reponse_illisible("réponse sans href");
        reponses.push_back(std::move(r));
    }
    if (xml.hasError())
        reponse_illisible("XML incorrect, ligne " + std::to_string(xml.lineNumber()));
    return reponses;
}

// The body of a PROPFIND or REPORT: a root element in DAV: or CalDAV, its
// properties, and for a multiget the hrefs.
QByteArray corps_xml(const QString& ns_racine, const QString& racine,
                     const std::vector<std::pair<QString, QString>>& proprietes,
                     const std::vector<QString>& hrefs = {}) {
    QByteArray corps;
    QXmlStreamWriter w(&corps);
    w.writeNamespace(ns_dav, "d");
    w.writeNamespace(ns_caldav, "c");
    w.writeNamespace(ns_cs, "cs");
    w.writeStartDocument();
    w.writeStartElement(ns_racine, racine);
    w.writeStartElement(ns_dav, "prop");
    for (const auto& [ns, nom] : proprietes)
        w.writeEmptyElement(ns, nom);
    w.writeEndElement();
    for (const QString& h : hrefs)
        w.writeTextElement(ns_dav, "href", h);
    w.writeEndElement();
    w.writeEndDocument();
    return corps;
}

} // namespace

std::string refus_url(const std::string& url) {
    const QUrl u(QString::fromStdString(url), QUrl::StrictMode);
    const QString schema = u.scheme().toLower();
    if (!u.isValid() || u.host().isEmpty() || (schema != "https" && schema != "http"))
        return guillemets(QString::fromStdString(url)) + " n'est pas une adresse https:// valable";
    if (schema == "https")
        return {};
    const QString hote = u.host().toLower();
    if (hote == "localhost" || QHostAddress(hote).isLoopback())
        return {};
    return guillemets(QString::fromStdString(url)) +
           " n'est pas chiffré\u00a0: seul https:// est accepté, sauf vers cette machine";
}

struct Client::Interne {
    Compte compte;
    QUrl collection; // its path ends with '/'
    std::chrono::milliseconds delai;
    const std::atomic<bool>* arret = nullptr;
    QNetworkAccessManager reseau;
    int requetes = 0;
    long long octets = 0;

    QUrl url_de(const std::string& href) const {
        QUrl u = collection;
        u.setPath(QString::fromStdString(href), QUrl::DecodedMode);
        return u;
    }

    // The path of an href of an answer, decoded, resolved against the collection.
    QString chemin(const QString& href) const {
        return collection.resolved(QUrl::fromEncoded(href.toUtf8())).path(QUrl::FullyDecoded);
    }

    struct Resultat {
        int statut;
        QByteArray corps;
        QByteArray etag;
    };

    // Sends and waits. A status listed in `admis` is returned; any other
    // failure throws.
    Resultat envoie(const QByteArray& verbe, const QUrl& url,
                    const std::vector<std::pair<QByteArray, QByteArray>>& entetes,
                    const QByteArray& corps, std::initializer_list<int> admis = {}) {
        if (const std::string refus = refus_url(url.toString(QUrl::FullyEncoded).toStdString());
            !refus.empty())
            throw ErreurCaldav(Genre::reseau, refus);
        if (!QCoreApplication::instance())
            throw ErreurCaldav(Genre::reseau, "pas d'application Qt pour parler au serveur");
        const auto arretee = [this] { return arret && arret->load(); };
        if (arretee())
            throw ErreurCaldav(Genre::reseau, "synchronisation arrêtée");
        QNetworkRequest req(url);
        req.setTransferTimeout(static_cast<int>(delai.count()));
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
        if (!compte.utilisateur.empty())
            req.setRawHeader(
                "Authorization",
                "Basic " + QByteArray::fromStdString(compte.utilisateur + ":" + compte.mot_de_passe)
                               .toBase64());
        for (const auto& [nom, valeur] : entetes)
            req.setRawHeader(nom, valeur);
        ++requetes;
        const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> r(
            reseau.sendCustomRequest(req, verbe, corps));
        QEventLoop boucle;
        QObject::connect(r.data(), &QNetworkReply::finished, &boucle, &QEventLoop::quit);
        QTimer veille;
        if (arret) {
            QObject::connect(&veille, &QTimer::timeout, r.data(), [&r, &arretee] {
                if (arretee())
                    r->abort();
            });
            veille.start(50);
        }
        if (!r->isFinished())
            boucle.exec(QEventLoop::ExcludeUserInputEvents);
        veille.stop();
        if (arretee())
            throw ErreurCaldav(Genre::reseau, "synchronisation arrêtée");
        Resultat res{r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     r->isOpen() ? r->readAll() : QByteArray(), r->rawHeader("ETag")};
        octets += res.corps.size();
        const auto erreur = r->error();
        const std::string hote = guillemets(url.host());
        if (erreur == QNetworkReply::OperationCanceledError ||
            erreur == QNetworkReply::TimeoutError)
            throw ErreurCaldav(Genre::delai, "le serveur " + hote + " ne répond pas (délai de " +
                                                 duree(delai) + " dépassé)");
        const int s = res.statut;
        if (s > 0) {
            if (std::find(admis.begin(), admis.end(), s) != admis.end() || (s >= 200 && s < 300))
                return res;
            const std::string code = " (" + std::to_string(s) + ")";
            if (s == 401)
                throw ErreurCaldav(Genre::refus,
                                   "identifiant ou mot de passe refusé par le serveur" + code, s);
            if (s == 403)
                throw ErreurCaldav(Genre::refus, "accès refusé par le serveur" + code, s);
            if (s == 412)
                throw ErreurCaldav(Genre::conflit,
                                   "l'élément a changé sur le serveur depuis sa lecture" + code, s);
            const QString raison =
                r->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            throw ErreurCaldav(
                Genre::serveur,
                "le serveur a répondu " +
                    guillemets(QString::number(s) + (raison.isEmpty() ? "" : " " + raison)),
                s);
        }
        switch (erreur) {
        case QNetworkReply::ConnectionRefusedError:
            throw ErreurCaldav(Genre::reseau, "connexion refusée par le serveur " + hote);
        case QNetworkReply::HostNotFoundError:
            throw ErreurCaldav(Genre::reseau, "serveur " + hote + " introuvable");
        case QNetworkReply::SslHandshakeFailedError:
            throw ErreurCaldav(Genre::reseau, "certificat du serveur " + hote + " refusé");
        case QNetworkReply::RemoteHostClosedError:
            throw ErreurCaldav(Genre::reseau, "connexion coupée par le serveur " + hote);
        case QNetworkReply::ProtocolFailure:
        case QNetworkReply::ProtocolUnknownError:
            reponse_illisible("pas du HTTP");
        default:
            throw ErreurCaldav(Genre::reseau, "le serveur " + hote + " est injoignable (" +
                                                  r->errorString().toStdString() + ")");
        }
    }

    std::vector<Reponse> propfind(const char* profondeur, const QByteArray& corps) {
        const Resultat res = envoie(
            "PROPFIND", collection,
            {{"Depth", profondeur}, {"Content-Type", "application/xml; charset=utf-8"}}, corps);
        if (res.statut != 207)
            reponse_illisible("statut " + std::to_string(res.statut) + " au lieu de 207");
        return lit_multistatus(res.corps);
    }
};

Client::Client(Compte compte, std::chrono::milliseconds delai) : i_(std::make_unique<Interne>()) {
    i_->compte = std::move(compte);
    i_->delai = delai;
    i_->collection = QUrl(QString::fromStdString(i_->compte.url));
    if (!i_->collection.path().endsWith('/'))
        i_->collection.setPath(i_->collection.path() + '/');
}

Client::~Client() = default;

void Client::regle_arret(const std::atomic<bool>* arret) {
    i_->arret = arret;
}

Marques Client::marques() {
    const auto reponses = i_->propfind(
        "0", corps_xml(ns_dav, "propfind", {{ns_cs, "getctag"}, {ns_dav, "sync-token"}}));
    Marques m;
    for (const Reponse& r : reponses)
        if (r.trouvee && i_->chemin(r.href) == i_->collection.path(QUrl::FullyDecoded)) {
            m.ctag = r.ctag.toStdString();
            m.jeton = r.jeton.toStdString();
        }
    return m;
}

std::vector<Ressource> Client::liste() {
    const auto reponses = i_->propfind(
        "1", corps_xml(ns_dav, "propfind", {{ns_dav, "resourcetype"}, {ns_dav, "getetag"}}));
    std::vector<Ressource> items;
    const QString soi = i_->collection.path(QUrl::FullyDecoded);
    for (const Reponse& r : reponses) {
        const QString chemin = i_->chemin(r.href);
        if (r.trouvee && !r.collection && chemin != soi && chemin + '/' != soi)
            items.push_back({chemin.toStdString(), r.etag.toStdString(), {}});
    }
    return items;
}

std::vector<Ressource> Client::lit(const std::vector<std::string>& hrefs) {
    std::vector<Ressource> items;
    for (std::size_t debut = 0; debut < hrefs.size(); debut += lot_multiget) {
        std::vector<QString> lot;
        for (std::size_t k = debut; k < std::min(hrefs.size(), debut + lot_multiget); ++k)
            lot.push_back(i_->url_de(hrefs[k]).path(QUrl::FullyEncoded));
        const Interne::Resultat res = i_->envoie(
            "REPORT", i_->collection, {{"Content-Type", "application/xml; charset=utf-8"}},
            corps_xml(ns_caldav, "calendar-multiget",
                      {{ns_dav, "getetag"}, {ns_caldav, "calendar-data"}}, lot));
        if (res.statut != 207)
            reponse_illisible("statut " + std::to_string(res.statut) + " au lieu de 207");
        for (const Reponse& r : lit_multistatus(res.corps))
            if (r.trouvee && !r.donnees.isEmpty())
                items.push_back({i_->chemin(r.href).toStdString(), r.etag.toStdString(),
                                 r.donnees.toStdString()});
    }
    return items;
}

std::string Client::ecrit(const std::string& href, const std::string& ics,
                          const std::string& etag) {
    std::vector<std::pair<QByteArray, QByteArray>> entetes = {
        {"Content-Type", "text/calendar; charset=utf-8"}};
    if (etag.empty())
        entetes.push_back({"If-None-Match", "*"});
    else
        entetes.push_back({"If-Match", QByteArray::fromStdString(etag)});
    return i_->envoie("PUT", i_->url_de(href), entetes, QByteArray::fromStdString(ics))
        .etag.toStdString();
}

void Client::efface(const std::string& href, const std::string& etag) {
    std::vector<std::pair<QByteArray, QByteArray>> entetes;
    if (!etag.empty())
        entetes.push_back({"If-Match", QByteArray::fromStdString(etag)});
    i_->envoie("DELETE", i_->url_de(href), entetes, {}, {404});
}

std::string Client::href_de(const std::string& nom) const {
    return i_->collection.path(QUrl::FullyDecoded).toStdString() + nom;
}

int Client::requetes() const {
    return i_->requetes;
}

long long Client::octets_recus() const {
    return i_->octets;
}

} // namespace quorvel::caldav
