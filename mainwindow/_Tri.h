#pragma once
// The sort dialog: the list of the fields, OK and "Annuler". It has no behaviour of its own; the
// sort command fills it, shows it and reads the chosen field.

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace tablor {

class TFtri : public QDialog {
    Q_OBJECT
public:
    explicit TFtri(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QComboBox* ComboBox1; // entry i is field i
    QPushButton* BitBtn1; // OK, the default button
    QPushButton* BitBtn2; // "Annuler", also Escape and the close box

    // The factor the designed geometry was grown by to keep this machine's texts whole.
    double layoutScale() const { return scale_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    double scale_ = 1.0;
};

} // namespace tablor
