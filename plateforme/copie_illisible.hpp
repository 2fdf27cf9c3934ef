#pragma once
// A file that could not be read is never written over as it stands: before the
// first write, its bytes are kept beside it under a name that the program never
// opens and the purge never deletes, and the user is told where.
#include <functional>
#include <string>

class QWidget;

namespace quorvel {

class Dialogues;

// Receives the French message (UTF-8) once the copy is kept and before the
// file is written over. Callers hold no file open across it: it may show a
// modal box.
using SignaleCopie = std::function<void(const std::string& message)>;

// Copies the file byte for byte to the first name not taken among chemin +
// ".illisible", ".illisible.2", ".illisible.3"..., so that an earlier copy is
// never overwritten. Throws when the file cannot be read whole: then it must
// not be written over either.
void garde_illisible(const std::string& chemin, const SignaleCopie& signale);

// Whether a file may be written: read whole (lu), or changed by the user, in
// which case what it held is first kept beside it and it counts as read from
// then on. Unread and unchanged: it stays as it is.
bool ecriture_permise(bool& lu, bool modifie, const std::string& chemin,
                      const SignaleCopie& signale);

// Shows the message in an error box over the window, under the title given
// (the application title, as for file errors).
SignaleCopie signale_dans(Dialogues& dialogues, QWidget* fenetre, const std::string& titre);

} // namespace quorvel
