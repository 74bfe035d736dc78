// Printing the table and the printer setup. (Being built.)

#include "mainwindow/_Tablor.h"

namespace tablor {

void TForm1::Configurationimprimante1Click() {}
void TForm1::Imprimer1Click() {}
void TForm1::Rechercherdanstable1Click() {}

} // namespace tablor
