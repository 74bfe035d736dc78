#pragma once
// The record card and the search dialog, made for the main window as start-up makes them: the
// card's buttons run the main window's commands, its copy asks through the copy-options
// dialog, its print goes to the run's printer.

#include "card/_Fiche.h"

namespace tablor {

class TForm1;
class TFind;

// What the card asks of the main window, bound to `form`.
CardCommands cardCommandsFor(TForm1& form);

// The card, hidden, a window of its own owned by the form. Give it to form.setCard().
TFiche* createCard(TForm1& form);
// The search dialog, hidden, owned by the form. Assign it to form.Find.
TFind* createFind(TForm1& form, TFiche* card);

} // namespace tablor
