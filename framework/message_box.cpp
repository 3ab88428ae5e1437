// Warning boxes over a window: a box over a window on screen holds up its
// caller until the user has answered it; one asked for while the window is
// still being built comes up once the window shows.

#include "framework/message_box.h"

#include "framework/internal/design_values.h"
#include "framework/window.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QScopeGuard>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace fw {
namespace {

using WarningObserver = std::function<void(const std::string& text)>;

WarningObserver& Observer() {
    static WarningObserver observer;
    return observer;
}

// A warning box over the owner's window, not yet on screen. It is modal to
// the whole application: while a handler waits on the box, input to any
// other window would run that window's handlers inside the waiting one. It
// deletes itself once answered and, as a child of the owner's window, goes
// with the window when the window is destroyed first, so no box outlives its
// owner at the end of the runtime.
QMessageBox* NewWarningBox(const Window& owner, const std::string& text) {
    QWidget* frame = owner.NativeWidget();
    auto* box = new QMessageBox(QMessageBox::Warning, frame->windowTitle(),
                                internal::ToQString(text), QMessageBox::Ok, frame);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A test must never wait on a box: once the box is on screen, the
    // observer sees it and OK is pressed, even when the observer fails.
    if (const WarningObserver& observer = Observer()) {
        QTimer::singleShot(0, box, [box, observer, text] {
            const auto pressOk = qScopeGuard([box] { box->button(QMessageBox::Ok)->click(); });
            observer(text);
        });
    }
    return box;
}

// A warning asked for while its owner is not shown yet. It waits, as a child
// of the owner's window, for the window to show, and brings its box up once
// the event loop comes round; a window that closes or is destroyed meanwhile
// takes the warning with it unseen.
class PendingWarning final : public QObject {
public:
    PendingWarning(const Window& owner, std::string text)
        : QObject(owner.NativeWidget())
        , owner_(owner)
        , text_(std::move(text)) {
        owner_.NativeWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            // One showing is enough to wait for; showing again before the
            // event loop comes round must not bring up a second box.
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { BringUp(); });
        }
        return false; // the window shows as it would without the warning
    }

private:
    // Runs from the event loop, while this object, and so the owner's
    // window and the owner, still stand.
    void BringUp() {
        if (owner_.IsClosed()) {
            deleteLater(); // a closed window never shows again
            return;
        }
        if (!owner_.IsVisible()) {
            // Hidden again before the event loop came round: wait for the
            // next showing.
            owner_.NativeWidget()->installEventFilter(this);
            return;
        }
        NewWarningBox(owner_, text_)->show();
        deleteLater();
    }

    const Window& owner_;
    std::string text_;
};

} // namespace

void ShowWarning(const Window& owner, std::string_view text) {
    if (owner.IsClosed()) {
        return;
    }
    if (!owner.IsVisible()) {
        new PendingWarning(owner, std::string(text)); // owned by the owner's window
        return;
    }
    NewWarningBox(owner, std::string(text))->exec();
}

void SetWarningObserver(std::function<void(const std::string& text)> observer) {
    Observer() = std::move(observer);
}

} // namespace fw
