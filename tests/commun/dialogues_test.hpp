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
        if (reponses.empty())
            return false;
        const bool r = reponses.front();
        reponses.pop_front();
        return r;
    }
    ChoixPolice choisit_police(QWidget*, const ChoixPolice& initiale) override {
        polices_proposees.push_back(initiale);
        if (polices.empty())
            return initiale;
        const ChoixPolice p = polices.front();
        polices.pop_front();
        return p;
    }
    std::uint32_t choisit_couleur(QWidget*, std::uint32_t initiale) override {
        couleurs_proposees.push_back(initiale);
        if (couleurs.empty())
            return initiale;
        const std::uint32_t c = couleurs.front();
        couleurs.pop_front();
        return c;
    }
    QString choisit_fichier(QWidget*, const QString& initial, const QString& filtre) override {
        filtres.push_back(filtre);
        if (fichiers.empty())
            return initial;
        const QString f = fichiers.front();
        fichiers.pop_front();
        return f;
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
};

} // namespace quorvel
