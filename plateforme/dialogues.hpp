#pragma once
// Message boxes, the three choosers and the help, behind one interface so that
// tests answer them without a modal loop.
#include "erreurs.hpp"

#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

class QWidget;

namespace quorvel {

// A font as the font chooser deals with it. couleur is 0x00BBGGRR.
struct ChoixPolice {
    QString nom;
    int taille = 0; // points
    bool gras = false, italique = false, souligne = false, barre = false;
    std::uint32_t couleur = 0;
    bool operator==(const ChoixPolice&) const = default;
};

class Dialogues {
public:
    virtual ~Dialogues() = default;
    // Error icon, one "OK" button.
    virtual void erreur(QWidget* parent, const QString& titre, const QString& texte) = 0;
    // Question icon, "OK" and "Annuler"; true for "OK".
    virtual bool confirme(QWidget* parent, const QString& titre, const QString& texte) = 0;
    // Each chooser returns what the user chose, or the initial value when cancelled.
    // The font keeps its initial name unless the user picks another face: a
    // name drawn by a substitute face must not turn into the substitute's name.
    virtual ChoixPolice choisit_police(QWidget* parent, const ChoixPolice& initiale) = 0;
    // Basic colours only, no custom-colour extension.
    virtual std::uint32_t choisit_couleur(QWidget* parent, std::uint32_t initiale) = 0;
    virtual QString choisit_fichier(QWidget* parent, const QString& initial,
                                    const QString& filtre) = 0;
    // Opens the help file at a topic (1 main window and menu, 6 saints, 7 alarms, 8 configuration).
    virtual void ouvre_aide(QWidget* parent, const QString& fichier, int sujet) = 0;
};

// The real dialogs: QMessageBox, QFontDialog, QColorDialog, QFileDialog. The
// help goes to the viewer installed with regle_aide (the menu provides it).
class DialoguesQt final : public Dialogues {
public:
    using OuvreurAide = void (*)(QWidget* parent, const QString& fichier, int sujet);
    void regle_aide(OuvreurAide ouvreur) { aide_ = ouvreur; }
    void erreur(QWidget* parent, const QString& titre, const QString& texte) override;
    bool confirme(QWidget* parent, const QString& titre, const QString& texte) override;
    ChoixPolice choisit_police(QWidget* parent, const ChoixPolice& initiale) override;
    std::uint32_t choisit_couleur(QWidget* parent, std::uint32_t initiale) override;
    QString choisit_fichier(QWidget* parent, const QString& initial,
                            const QString& filtre) override;
    void ouvre_aide(QWidget* parent, const QString& fichier, int sujet) override;

private:
    OuvreurAide aide_ = nullptr;
};

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
