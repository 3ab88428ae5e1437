// The report of an exception that no handler caught.

#include "framework/runtime.h"

#include "framework/exceptions.h"
#include "framework/internal/qt_bridge.h"
#include "framework/internal/runtime_state.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <cstdio>
#include <vector>

namespace fw {
namespace {

struct ReportLog {
    std::optional<UnhandledExceptionReport> last;
    int count = 0;
    QPointer<QMessageBox> fatalBox;           // the report of an exception that ended the program
    std::vector<QPointer<QMessageBox>> boxes; // every report made; closed ones are null
};

ReportLog& Log() {
    static ReportLog log;
    return log;
}

// Names the exception's kind and takes its message. Neither step may throw:
// a system's own TypeName or what() could, and the report must still go out.
UnhandledExceptionReport Describe(const std::exception_ptr& error) {
    UnhandledExceptionReport report{"unknown exception", ""};
    if (!error) {
        report.message = "no exception was given to the report";
        return report;
    }
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& failure) {
        report.typeName = "RuntimeException";
        try {
            report.typeName = failure.TypeName();
        } catch (...) {
        }
        report.message = failure.what();
    } catch (const std::exception& failure) {
        report.typeName = "std::exception";
        report.message = failure.what();
    } catch (...) {
    }
    return report;
}

std::string ReportLine(const UnhandledExceptionReport& report) {
    std::string line = "Unhandled exception: " + report.typeName;
    if (!report.message.empty()) {
        line += ": " + report.message;
    }
    return line;
}

bool HeadlessPlatform() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// Shows the report without blocking: the program, and a test driving it, go
// on while the message stands on screen.
QMessageBox* ShowReport(const UnhandledExceptionReport& report) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr;
    }
    auto* box =
        new QMessageBox(QMessageBox::Critical, QCoreApplication::applicationName(),
                        QString::fromStdString("An exception was not handled."), QMessageBox::Ok);
    box->setInformativeText(QString::fromStdString(report.typeName + ": " + report.message));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    return box;
}

void Report(const std::exception_ptr& error, bool endsProgram) noexcept {
    try {
        ReportLog& log = Log();
        const UnhandledExceptionReport report = Describe(error);
        log.last = report;
        ++log.count;
        std::fprintf(stderr, "%s\n", ReportLine(report).c_str());
        std::fflush(stderr);
        QMessageBox* box = ShowReport(report);
        std::erase_if(log.boxes, [](const QPointer<QMessageBox>& shown) { return shown.isNull(); });
        log.boxes.emplace_back(box);
        if (endsProgram) {
            internal::Runtime().endedByException = true;
            log.fatalBox = box;
        }
    } catch (...) {
        // Nothing is left to report to; the program goes on.
    }
}

} // namespace

void RuntimeUnhandledException(std::exception_ptr error) {
    // An exception reported while no event loop runs escaped start-up or the
    // loop itself, and so ends the program; one reported from inside the
    // loop came out of a handler, and the program goes on.
    Report(error, !internal::Runtime().loopRunning);
}

std::optional<UnhandledExceptionReport> LastUnhandledException() {
    return Log().last;
}

int UnhandledExceptionCount() {
    return Log().count;
}

namespace internal {

void ReportHandlerException(std::exception_ptr error) {
    // A handler's failure ends only that handler, whether or not the event
    // loop runs yet (a window's Open handler runs during start-up).
    Report(error, /*endsProgram=*/false);
}

void WaitForFatalReport() {
    QPointer<QMessageBox> box = Log().fatalBox;
    if (box.isNull() || !box->isVisible() || HeadlessPlatform()) {
        return;
    }
    QEventLoop loop;
    QObject::connect(box, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

void DeleteReports() {
    for (const QPointer<QMessageBox>& box : Log().boxes) {
        delete box.data();
    }
    Log().boxes.clear();
}

} // namespace internal
} // namespace fw
