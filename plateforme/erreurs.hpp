#pragma once
// Errors that travel from the file layer and the arithmetic up to the one
// guard around each event handler (see garde.hpp).
#include <stdexcept>
#include <string>

namespace quorvel {

// Codes of the file layer, as the user sees them.
enum CodeES : int {
    es_fichier_introuvable = 2,
    es_nom_incorrect = 3,
    es_trop_de_fichiers = 4,
    es_acces_refuse = 5,
    es_fin_de_fichier = 100,
    es_disque_plein = 101,
    es_saisie_numerique = 106,
};

// Base of every error shown to the user; message() is UTF-8, without the final full stop.
class ErreurQuorvel : public std::runtime_error {
public:
    explicit ErreurQuorvel(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

class ErreurES : public ErreurQuorvel {
public:
    explicit ErreurES(int code);
    int code() const { return code_; }

private:
    int code_;
};

enum class Arithmetique { division_par_zero, operation_incorrecte, debordement };

class ErreurCalcul : public ErreurQuorvel {
public:
    explicit ErreurCalcul(Arithmetique genre);
    Arithmetique genre() const { return genre_; }

private:
    Arithmetique genre_;
};

// French text of an I/O error code: "Fichier introuvable", ..., "Erreur E/S 29".
std::string message_es(int code);
// errno of a failed POSIX call to the program's I/O error code.
int code_depuis_errno(int e);
// French text of an arithmetic failure.
std::string message_calcul(Arithmetique genre);

} // namespace quorvel
