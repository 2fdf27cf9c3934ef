#pragma once
// Answers the real modal dialogs as they open: one answer per dialog, in order.
// A dialog left without an answer is cancelled, so that a test never hangs.
#include "commun/essai.hpp"
#include <QDialog>
#include <vector>

namespace quorvel::test {

class Repondeur {
public:
    using Reponse = std::function<void(QDialog&)>;
    explicit Repondeur(std::vector<Reponse> reponses) : reponses_(std::move(reponses)) {
        QObject::connect(&minuterie_, &QTimer::timeout, [this] { regarde(); });
        minuterie_.start(5);
    }
    // Dialogs that opened, answered or not.
    std::size_t ouverts() const { return ouverts_; }

private:
    void regarde() {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || d == dernier_)
            return;
        dernier_ = d;
        if (ouverts_ < reponses_.size())
            reponses_[ouverts_](*d);
        else
            d->reject();
        ++ouverts_;
    }

    std::vector<Reponse> reponses_;
    std::size_t ouverts_ = 0;
    QDialog* dernier_ = nullptr;
    QTimer minuterie_;
};

} // namespace quorvel::test
