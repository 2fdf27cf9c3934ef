#pragma once
// Files of fixed-size records over POSIX calls. Every failure throws ErreurES
// with the program's I/O code. A file is opened, used and closed inside one
// operation; the destructor closes quietly what an exception left open.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

class FichierEnregistrements {
public:
    // Opens an existing file for reading and writing. Empty when there is no such
    // file (the caller may then create it); any other failure (access refused,
    // too many open files, a folder of that name) throws, so that a file that
    // exists is never replaced by a new empty one.
    static std::optional<FichierEnregistrements> ouvre(const std::string& chemin,
                                                       std::size_t taille_enregistrement);
    // Opens an existing file for reading only; throws when it cannot be opened.
    static FichierEnregistrements ouvre_lecture(const std::string& chemin,
                                                std::size_t taille_enregistrement);
    // Creates the file empty and opens it, where a chain of symbolic links ends
    // when the name is one. A file that already exists is never emptied: that
    // is an error (the caller found none a moment before).
    static FichierEnregistrements cree(const std::string& chemin,
                                       std::size_t taille_enregistrement);

    FichierEnregistrements(FichierEnregistrements&& autre) noexcept;
    FichierEnregistrements& operator=(FichierEnregistrements&& autre) noexcept;
    FichierEnregistrements(const FichierEnregistrements&) = delete;
    FichierEnregistrements& operator=(const FichierEnregistrements&) = delete;
    ~FichierEnregistrements();

    std::int64_t taille_octets() const;
    // Number of whole records; an incomplete last record does not count.
    std::int64_t nombre() const { return taille_octets() / static_cast<std::int64_t>(taille_); }
    std::size_t taille_enregistrement() const { return taille_; }

    // Record n into the buffer; a record cut short by the end of the file is error 100.
    void lit(std::int64_t n, void* tampon) const;
    void ecrit(std::int64_t n, const void* tampon);
    void lit_octets(std::int64_t position, void* tampon, std::size_t longueur) const;
    void ecrit_octets(std::int64_t position, const void* tampon, std::size_t longueur);
    // Keeps the first n records.
    void tronque(std::int64_t n);
    void synchronise();
    void ferme();
    const std::string& chemin() const { return chemin_; }

private:
    friend void remplace_atomiquement(const std::string&, const std::string&);
    FichierEnregistrements(int fd, std::string chemin, std::size_t taille);
    int fd_ = -1;
    std::string chemin_;
    std::size_t taille_ = 1;
};

bool fichier_existe(const std::string& chemin);
// Deletes the file; throws on failure.
void efface_fichier(const std::string& chemin);
// Whole content of a file (throws when it cannot be read).
std::string lit_tout(const std::string& chemin);
// All a descriptor gives until its end (the standard input of a script),
// without its last line break ("\n" or "\r\n"); what was read before a
// failure. Never throws.
std::string lit_jusqu_a_la_fin(int fd);
// Replaces the file's content atomically: the bytes go to a temporary file of a
// unique name in the same directory, are flushed, and the temporary is renamed
// over the old file, then the directory is flushed. At every instant the old or
// the new content exists. The file keeps its mode and, where permitted, its
// owner and group; through a symbolic link the file it points to is replaced
// and the link stays. On failure the temporary is removed.
void remplace_atomiquement(const std::string& chemin, const std::string& octets);
// Removes from the directory the temporaries of the replace that a killed run
// left behind (plain files named like "PAD.quorvel-Ab12Cd", nothing else); the
// number removed. Never throws.
int efface_provisoires(const std::string& repertoire);

// Fault injection for tests: the n-th file operation from now (1 = the next)
// fails with the given errno; errno 0 makes a read come back short instead.
namespace pannes {
void arme(int operation, int erreur);
void desarme();
// Operations counted since the last arme()/desarme() (to walk every step).
int operations();
// The system call the armed fault fell on ("mkstemp", "fsync dossier"...); empty
// until it has fallen.
std::string touchee();
} // namespace pannes

} // namespace quorvel
