#pragma once
// Message boxes, the three choosers and the help, behind one interface so that
// tests answer them without a modal loop.
#include "erreurs.hpp"

#include <QString>
#include <cstdint>
#include <optional>

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
    // A password typed without being shown, "OK" and "Annuler"; nothing when
    // cancelled or left empty.
    virtual std::optional<QString> demande_mot_de_passe(QWidget* parent, const QString& titre,
                                                        const QString& invite) = 0;
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

// The real dialogs: QMessageBox, QInputDialog, QFontDialog, QColorDialog, QFileDialog. The
// help goes to the viewer installed with regle_aide (the menu provides it).
class DialoguesQt final : public Dialogues {
public:
    using OuvreurAide = void (*)(QWidget* parent, const QString& fichier, int sujet);
    void regle_aide(OuvreurAide ouvreur) { aide_ = ouvreur; }
    void erreur(QWidget* parent, const QString& titre, const QString& texte) override;
    bool confirme(QWidget* parent, const QString& titre, const QString& texte) override;
    std::optional<QString> demande_mot_de_passe(QWidget* parent, const QString& titre,
                                                const QString& invite) override;
    ChoixPolice choisit_police(QWidget* parent, const ChoixPolice& initiale) override;
    std::uint32_t choisit_couleur(QWidget* parent, std::uint32_t initiale) override;
    QString choisit_fichier(QWidget* parent, const QString& initial,
                            const QString& filtre) override;
    void ouvre_aide(QWidget* parent, const QString& fichier, int sujet) override;

private:
    OuvreurAide aide_ = nullptr;
};

} // namespace quorvel
