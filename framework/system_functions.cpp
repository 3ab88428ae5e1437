// System functions offered by name, and the application-wide help-tag switch.

#include "framework/system_functions.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QToolTip>

#include <map>
#include <string>
#include <utility>

namespace fw {
namespace detail {
namespace {

using LibraryKey = std::pair<std::string, std::string>; // library, function

std::map<LibraryKey, std::any>& Library() {
    static std::map<LibraryKey, std::any> functions;
    return functions;
}

} // namespace

const std::any* FindLibraryFunction(std::string_view name, std::string_view library) {
    const auto& functions = Library();
    const auto found = functions.find(LibraryKey(library, name));
    return found == functions.end() ? nullptr : &found->second;
}

void RegisterLibraryFunction(std::string_view name, std::string_view library, std::any function) {
    Library()[LibraryKey(library, name)] = std::move(function);
}

} // namespace detail

namespace {

// Eats every tooltip request of the application while help tags are off, so
// that no control, present or created later, shows its help tag.
class HelpTagSuppressor : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

struct HelpTagState {
    bool displayed = true;
    HelpTagSuppressor* suppressor = nullptr; // owned by the application
};

HelpTagState& HelpTags() {
    static HelpTagState state;
    return state;
}

} // namespace

void SetHelpTagsDisplayed(bool displayed) {
    HelpTagState& state = HelpTags();
    state.displayed = displayed;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    if (displayed) {
        delete state.suppressor;
        state.suppressor = nullptr;
        return;
    }
    if (state.suppressor == nullptr) {
        state.suppressor = new HelpTagSuppressor(application);
        QObject::connect(state.suppressor, &QObject::destroyed,
                         [] { HelpTags().suppressor = nullptr; });
        application->installEventFilter(state.suppressor);
    }
    if (qobject_cast<QApplication*>(application) != nullptr) {
        QToolTip::hideText();
    }
}

bool HelpTagsDisplayed() {
    return HelpTags().displayed;
}

} // namespace fw
