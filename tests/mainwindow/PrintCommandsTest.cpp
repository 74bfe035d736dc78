#include "MainWindowFixture.h"

#include "card/_Fiche.h"

#include "mainwindow/TablePrinter.h"
#include "platform/Errors.h"
#include "platform/QtPlatform.h"
#include "platform/StringGridView.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

using Lines = std::vector<std::string>;

// Three fields; records (x, empty, z) and (u, v, w).
TForm1& startSmallTable(MainWindowFixture& f) {
    TForm1& form = f.start();
    StringGrid& g = form.grid();
    g.setColCount(3);
    g.setRowCount(3);
    const char* cells[2][3] = {{"x", "", "z"}, {"u", "v", "w"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            g.setCell(c, r + 1, cells[r][c]);
    form.document().RecordCount = 2;
    form.UpdateStatus();
    f.platform.pageMetrics.width = 1000;
    return form;
}

TEST(PrintCommand, PrintsTheWholeTableInTheChosenFontAsOneJob) {
    MainWindowFixture f;
    TForm1& form = startSmallTable(f);
    form.grid().moveTo(1, 2); // a single cell: no matter, everything prints
    const QFont chosen(QStringLiteral("DejaVu Serif"), 12);
    f.platform.printAnswers = {PrintChoice{false, 2}};
    f.platform.fontAnswers = {chosen};
    action(form, "Imprimer1")->trigger();

    ASSERT_EQ(f.platform.printed.size(), 1u);
    const PrintedJob& job = f.platform.printed[0];
    EXPECT_EQ(job.title, QStringLiteral("Tablor 1.0 - Fichier"));
    EXPECT_EQ(job.font, chosen); // at its own size: no factor on top
    EXPECT_TRUE(job.finished);
    const Lines copy{form.windowTitle().toStdString(), "x  z ", "u v w "};
    EXPECT_EQ(job.canvas.pages(), (std::vector<Lines>{copy, copy}));
    EXPECT_EQ(f.platform.fontDialogs, QList<QFont>{form.gridView()->font()});
    EXPECT_EQ(f.platform.busyCount, 0) << "no busy cursor while printing";
    EXPECT_FALSE(form.document().Modified);
}

TEST(PrintCommand, TheSelectionRangePrintsTheSelectedCellsUnderAMarkedHeading) {
    MainWindowFixture f;
    TForm1& form = startSmallTable(f);
    form.grid().moveTo(2, 1);
    f.platform.printAnswers = {PrintChoice{true, 1}};
    f.platform.fontAnswers = {QFont()};
    action(form, "ToolButton4")->trigger();
    ASSERT_EQ(f.platform.printed.size(), 1u);
    EXPECT_EQ(f.platform.printed[0].canvas.pages(),
              (std::vector<Lines>{{form.windowTitle().toStdString() + " (s\xE9lection)", "z "}}));
}

TEST(PrintCommand, CancellingPrintsNothingButTheConfirmedRangeStays) {
    MainWindowFixture f;
    TForm1& form = startSmallTable(f);
    f.platform.printAnswers = {std::nullopt};
    form.Imprimer1Click();
    EXPECT_TRUE(f.platform.fontDialogs.isEmpty());

    f.platform.printAnswers = {PrintChoice{true, 3}};
    f.platform.fontAnswers = {std::nullopt};
    form.Imprimer1Click();
    EXPECT_TRUE(f.platform.printed.empty());

    f.platform.printAnswers = {std::nullopt};
    form.Imprimer1Click();
    ASSERT_EQ(f.platform.printDialogs.size(), 3);
    EXPECT_FALSE(f.platform.printDialogs[0].selection); // everything at first
    EXPECT_TRUE(f.platform.printDialogs[2].selection);
    EXPECT_EQ(f.platform.printDialogs[2].copies, 3);
}

class PdfPlatform : public ScriptedPlatform {
public:
    QString pdf;
    PrintChoice choice;
    std::optional<PrintChoice> printDialog(QPrinter& printer, const PrintChoice& last) override {
        printDialogs << last;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return choice;
    }
    bool printerSetupDialog(QPrinter& printer) override {
        ++printerSetups;
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    }
    std::unique_ptr<PrintJob> startPrintJob(QPrinter& printer, const QString& title,
                                            const QFont& font) override {
        return real.startPrintJob(printer, title, font);
    }
    void printImage(QPrinter& printer, const QString& title, const QImage& image,
                    double dotsPerInch) override {
        real.printImage(printer, title, image, dotsPerInch);
    }
    QtPlatform real;
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdftotext's pages, each as its lines with runs of blanks made one and the ends trimmed.
std::vector<std::vector<QString>> pdfPages(const QString& pdf) {
    std::vector<std::vector<QString>> pages;
    for (const QString& page :
         run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QLatin1Char('\f'))) {
        pages.emplace_back();
        for (QString line : page.split(QLatin1Char('\n'))) {
            line = line.simplified();
            if (!line.isEmpty()) pages.back().push_back(line);
        }
    }
    while (!pages.empty() && pages.back().empty())
        pages.pop_back();
    return pages;
}

class PdfPrint : public ::testing::Test {
protected:
    void SetUp() override {
        platform.executable = dir.filePath(QStringLiteral("tablor"));
        platform.pdf = dir.filePath(QStringLiteral("liste.pdf"));
        form = std::make_unique<TForm1>(platform, QStringList{});
    }
    QTemporaryDir dir;
    PdfPlatform platform;
    std::unique_ptr<TForm1> form;
};

TEST_F(PdfPrint, ThePdfHoldsTheListingLineForLineWithItsBreaksAndPages) {
    StringGrid& g = form->grid();
    g.setColCount(3);
    g.setRowCount(81);
    for (int r = 1; r <= 80; ++r) {
        g.setCell(0, r, "Caf\xE9" + std::to_string(r));
        g.setCell(1, r, "Ville" + std::to_string(r));
        g.setCell(2, r, r == 7 ? std::string(400, 'm') : "rue" + std::to_string(r));
    }
    form->document().RecordCount = 80;
    form->UpdateStatus();
    platform.choice = {false, 2};
    platform.fontAnswers = {QFont(QStringLiteral("DejaVu Sans"), 12)};
    form->Imprimer1Click();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join(' ').toStdString();

    // The same listing laid out on the printer's own measures, drawn nowhere.
    QPrinter& printer = form->tablePrinter().printer();
    EXPECT_EQ(printer.docName(), QStringLiteral("Tablor 1.0 - Fichier"));
    const QFont printed(QFont(QStringLiteral("DejaVu Sans"), 12), &printer);
    const QFontMetrics m(printed);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int lineHeight = m.height() + 2;
    ASSERT_GT(m.horizontalAdvance(QString(400, QLatin1Char('m'))), page.width());
    // Where the lines and pages fall, by the stream's rules: a text line takes its height and
    // 2 dots, the heading's empty line the font's height; a page ends when y passes the page
    // height less twice the line; a long record breaks between two characters at the edge.
    std::vector<std::vector<QString>> expected(1);
    int y = 0;
    bool used = false, owed = false;
    auto pageBreak = [&] {
        y = 0;
        if (used) owed = true;
        used = false;
    };
    auto draw = [&](const QString& text) {
        if (owed) expected.emplace_back();
        owed = false;
        used = true;
        if (!text.simplified().isEmpty()) expected.back().push_back(text.simplified());
        y += lineHeight;
        if (y > page.height() - 2 * lineHeight) pageBreak();
    };
    for (int copyNo = 0; copyNo < 2; ++copyNo) {
        draw(form->windowTitle());
        y += m.height();
        if (y > page.height()) pageBreak();
        for (int r = 1; r <= 80; ++r) {
            QString rest =
                r == 7 ? QStringLiteral("Café7 Ville7 ") + QString(400, QLatin1Char('m')) + " "
                       : QStringLiteral("Café%1 Ville%1 rue%1 ").arg(r);
            while (!rest.isEmpty()) {
                int n = int(rest.size());
                while (m.horizontalAdvance(rest.left(n)) > page.width())
                    --n;
                draw(rest.left(n));
                rest = rest.mid(n);
            }
        }
        if (copyNo == 0) pageBreak();
    }
    const std::vector<std::vector<QString>> pages = pdfPages(platform.pdf);
    EXPECT_GE(pages.size(), 4u);
    EXPECT_EQ(pages, expected);

    // The text has the size chosen: a 12-point font, about 12 points high on paper.
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                          QStringLiteral("1"), platform.pdf, QStringLiteral("-")});
    const QRegularExpression word(
        QStringLiteral("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">Café1<"));
    const QRegularExpressionMatch hit = word.match(boxes);
    ASSERT_TRUE(hit.hasMatch()) << boxes.left(2000).toStdString();
    const double height = hit.captured(2).toDouble() - hit.captured(1).toDouble();
    EXPECT_GT(height, 10.0);
    EXPECT_LT(height, 18.0);
}

TEST_F(PdfPrint, ThePrinterSetupServesTheLaterPrints) {
    platform.printerSetupAnswers = {};
    action(*form, "Configurationimprimante1")->trigger();
    EXPECT_EQ(platform.printerSetups, 1);
    platform.choice = {false, 1};
    platform.fontAnswers = {QFont()};
    form->Imprimer1Click();
    // A5 across: 595 x 420 points.
    const QString info = run(QStringLiteral("pdfinfo"), {platform.pdf});
    EXPECT_TRUE(info.contains(
        QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 4(19|20)\\b"))))
        << info.toStdString();
}

TEST_F(PdfPrint, TheCardsPicturePrintsAtItsSizeOnScreen) {
    QPrinter& printer = form->tablePrinter().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(platform.pdf);
    // The hidden card has its designed size, 327 x 450.
    form->findChild<TFiche*>(QStringLiteral("Fiche"))->ToolButton10->trigger();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join(' ').toStdString();
    EXPECT_EQ(printer.docName(), QStringLiteral("Tablor 1.0 - Fiche"));
    // pdfimages lists the picture with its resolution on paper: 96 pixels to the inch.
    const QStringList row =
        run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), platform.pdf})
            .split(QLatin1Char('\n'))
            .value(2)
            .simplified()
            .split(QLatin1Char(' '));
    ASSERT_GE(row.size(), 14) << row.join(' ').toStdString();
    EXPECT_EQ(row[3], QStringLiteral("327"));
    EXPECT_EQ(row[4], QStringLiteral("450"));
    EXPECT_NEAR(row[12].toDouble(), 96, 1); // x-ppi
    EXPECT_NEAR(row[13].toDouble(), 96, 1); // y-ppi
    EXPECT_EQ(
        run(QStringLiteral("pdfinfo"), {platform.pdf}).count(QStringLiteral("Pages:           1")),
        1);
}

TEST_F(PdfPrint, NoPrinterOrAFileThatCannotBeWrittenIsAnError) {
    QPrinter& printer = form->tablePrinter().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    form->findChild<TFiche*>(QStringLiteral("Fiche"))->ToolButton10->trigger();
    EXPECT_EQ(platform.errors,
              QStringList{QStringLiteral("Aucune imprimante par défaut sélectionnée.")});
    platform.errors.clear();
    platform.pdf = QStringLiteral("/nonexistent-folder/liste.pdf");
    platform.choice = {false, 1};
    platform.fontAnswers = {QFont()};
    action(*form, "Imprimer1")->trigger();
    EXPECT_EQ(platform.errors, QStringList{QStringLiteral(
                                   "Impossible d'écrire dans /nonexistent-folder/liste.pdf.")});
}

} // namespace
} // namespace tablor::test
