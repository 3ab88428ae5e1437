#include "tests/support/kelvara_fixture.h"
#include "tests/support/test_process.h"

#include "app/startup.h"
#include "diode_editor/vi_window.h"
#include "prefs/preferences_format.h"

#include "framework/listbox.h"
#include "framework/message_box.h"
#include "framework/popup_menu.h"
#include "framework/push_button.h"
#include "framework/radio_button.h"
#include "framework/text_field.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <utility>

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

std::vector<std::string> ReadPreferencesFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
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

void PrintTo(const WindowState& state, std::ostream* out) {
    const auto list = [out](const char* what, const std::vector<std::string>& texts) {
        *out << what << " {";
        for (const std::string& text : texts) {
            *out << " \"" << (text.size() > 40 ? text.substr(0, 40) + "..." : text) << "\"";
        }
        *out << " } ";
    };
    list("fields", state.fields);
    *out << "circuit " << state.circuit << " ";
    list("menu", state.menuRows);
    *out << "selected " << state.selected << " ";
    list("table", state.table);
}

WindowState StateOf(const MainWindow& window) {
    WindowState state;
    for (const char* name : prefs::kInputFieldsInRowOrder) {
        state.fields.push_back(Find<fw::TextField>(window, name).Text());
    }
    for (int k = 0; k < 4; ++k) {
        if (Find<fw::RadioButton>(window, "CktTypeBTN", k).Value()) {
            state.circuit = k;
        }
    }
    auto& menu = Find<fw::PopupMenu>(window, "PopupDiodeType");
    for (int row = 0; row < menu.ListCount(); ++row) {
        state.menuRows.push_back(menu.List(row));
    }
    state.selected = menu.ListIndex();
    auto& table = Find<fw::Listbox>(window, "Listbox1");
    for (int row = 0; row < table.ListCount(); ++row) {
        state.table.push_back(table.Cell(row, 0) + "|" + table.Cell(row, 1));
    }
    return state;
}

WindowState DefaultState() {
    return {{"60", "0", "12", "5", "120", "5", "51", ".2", "3300"},
            0,
            {"1N4004", "1N4148", "SS2H9 (Sch)"},
            0,
            {".5|0", ".7|.01", ".8|.12", ".9|.7", "1|2", "1.1|3.2", "1.2|5.2", "1.3|7.3",
             "1.4|10.5", "|"}};
}

void CloseMainWindow() {
    MainWindow::Instance().Close();
    ProcessEvents();
}

namespace {

void ShowAndWaitUntilActive(fw::Window& window) {
    window.Show();
    if (!QTest::qWaitForWindowActive(window.NativeWidget())) {
        throw std::runtime_error("window \"" + window.Title() + "\" never became active");
    }
    ProcessEvents();
}

} // namespace

// The editor prepares itself each time it becomes the active window, so the
// main window is made active first, as a user's click on its button does.
void SaveInTheEditor(MainWindow& window, int row, const std::function<void(VIwindow&)>& edit) {
    if (row >= 0) {
        Find<fw::PopupMenu>(window, "PopupDiodeType").SetListIndex(row);
    }
    ShowAndWaitUntilActive(window);
    Find<fw::PushButton>(window, row < 0 ? "NewDiodePB" : "EditDiodePB").Push();
    VIwindow& editor = VIwindow::Instance();
    ShowAndWaitUntilActive(editor);
    edit(editor);
    Find<fw::PushButton>(editor, "SavePB").Push();
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

namespace {

std::vector<std::string>& Warnings() {
    static std::vector<std::string> shown;
    return shown;
}

// The files this process holds open inside `folder`: what /proc names its
// descriptors by, a nameless new file included ("<folder>/#123 (deleted)").
std::vector<std::string> FilesHeldIn(const std::string& folder) {
    std::vector<std::string> held;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
        if (!error && target.starts_with(folder + "/")) {
            held.push_back(target);
        }
    }
    return held;
}

} // namespace

// A box may wait for the user as long as they like, so while one is up the
// program holds nothing of the configuration folder open: no lock another
// copy would wait on, no file it read or was writing.
void AnswerWarnings() {
    const std::string configHome = std::getenv("XDG_CONFIG_HOME");
    fw::SetWarningObserver([configHome](const std::string& text) {
        Warnings().push_back(text);
        EXPECT_EQ(FilesHeldIn(configHome), std::vector<std::string>{}) << "while showing: " << text;
    });
}

std::vector<std::string> WarningsShown() {
    // A box asked for while the window opened comes up in one round once the
    // window shows, and is answered in the next.
    EXPECT_TRUE(RunPostedEvents()) << "the event loop did not come round";
    return std::exchange(Warnings(), {});
}

void ProcessEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Posted events run in the order they were posted, so once a marker has run,
// so has everything posted before it.
bool RunPostedEvents(int rounds) {
    for (int round = 0; round < rounds; ++round) {
        // Shared, as a marker not handled in time still runs later.
        const auto handled = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [handled] { *handled = true; }, Qt::QueuedConnection);
        if (!QTest::qWaitFor([&handled] { return *handled; },
                             static_cast<int>(kLongestWait.count()))) {
            return false;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

} // namespace testing_support
