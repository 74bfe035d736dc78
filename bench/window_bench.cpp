// The main window's benchmark, on the offscreen platform, with the table given as on the
// command line:
//
//   tablor_window_bench open FILE          ends as soon as the grid is first painted; the caller
//                                          times the whole process
//   tablor_window_bench memory FILE        load, the sort command on the table's sort field
//                                          (the first in a generated table), copy of the whole
//                                          table; prints the process's peak resident MB
//   tablor_window_bench copy-memory FILE   prints the MB the copy of the whole table adds to the
//                                          peak, over what the loaded window holds

#include "mainwindow/_Tablor.h"
#include "platform/QtPlatform.h"
#include "platform/StringGridView.h"
#include "table/TableFile.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace {

// A field of /proc/self/status, in MB.
double statusMB(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field))
            return std::strtod(line.c_str() + field.size(), nullptr) * 1024 / 1e6;
    return 0;
}

// From here on the peak starts again from the present resident memory.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Ends at once once the viewport has painted: nothing of the shut-down is timed.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] {
                std::fflush(stdout);
                std::_Exit(0);
            });
        return false;
    }
};

// Accepts every dialog as it opens, as a user pressing OK at once.
class AcceptingPlatform : public tablor::QtPlatform {
public:
    int execDialog(QDialog&) override { return QDialog::Accepted; }
};

int usage() {
    std::cerr << "usage: tablor_window_bench open|memory|copy-memory FILE\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    const std::string_view mode = argv[1];
    if (mode != "open" && mode != "memory" && mode != "copy-memory") return usage();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // As the program does: the table is read while Qt and the window start.
    const QStringList arguments{QString::fromLocal8Bit(argv[2])};
    auto readAhead = tablor::TForm1::readAheadFor(arguments);
    QApplication app(argc, argv);
    AcceptingPlatform platform;
    tablor::TForm1 form(platform, arguments, std::move(readAhead));
    if (form.document().RecordCount < 2) {
        std::cerr << "tablor_window_bench: the table did not load\n";
        return 1;
    }
    if (mode == "open") {
        FirstPaint watch;
        form.gridView()->viewport()->installEventFilter(&watch);
        form.show();
        return app.exec();
    }
    form.show();
    QApplication::processEvents();
    if (mode == "memory") {
        form.trierlesenregistrements1Click();
        form.Copier1Click();
        QApplication::processEvents();
        std::printf("%.0f\n", statusMB("VmHWM:"));
    } else {
        const double before = statusMB("VmRSS:");
        resetPeak();
        form.Copier1Click();
        QApplication::processEvents();
        std::printf("%.0f\n", statusMB("VmHWM:") - before);
    }
    // The settings file of a bench run is of no interest: leave without closing the window.
    std::fflush(stdout);
    std::_Exit(0);
}
