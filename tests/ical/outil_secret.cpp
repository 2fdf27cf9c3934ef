// For the script test: the password of an account through the Secret Service.
//   outil_secret garde URL UTILISATEUR   (the password on the standard input)
//   outil_secret lit URL UTILISATEUR     (prints it; 1 when there is none)
#include "ical/compte_caldav.hpp"
#include "plateforme/fichier.hpp"

#include <iostream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace quorvel::caldav;
    if (argc != 4)
        return 2;
    const std::string action = argv[1];
    const Reglage r{argv[2], argv[3]};
    if (action == "garde")
        return garde_mot_de_passe(r, quorvel::lit_jusqu_a_la_fin(STDIN_FILENO)) ? 0 : 1;
    if (action == "lit") {
        const auto mot_de_passe = mot_de_passe_garde(r);
        if (!mot_de_passe)
            return 1;
        std::cout << *mot_de_passe;
        return 0;
    }
    return 2;
}
