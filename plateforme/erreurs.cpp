#include "erreurs.hpp"

#include <cerrno>

namespace quorvel {

ErreurES::ErreurES(int code) : ErreurQuorvel(message_es(code)), code_(code) {}

ErreurCalcul::ErreurCalcul(Arithmetique genre)
    : ErreurQuorvel(message_calcul(genre)), genre_(genre) {}

std::string message_es(int code) {
    switch (code) {
    case es_fichier_introuvable:
        return "Fichier introuvable";
    case es_nom_incorrect:
        return "Nom de fichier incorrect";
    case es_trop_de_fichiers:
        return "Trop de fichiers ouverts";
    case es_acces_refuse:
        return "Accès au fichier refusé";
    case es_fin_de_fichier:
        return "Lecture au delà de la fin de fichier";
    case es_disque_plein:
        return "Disque plein";
    case es_saisie_numerique:
        return "Saisie numérique incorrecte";
    default:
        return "Erreur E/S " + std::to_string(code);
    }
}

int code_depuis_errno(int e) {
    switch (e) {
    case ENOENT:
        return es_fichier_introuvable;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return es_nom_incorrect;
    case EMFILE:
    case ENFILE:
        return es_trop_de_fichiers;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return es_acces_refuse;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return es_disque_plein;
    case EBADF:
        return 6; // invalid handle
    case EXDEV:
        return 17; // not the same device
    case EIO:
        return 29; // device fault
    default:
        return 1000 + e; // shown as "Erreur E/S n", never mistaken for a known code
    }
}

std::string message_calcul(Arithmetique genre) {
    switch (genre) {
    case Arithmetique::division_par_zero:
        return "Division flottante par zéro";
    case Arithmetique::operation_incorrecte:
        return "Opération flottante incorrecte";
    case Arithmetique::debordement:
        return "Débordement flottant";
    }
    return {};
}

} // namespace quorvel
