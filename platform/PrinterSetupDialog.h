#pragma once
// The printer setup dialog: which printer (or a PDF file, then its name), the paper size and
// the orientation. What the user confirms goes into the printer that every later print of the
// run uses.

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPrinter;
class QRadioButton;

namespace tablor {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    // Shown as "Imprimer dans un fichier (PDF)" in the list of printers.
    static QString pdfEntry();

    PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

    // Puts the choices into the printer (done on OK).
    void apply();

    QComboBox* printerBox() const { return printers_; }
    QComboBox* paperBox() const { return papers_; }
    QLineEdit* fileEdit() const { return file_; }
    QRadioButton* portraitButton() const { return portrait_; }
    QRadioButton* landscapeButton() const { return landscape_; }

private:
    void fillPapers();
    bool toFile() const;
    void browse();

    QPrinter& printer_;
    QComboBox* printers_;
    QFormLayout* printerForm_;
    QLineEdit* file_;
    QComboBox* papers_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

} // namespace tablor
