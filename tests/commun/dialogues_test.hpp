#pragma once
// The dialogs' test double.
#include "plateforme/dialogues.hpp"

#include <deque>
#include <string>
#include <vector>

namespace quorvel {

// Test double: records every call and answers from queues (cancel when empty).
class DialoguesTest final : public Dialogues {
public:
    struct Message {
        QString titre, texte;
        bool operator==(const Message&) const = default;
    };
    void erreur(QWidget*, const QString& titre, const QString& texte) override {
        erreurs.push_back({titre, texte});
    }
    bool confirme(QWidget*, const QString& titre, const QString& texte) override {
        confirmations.push_back({titre, texte});
        return suivante(reponses, false);
    }
    // Cancelled: the desk's own password box is tried under Xvfb only.
    std::optional<QString> demande_mot_de_passe(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    ChoixPolice choisit_police(QWidget*, const ChoixPolice& initiale) override {
        polices_proposees.push_back(initiale);
        return suivante(polices, initiale);
    }
    std::uint32_t choisit_couleur(QWidget*, std::uint32_t initiale) override {
        couleurs_proposees.push_back(initiale);
        return suivante(couleurs, initiale);
    }
    QString choisit_fichier(QWidget*, const QString& initial, const QString& filtre) override {
        filtres.push_back(filtre);
        return suivante(fichiers, initial);
    }
    void ouvre_aide(QWidget*, const QString& fichier, int sujet) override {
        aides.push_back({fichier, sujet});
        if (!aide_illisible.empty())
            throw ErreurQuorvel(aide_illisible);
    }

    std::vector<Message> erreurs, confirmations;
    std::deque<bool> reponses;
    std::deque<ChoixPolice> polices;
    std::vector<ChoixPolice> polices_proposees;
    std::deque<std::uint32_t> couleurs;
    std::vector<std::uint32_t> couleurs_proposees;
    std::deque<QString> fichiers;
    std::vector<QString> filtres;
    struct Aide {
        QString fichier;
        int sujet;
    };
    std::vector<Aide> aides;
    // When set, the help behaves as a help file that cannot be read.
    std::string aide_illisible;

private:
    // The next queued answer, or `sinon` (the dialog cancelled) when none is left.
    template <class T> static T suivante(std::deque<T>& file, const T& sinon) {
        if (file.empty())
            return sinon;
        T v = file.front();
        file.pop_front();
        return v;
    }
};

} // namespace quorvel
