#pragma once
// The copy-options dialog: which fields the record card copies. The caller fills the list with
// the field names (entry i is field i), selects the ticked ones, shows the dialog and, on OK,
// reads the selection back. "Tout sélectionner" and "Tout désélectionner" change the selection
// without closing; "Annuler", Escape and the close box give Cancel whatever was selected.

#include <QDialog>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace tablor {

class TCopyOpt : public QDialog {
    Q_OBJECT
public:
    explicit TCopyOpt(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QListWidget* ListBox1; // extended selection: click, Ctrl+click, Shift+click
    QGroupBox* GroupBox2;
    QPushButton* Button1;   // "Tout sélectionner"
    QPushButton* Button2;   // "Tout désélectionner"
    QPushButton* OKBtn;     // the default button, with the focus when the dialog opens
    QPushButton* CancelBtn; // "Annuler"

    void Button1Click(); // selects every entry
    void Button2Click(); // deselects every entry

    double layoutScale() const { return scale_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    double scale_ = 1.0;
};

} // namespace tablor
