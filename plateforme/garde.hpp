#pragma once
// The one guard around every event handler: an error never crosses Qt's event
// loop; it is shown in a message box (title = application title, error icon,
// "OK", message + ".") and the event loop goes on.
#include "dialogues.hpp"

#include <QString>
#include <functional>
#include <utility>

namespace quorvel {

// Clears a re-entrancy flag for the length of an operation and sets it again
// at the end, whether the operation ended normally or by an error.
class Verrou {
public:
    explicit Verrou(bool& drapeau) : drapeau_(drapeau) { drapeau_ = false; }
    ~Verrou() { drapeau_ = true; }
    Verrou(const Verrou&) = delete;
    Verrou& operator=(const Verrou&) = delete;

private:
    bool& drapeau_;
};

// Runs f; an ErreurQuorvel is reported, any other exception too (as a generic
// I/O error) rather than crossing the event loop. Returns true when f ended normally.
bool garde_execute(Dialogues& dialogues, QWidget* parent, const QString& titre,
                   const std::function<void()>& f);

template <class F> bool garde(Dialogues& dialogues, QWidget* parent, const QString& titre, F&& f) {
    return garde_execute(dialogues, parent, titre, std::function<void()>(std::forward<F>(f)));
}

} // namespace quorvel
