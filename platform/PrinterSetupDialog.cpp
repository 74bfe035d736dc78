#include "platform/PrinterSetupDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tablor {

QString PrinterSetupDialog::pdfEntry() {
    return QStringLiteral("Imprimer dans un fichier (PDF)");
}

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer) {
    setWindowTitle(QStringLiteral("Configuration de l'impression"));

    auto* printerGroup = new QGroupBox(QStringLiteral("Imprimante"), this);
    printers_ = new QComboBox(printerGroup);
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers_->addItem(name);
    printers_->addItem(pdfEntry());
    const bool pdf = printer_.outputFormat() == QPrinter::PdfFormat;
    const int current = pdf ? printers_->count() - 1 : printers_->findText(printer_.printerName());
    printers_->setCurrentIndex(current < 0 ? 0 : current);
    printerForm_ = new QFormLayout(printerGroup);
    printerForm_->addRow(QStringLiteral("&Nom :"), printers_);

    // A PDF file needs its name, or a print with no print dialog of its own would fail.
    file_ = new QLineEdit(printer_.outputFileName(), printerGroup);
    if (file_->text().isEmpty())
        file_->setText(QDir::home().filePath(QStringLiteral("Tablor.pdf")));
    auto* browseButton = new QPushButton(QStringLiteral("..."), printerGroup);
    browseButton->setAccessibleName(QStringLiteral("Parcourir"));
    connect(browseButton, &QPushButton::clicked, this, &PrinterSetupDialog::browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browseButton);
    printerForm_->addRow(QStringLiteral("&Fichier :"), fileRow);
    printerForm_->setRowVisible(1, toFile());

    auto* paperGroup = new QGroupBox(QStringLiteral("Papier"), this);
    papers_ = new QComboBox(paperGroup);
    auto* paperForm = new QFormLayout(paperGroup);
    paperForm->addRow(QStringLiteral("&Taille :"), papers_);
    fillPapers();
    connect(printers_, &QComboBox::currentIndexChanged, this, [this] {
        fillPapers();
        printerForm_->setRowVisible(1, toFile());
    });

    auto* orientationGroup = new QGroupBox(QStringLiteral("Orientation"), this);
    portrait_ = new QRadioButton(QStringLiteral("&Portrait"), orientationGroup);
    landscape_ = new QRadioButton(QStringLiteral("P&aysage"), orientationGroup);
    (printer_.pageLayout().orientation() == QPageLayout::Landscape ? landscape_ : portrait_)
        ->setChecked(true);
    auto* orientationBox = new QVBoxLayout(orientationGroup);
    orientationBox->addWidget(portrait_);
    orientationBox->addWidget(landscape_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (toFile() && file_->text().trimmed().isEmpty()) {
            QApplication::beep();
            file_->setFocus();
            return;
        }
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperGroup, 1);
    lower->addWidget(orientationGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerGroup);
    layout->addLayout(lower);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

bool PrinterSetupDialog::toFile() const {
    return printers_->currentText() == pdfEntry();
}

void PrinterSetupDialog::browse() {
    QFileDialog dialog(this, QStringLiteral("Fichier de sortie"), file_->text(),
                       QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        file_->setText(dialog.selectedFiles().first());
}

// The sizes the chosen printer knows; for a PDF file the usual ones.
void PrinterSetupDialog::fillPapers() {
    const QPageSize current = printer_.pageLayout().pageSize();
    QList<QPageSize> sizes;
    if (!toFile()) sizes = QPrinterInfo::printerInfo(printers_->currentText()).supportedPageSizes();
    if (sizes.isEmpty()) {
        for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::B5,
                                         QPageSize::Letter, QPageSize::Legal, QPageSize::Executive})
            sizes << QPageSize(id);
    }
    papers_->clear();
    for (const QPageSize& size : sizes)
        papers_->addItem(size.name(), QVariant::fromValue(size));
    int index = 0;
    for (int i = 0; i < sizes.size(); ++i)
        if (sizes[i].isEquivalentTo(current)) index = i;
    papers_->setCurrentIndex(index);
}

void PrinterSetupDialog::apply() {
    if (toFile()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(file_->text().trimmed());
    } else {
        printer_.setOutputFileName(QString());
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPrinterName(printers_->currentText());
    }
    printer_.setPageSize(papers_->currentData().value<QPageSize>());
    printer_.setPageOrientation(landscape_->isChecked() ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);
}

} // namespace tablor
