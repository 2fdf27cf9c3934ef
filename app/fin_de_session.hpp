#pragma once
// The end of the desktop session reaches the program as SIGTERM, SIGHUP or
// SIGINT (logout, shutdown, the terminal closed) or as the session manager's
// request to save. Each is turned into one call on the user-interface thread,
// where the page can be saved as the quit question's "OK" saves it.
#include <QObject>
#include <functional>

class QSocketNotifier;
class QSessionManager;

namespace quorvel {

class TFinDeSession : public QObject {
    Q_OBJECT
public:
    // signal_recu: after a signal (then the program ends); sauvegarde: on the
    // session manager's request, which is followed by the end or not.
    TFinDeSession(std::function<void()> signal_recu, std::function<void()> sauvegarde,
                  QObject* parent = nullptr);
    ~TFinDeSession() override;

private:
    void lit_signal();
    std::function<void()> signal_recu_;
    QSocketNotifier* notification_ = nullptr;
};

} // namespace quorvel
