#include "tests/diode_editor/editor_driver.h"

#include "prefs/preferences_format.h"
#include "tests/support/kelvara_fixture.h"

#include "framework/push_button.h"
#include "framework/runtime.h"
#include "framework/text.h"

#include <QAbstractItemView>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace editor_test {

namespace {

// Waiting for activations is bounded; the offscreen platform delivers them
// within a few event-loop passes.
constexpr int kActivationTimeoutMs = 5000;

QAbstractItemView* ItemViewOf(fw::Listbox& list) {
    if (auto* view = qobject_cast<QAbstractItemView*>(list.NativeWidget())) {
        return view;
    }
    return list.NativeWidget()->findChild<QAbstractItemView*>();
}

VIwindow& PressDiodeButton(const char* name) {
    MainWindow& main = MainWindow::Instance();
    ActivateAndWait(main);
    ClickButton(main, name);
    VIwindow* editor = fw::LiveInstance<VIwindow>();
    if (editor == nullptr) {
        ADD_FAILURE() << name << " opened no editor";
        return VIwindow::Instance();
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor->NativeWidget(), kActivationTimeoutMs));
    testing_support::ProcessEvents();
    return *editor;
}

} // namespace

void EditorTest::TearDown() {
    const auto report = fw::LastUnhandledException();
    EXPECT_EQ(fw::UnhandledExceptionCount(), 0)
        << "a handler let " << (report ? report->typeName + ": " + report->message : "?")
        << " escape";
}

void ActivateAndWait(fw::Window& window) {
    window.Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.NativeWidget(), kActivationTimeoutMs))
        << "window \"" << window.Title() << "\" never became active";
    testing_support::ProcessEvents();
}

VIwindow& PressNew() {
    return PressDiodeButton("NewDiodePB");
}

VIwindow& PressEdit() {
    return PressDiodeButton("EditDiodePB");
}

void ClickButton(const fw::Window& window, const char* name) {
    auto& button = fw::ControlByName<fw::PushButton>(window, name);
    QWidget* widget = button.NativeWidget();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void ClickCell(fw::Listbox& list, int row, int column) {
    QAbstractItemView* view = ItemViewOf(list);
    ASSERT_NE(view, nullptr) << list.Name() << " shows no item view";
    const QRect cell = view->visualRect(view->model()->index(row, column));
    ASSERT_TRUE(cell.isValid()) << "no cell (" << row << ", " << column << ")";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    testing_support::ProcessEvents();
}

void Type(fw::TextField& field, const std::string& text) {
    QTest::keyClicks(field.NativeWidget(), QString::fromStdString(text));
}

void EraseWithBackspace(fw::TextField& field) {
    field.SetSelStart(static_cast<int>(field.Text().size()));
    while (!field.Text().empty()) {
        const std::string before = field.Text();
        QTest::keyClick(field.NativeWidget(), Qt::Key_Backspace);
        if (field.Text() == before) {
            ADD_FAILURE() << "Backspace erased nothing from \"" << before << "\"";
            return;
        }
    }
}

void TypeIntoCell(VIwindow& editor, int row, int column, const std::string& text) {
    fw::Listbox& table = EditorTable(editor);
    ClickCell(table, row, column);
    ASSERT_TRUE(table.IsEditing()) << "cell (" << row << ", " << column << ") did not open";
    Type(table.ActiveCell(), text);
}

void TypeName(VIwindow& editor, const std::string& name) {
    EraseWithBackspace(NameField(editor));
    Type(NameField(editor), name);
}

fw::Listbox& EditorTable(const VIwindow& editor) {
    return fw::ControlByName<fw::Listbox>(editor, "VIListbox");
}

fw::TextField& NameField(const VIwindow& editor) {
    return fw::ControlByName<fw::TextField>(editor, "EFNewDiode");
}

fw::PopupMenu& DiodeMenu(const MainWindow& main) {
    return fw::ControlByName<fw::PopupMenu>(main, "PopupDiodeType");
}

fw::Listbox& CharacteristicTable(const MainWindow& main) {
    return fw::ControlByName<fw::Listbox>(main, "Listbox1");
}

std::vector<std::string> CellTexts(const fw::Listbox& table) {
    std::vector<std::string> texts;
    for (int row = 0; row < MainWindow::kDiodePoints; ++row) {
        texts.push_back(table.Cell(row, 0));
        texts.push_back(table.Cell(row, 1));
    }
    return texts;
}

std::vector<std::string> PointTextsOf(const std::string& diodeRow) {
    std::vector<std::string> texts;
    for (int point = 0; point < MainWindow::kDiodePoints; ++point) {
        texts.push_back(
            fw::NthField(diodeRow, prefs::kFieldSeparator, prefs::DiodeVoltageField(point)));
        texts.push_back(
            fw::NthField(diodeRow, prefs::kFieldSeparator, prefs::DiodeCurrentField(point)));
    }
    return texts;
}

std::vector<std::string> NoPoints() {
    return std::vector<std::string>(2 * MainWindow::kDiodePoints);
}

std::vector<std::string> MenuRows(const fw::PopupMenu& menu) {
    std::vector<std::string> rows;
    for (int row = 0; row < menu.ListCount(); ++row) {
        rows.push_back(menu.List(row));
    }
    return rows;
}

std::string NameOf(const std::string& diodeRow) {
    return fw::NthField(diodeRow, prefs::kFieldSeparator, 1);
}

} // namespace editor_test
