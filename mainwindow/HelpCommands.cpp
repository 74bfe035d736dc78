// The help file and the about window, and the help viewer's close-all at the window's end.

#include "mainwindow/_Tablor.h"

#include "platform/StringGridView.h"

namespace tablor {

TForm1::~TForm1() {
    // FormDestroy: no help window outlives the program.

    // The view goes before the table it shows, which is a member and dies first otherwise.
    grid().onClick = nullptr;
    delete StringGrid1;
}

void TForm1::N1rubriquesdelaide1Click() {}
void TForm1::Aproposde1Click() {}

} // namespace tablor
