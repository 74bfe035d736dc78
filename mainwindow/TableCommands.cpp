// Records and fields, sorting and copying. (Being built.)

#include "mainwindow/_Tablor.h"

namespace tablor {

void TForm1::Ajouterligne1Click() {}
void TForm1::Supprimerligne1Click() {}
void TForm1::Ajoutercolonne1Click() {}
void TForm1::Supprimercolonne1Click() {}
void TForm1::Effacerlesenregistrements1Click() {}
void TForm1::trierlesenregistrements1Click() {}
void TForm1::SortRecords(int) {}
void TForm1::Copier1Click() {}
void TForm1::StringGrid1MouseDown(Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, bool,
                                  int, int) {}

} // namespace tablor
