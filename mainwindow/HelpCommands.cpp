// The help file and the about window, and the help viewer's close-all at the window's end.

#include "mainwindow/_Tablor.h"

#include "about/About.h"
#include "help/hh.h"
#include "platform/StringGridView.h"

namespace tablor {

TForm1::~TForm1() {
    // FormDestroy: no help window outlives the program.
    CloseAllHelp();

    // The view goes before the table it shows, which is a member and dies first otherwise.
    grid().onClick = nullptr;
    delete StringGrid1;
}

// Asks the help viewer for Tablor.chm beside the executable; without a viewer, a beep.
void TForm1::N1rubriquesdelaide1Click() {
    if (!ShowHelpFile(platform_.executablePath())) platform_.beep();
}

void TForm1::Aproposde1Click() { AboutBox1->Execute(); }

} // namespace tablor
