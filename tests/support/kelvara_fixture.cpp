#include "tests/support/kelvara_fixture.h"

#include "app/startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include <fstream>
#include <stdexcept>

namespace testing_support {

MainWindow& StartKelvara() {
    _Startup();
    return MainWindow::Instance();
}

std::string PreferencesFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath("KelvaraPrefs.txt").toStdString();
}

bool PreferencesFileExists() {
    return std::ifstream(PreferencesFilePath()).good();
}

std::vector<std::string> ReadPreferencesFile() {
    std::ifstream file(PreferencesFilePath(), std::ios::binary);
    if (!file) {
        throw std::runtime_error("no preferences file");
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        lines.push_back(line);
    }
    return lines;
}

void WritePreferencesFile(const std::vector<std::string>& lines) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    std::ofstream file(PreferencesFilePath(), std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) {
        file << line << '\n';
    }
}

std::string FocusedControl(const fw::Window& window) {
    for (const fw::Control* control : window.Controls()) {
        if (control->HasFocus()) {
            return control->Index() == fw::kNoIndex
                       ? control->Name()
                       : control->Name() + "(" + std::to_string(control->Index()) + ")";
        }
    }
    return "?";
}

std::vector<std::string> PressAndFollowTheFocus(const fw::Window& window, int key,
                                                Qt::KeyboardModifiers modifiers, int count) {
    std::vector<std::string> visited;
    for (int press = 0; press < count; ++press) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused != nullptr ? focused : window.NativeWidget(),
                        static_cast<Qt::Key>(key), modifiers);
        visited.push_back(FocusedControl(window));
    }
    return visited;
}

void ProcessEvents(int milliseconds) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (milliseconds > 0) {
        QTest::qWait(milliseconds);
    }
}

} // namespace testing_support
