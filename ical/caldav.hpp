#pragma once
// A CalDAV calendar collection (RFC 4791) over Qt Network: the collection's
// change marks, the ETags of its items, the items themselves, and writes that
// only succeed on the version they were meant for. Calls block until the
// server answers or the delay runs out; they need a QCoreApplication. A URL
// refus_url() refuses is never sent to (ErreurCaldav::reseau).
#include "plateforme/erreurs.hpp"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quorvel::caldav {

struct Compte {
    std::string url; // of the calendar collection
    std::string utilisateur;
    std::string mot_de_passe;
};

// Why a request failed, in French ("le serveur ne répond pas", "identifiant ou
// mot de passe refusé"…), without the final full stop.
class ErreurCaldav : public ErreurQuorvel {
public:
    enum class Genre {
        reseau,  // refused, unreachable, cut, TLS refused
        delai,   // no answer in time
        refus,   // 401, 403
        conflit, // 412: the item is no longer the version given
        serveur, // any other status
        reponse, // an answer that is not what CalDAV says (junk XML…)
    };
    ErreurCaldav(Genre genre, const std::string& message, int statut = 0)
        : ErreurQuorvel(message), genre_(genre), statut_(statut) {}
    Genre genre() const { return genre_; }
    int statut() const { return statut_; } // the HTTP status, 0 when none

private:
    Genre genre_;
    int statut_;
};

// What tells, in one small request, whether anything in the collection changed.
struct Marques {
    std::string ctag;  // CalendarServer getctag, empty when the server has none
    std::string jeton; // DAV sync-token, empty when the server has none
    bool operator==(const Marques&) const = default;
};

struct Ressource {
    std::string href;    // path of the item, as the server names it ("/cal/x.ics")
    std::string etag;    // as the server gives it, quotes included
    std::string donnees; // the item's iCalendar text (UTF-8); empty in a listing
};

// Empty when `url` may be used: https, or plain http to this machine only
// (127.0.0.0/8, ::1, localhost). Otherwise why not, in French.
std::string refus_url(const std::string& url);

class Client {
public:
    explicit Client(Compte compte,
                    std::chrono::milliseconds delai = std::chrono::milliseconds(20000));
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // PROPFIND depth 0 on the collection.
    Marques marques();
    // The items of the collection with their ETags, without their data
    // (PROPFIND depth 1, getetag), the collection itself left out.
    std::vector<Ressource> liste();
    // The data of the items named (calendar-multiget REPORT), in batches; an
    // item the server no longer has is left out of the answer.
    std::vector<Ressource> lit(const std::vector<std::string>& hrefs);
    // PUT. An empty `etag` creates only (If-None-Match: *); otherwise replaces
    // only that version (If-Match). Returns the new ETag, empty when the
    // server gives none. Throws ErreurCaldav::conflit on 412.
    std::string ecrit(const std::string& href, const std::string& ics, const std::string& etag);
    // DELETE with If-Match (none when `etag` is empty). An item already gone
    // (404) is not an error.
    void efface(const std::string& href, const std::string& etag);

    // From then on, a request under way is cut as soon as *arret turns true,
    // and none is sent after (ErreurCaldav::reseau): the desk, closing, does
    // not wait for a slow server. `arret` outlives the client.
    void regle_arret(const std::atomic<bool>* arret);

    // The href of a new item named `nom` in the collection ("/cal/" + nom).
    std::string href_de(const std::string& nom) const;
    // Requests sent and bytes of answer bodies received so far, for the
    // report and the benchmarks.
    int requetes() const;
    long long octets_recus() const;

private:
    struct Interne;
    std::unique_ptr<Interne> i_;
};

} // namespace quorvel::caldav
