#pragma once
#include "notifications.hpp"

#include <QImage>

namespace quorvel {

// The freedesktop notification service on the session bus. The bus is
// reached at the first notification, never at start-up, and every call is sent
// without waiting for its answer: a desktop without a bus or without the
// service costs nothing and says nothing.
class NotificateurDBus final : public Notificateur {
public:
    // icone: the program's icon, sent as pixels, so that it shows whether the
    // program is installed or not.
    explicit NotificateurDBus(QImage icone);
    void notifie(const std::string& corps) override;

private:
    QImage icone_;
    bool essaye_ = false;
    bool bus_ = false;
};

} // namespace quorvel
