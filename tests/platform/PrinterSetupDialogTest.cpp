#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tablor {
namespace {

void choose(PrinterSetupDialog& d, QPageSize::PageSizeId size) {
    d.printerBox()->setCurrentText(PrinterSetupDialog::pdfEntry());
    d.paperBox()->setCurrentText(QPageSize(size).name());
    d.landscapeButton()->setChecked(true);
}

void ok(PrinterSetupDialog& d) {
    for (QPushButton* b : d.findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK")) b->click();
}

TEST(PrinterSetupDialog, OkPutsPrinterPaperAndOrientationIntoThePrinterCancelDoesNot) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    {
        PrinterSetupDialog d(printer);
        EXPECT_EQ(d.printerBox()->itemText(d.printerBox()->count() - 1),
                  PrinterSetupDialog::pdfEntry());
        EXPECT_EQ(d.paperBox()->currentText(), QPageSize(QPageSize::A4).name());
        EXPECT_TRUE(d.portraitButton()->isChecked());
        choose(d, QPageSize::A5);
        d.reject();
    }
    EXPECT_TRUE(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A4)));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);

    // A PDF file needs a name: OK without one leaves the dialog open.
    PrinterSetupDialog d(printer);
    choose(d, QPageSize::A5);
    EXPECT_FALSE(d.fileEdit()->text().isEmpty()) << "a name is offered";
    d.fileEdit()->clear();
    d.show();
    ok(d);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(printer.outputFileName().isEmpty());
    d.fileEdit()->setText(QStringLiteral("/tmp/liste.pdf"));
    ok(d);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), QStringLiteral("/tmp/liste.pdf"));
    EXPECT_TRUE(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    // Opened again, the dialog shows what the printer now holds.
    PrinterSetupDialog again(printer);
    EXPECT_EQ(again.paperBox()->currentText(), QPageSize(QPageSize::A5).name());
    EXPECT_TRUE(again.landscapeButton()->isChecked());
    EXPECT_EQ(again.fileEdit()->text(), QStringLiteral("/tmp/liste.pdf"));
}

} // namespace
} // namespace tablor
