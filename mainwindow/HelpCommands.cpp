// The help menu: the help file and the about window.

#include "mainwindow/_Tablor.h"

#include "about/About.h"
#include "help/hh.h"

namespace tablor {

// Asks the help viewer for the program's help file; without a viewer, a beep.
void TForm1::N1rubriquesdelaide1Click() {
    if (!ShowHelpFile(platform_.executablePath())) platform_.beep();
}

void TForm1::Aproposde1Click() {
    AboutBox1->Execute();
}

} // namespace tablor
