#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
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

    PrinterSetupDialog d(printer);
    choose(d, QPageSize::A5);
    for (QPushButton* b : d.findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("OK")) b->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_TRUE(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    // Opened again, the dialog shows what the printer now holds.
    PrinterSetupDialog again(printer);
    EXPECT_EQ(again.paperBox()->currentText(), QPageSize(QPageSize::A5).name());
    EXPECT_TRUE(again.landscapeButton()->isChecked());
}

} // namespace
} // namespace tablor
