#include "garde.hpp"

#include "erreurs.hpp"

#include <new>

namespace quorvel {

bool garde_execute(Dialogues& dialogues, QWidget* parent, const QString& titre,
                   const std::function<void()>& f) {
    QString message;
    try {
        f();
        return true;
    } catch (const ErreurQuorvel& e) {
        message = QString::fromStdString(e.message());
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Mémoire insuffisante");
    } catch (const std::exception& e) {
        message = QStringLiteral("Erreur interne : ") + QString::fromLocal8Bit(e.what());
    }
    dialogues.erreur(parent, titre, message + QLatin1Char('.'));
    return false;
}

} // namespace quorvel
