#pragma once
// The desktop's notifications: a reminder shown by the program is also handed
// to the notification service, which tells it wherever the user is.
#include <string>
#include <vector>

namespace quorvel {

class Notificateur {
public:
    virtual ~Notificateur() = default;
    // corps: UTF-8. Returns at once; without a notification service nothing
    // happens and nothing is said.
    virtual void notifie(const std::string& corps) = 0;
};

// Test double: remembers every text it was given.
class NotificateurEnregistreur final : public Notificateur {
public:
    void notifie(const std::string& corps) override { appels.push_back(corps); }
    std::vector<std::string> appels;
};

} // namespace quorvel
