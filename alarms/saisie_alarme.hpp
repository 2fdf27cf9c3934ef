#pragma once
// "SAISIE DE L'ALARME": edits the current alarm record in place. The caller
// fills the record, shows the dialog modally and stores the record afterwards.
#include "plateforme/base_dialogue.hpp"

#include <QString>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quorvel {

struct Contexte;
class Reglages;
struct EnregistrementAlarme;
class THORLOGE_DIGITAL;

class Tsaisie_alarme : public TDialogue {
    Q_OBJECT
public:
    Tsaisie_alarme(Contexte& ctx, const Reglages& reglages, EnregistrementAlarme& courante,
                   QWidget* parent = nullptr);

    void donnee_champ(); // record to controls
    void champ_donnee(); // controls to record
    void etat_frequence();

    void champ4Click();
    // Store the field at once and check it; a refused value is replaced by the
    // current time or today's date. True when the value was accepted.
    bool champ1Exit();
    bool champ7Exit();
    void champ8Click();
    void BitBtn2Click();
    void ok1Click();

    QGroupBox* const GroupBox3;
    QLineEdit* const champ1;
    THORLOGE_DIGITAL* const HORLOGE_DIGITAL1;
    QGroupBox* const GroupBox2;
    QPlainTextEdit* const champ2;
    QCheckBox* const champ3;
    QGroupBox* const GroupBox1;
    QRadioButton* const champ4;
    QComboBox* const champ5;
    QRadioButton* const champ6;
    QLineEdit* const champ7;
    QGroupBox* const GroupBox4;
    QPushButton* const champ8;
    QPushButton* const BitBtn2;
    QPushButton* const ok1;

protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    // Only the opening loads the record: a restore after minimising keeps what was typed.
    void FormActivate() override;
    void limite_texte();

    Contexte& ctx_;
    const Reglages& reglages_;
    EnregistrementAlarme& courante_;
    bool verification_en_cours_ = false;
};

// The multi-line edit's text as stored: Windows-1252, CR LF line breaks, at
// most 200 bytes, never ending in half a line break.
std::string texte_alarme_depuis(const QString& texte);

} // namespace quorvel
