#include "framework/listbox.h"

#include "framework/exceptions.h"
#include "framework/internal/column_widths.h"
#include "framework/internal/design_values.h"
#include "framework/text_field.h"
#include "framework/window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include <algorithm>

namespace fw {
namespace {

// More columns than any list shows; a design asking for more gets these.
constexpr int kMostColumns = 256;

class ListTable;

// Watches the cell editor's keys and focus for the list.
class EditorWatcher final : public QObject {
public:
    explicit EditorWatcher(Listbox::Impl& impl)
        : impl_(impl) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Listbox::Impl& impl_;
};

// The key text that CellKeyDown passes: a one-character code for the keys
// that type nothing, the typed text for the others, and nothing for keys
// that neither type nor have a code (modifiers, function keys, shortcuts).
std::string CellKeyText(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return "\t";
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return "\r";
    case Qt::Key_Escape:
        return "\x1b";
    case Qt::Key_Left:
        return "\x1c";
    case Qt::Key_Right:
        return "\x1d";
    case Qt::Key_Up:
        return "\x1e";
    case Qt::Key_Down:
        return "\x1f";
    case Qt::Key_Backspace:
        return "\b";
    case Qt::Key_Delete:
        return "\x7f";
    default:
        break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        return {};
    }
    return internal::ToUtf8(event.text());
}

} // namespace

struct Listbox::Impl {
    Impl(Listbox& list, ListTable& table);

    QTableWidgetItem& Item(int row, int column) const;
    void CheckRow(int row) const;
    void CheckCell(int row, int column) const;
    void SetColumnCount(int columns);
    void SetRows(const std::vector<std::vector<std::string>>& rows);
    void SetHeadings(const std::vector<std::string>& headings);
    void ShowHeading(bool shown);
    void FitRows();

    bool Press(QMouseEvent& event);
    bool EditorKey(QKeyEvent& event);
    void EditorFocusOut(Qt::FocusReason reason);
    TextField& Editor();
    void Open(int row, int column);
    void PlaceEditor();
    void CloseEditor(bool restore, bool keepFocus);
    void ShowInEditor(int row, int column);

    Listbox& list;
    ListTable& table;
    bool hasHeading = false;
    std::string columnWidths;
    std::unique_ptr<TextField> editor;
    EditorWatcher watcher{*this};
    int editRow = -1;
    int editColumn = -1;
    QString openedText;
    // True while the editor's text comes from its cell rather than from the
    // user; that text must not be written back.
    bool fillingEditor = false;
    // True from a press that CellClick consumed, or that hit no cell, until
    // its release: none of it reaches Qt's own handling.
    bool pressSwallowed = false;
    quint64 pressTime = 0; // the time stamp of the latest press
    QMetaObject::Connection selectionWatch;
};

namespace {

// The list widget: a table of text items whose mouse presses go to the list
// first, and whose rows are sized to fill its height.
class ListTable final : public QTableWidget {
public:
    explicit ListTable(QWidget* parent)
        : QTableWidget(parent) {}
    Listbox::Impl* impl = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (impl == nullptr || !impl->Press(*event)) {
            QTableWidget::mousePressEvent(event);
        }
    }
    // Qt may follow the press of a second click with a double-click event
    // for the same click; that press was the list's already. A double click
    // that comes alone is a press of its own.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (impl != nullptr && event->timestamp() != impl->pressTime && impl->Press(*event)) {
            return;
        }
        if (impl != nullptr && impl->pressSwallowed) {
            event->accept();
            return;
        }
        QTableWidget::mouseDoubleClickEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (impl == nullptr || !impl->pressSwallowed) {
            QTableWidget::mouseMoveEvent(event);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (impl != nullptr && impl->pressSwallowed) {
            impl->pressSwallowed = false;
            event->accept();
            return;
        }
        QTableWidget::mouseReleaseEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QTableWidget::resizeEvent(event);
        if (impl != nullptr) {
            impl->FitRows();
        }
    }
};

bool EditorWatcher::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return impl_.EditorKey(*static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusOut) {
        impl_.EditorFocusOut(static_cast<QFocusEvent*>(event)->reason());
    }
    return false;
}

} // namespace

Listbox::Impl::Impl(Listbox& owner, ListTable& widget)
    : list(owner)
    , table(widget) {}

QTableWidgetItem& Listbox::Impl::Item(int row, int column) const {
    QTableWidgetItem* item = table.item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table.setItem(row, column, item);
    }
    return *item;
}

void Listbox::Impl::CheckRow(int row) const {
    if (row < 0 || row >= table.rowCount()) {
        throw OutOfBoundsException("no row " + std::to_string(row) + " in the list '" +
                                   list.Name() + "'");
    }
}

void Listbox::Impl::CheckCell(int row, int column) const {
    CheckRow(row);
    if (column < 0 || column >= table.columnCount()) {
        throw OutOfBoundsException("no column " + std::to_string(column) + " in the list '" +
                                   list.Name() + "'");
    }
}

void Listbox::Impl::SetColumnCount(int columns) {
    CloseEditor(/*restore=*/false, /*keepFocus=*/false);
    const int before = table.columnCount();
    table.setColumnCount(std::clamp(columns, 1, kMostColumns));
    for (int column = before; column < table.columnCount(); ++column) {
        table.setHorizontalHeaderItem(column, new QTableWidgetItem);
        for (int row = 0; row < table.rowCount(); ++row) {
            Item(row, column);
        }
    }
    FitRows();
}

void Listbox::Impl::SetRows(const std::vector<std::vector<std::string>>& rows) {
    CloseEditor(/*restore=*/false, /*keepFocus=*/false);
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const auto& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < table.columnCount(); ++column) {
            const auto at = static_cast<std::size_t>(column);
            Item(row, column)
                .setText(at < cells.size() ? internal::ToQString(cells[at]) : QString());
        }
    }
    FitRows();
}

void Listbox::Impl::SetHeadings(const std::vector<std::string>& headings) {
    for (int column = 0; column < table.columnCount(); ++column) {
        const auto at = static_cast<std::size_t>(column);
        table.horizontalHeaderItem(column)->setText(
            at < headings.size() ? internal::ToQString(headings[at]) : QString());
    }
}

void Listbox::Impl::ShowHeading(bool shown) {
    hasHeading = shown;
    table.horizontalHeader()->setVisible(shown);
    FitRows();
}

// Every row shows at once: the heading and the rows share the height inside
// the border equally, and the heading takes what the division leaves over.
void Listbox::Impl::FitRows() {
    const QRect inside = table.contentsRect();
    const int rows = table.rowCount();
    const int shares = rows + (hasHeading ? 1 : 0);
    if (shares > 0) {
        const int rowHeight = std::max(inside.height() / shares, 1);
        for (int row = 0; row < rows; ++row) {
            table.setRowHeight(row, rowHeight);
        }
        if (hasHeading) {
            table.horizontalHeader()->setFixedHeight(
                std::max(inside.height() - rows * rowHeight, 1));
        }
    }
    const std::vector<int> widths =
        internal::ColumnWidths(columnWidths, table.columnCount(), inside.width());
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        table.setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    }
    PlaceEditor();
}

// A press on a cell goes to CellClick first. Consumed, it ends there;
// otherwise Qt's handling selects the row, and the list takes the focus
// unless the handler opened a cell, whose editor keeps it. A press beside
// the cells does nothing at all. Returns whether Qt's handling is skipped.
bool Listbox::Impl::Press(QMouseEvent& event) {
    pressTime = event.timestamp();
    pressSwallowed = false;
    const QPoint at = event.position().toPoint();
    const QModelIndex index = table.indexAt(at);
    if (!index.isValid()) {
        pressSwallowed = true;
        event.accept();
        return true;
    }
    const QRect cell = table.visualRect(index);
    if (list.RaiseCellClick(index.row(), index.column(), at.x() - cell.x(), at.y() - cell.y())) {
        pressSwallowed = true;
        event.accept();
        return true;
    }
    if (editRow < 0 && list.TakesFocus()) {
        table.setFocus(Qt::MouseFocusReason);
    }
    return false;
}

// CellKeyDown sees each key first. Keys it leaves are the editor's: Return
// ends the editing, Escape ends it and restores the cell, Tab moves nowhere
// (the focus stays in the cell), and the rest edit the text.
bool Listbox::Impl::EditorKey(QKeyEvent& event) {
    if (editRow < 0) {
        return false;
    }
    const std::string key = CellKeyText(event);
    if (!key.empty() && list.RaiseCellKeyDown(editRow, editColumn, key)) {
        return true;
    }
    if (editRow < 0) {
        return true; // the handler closed the editor; the key has nothing to edit
    }
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CloseEditor(/*restore=*/false, /*keepFocus=*/true);
        return true;
    case Qt::Key_Escape:
        CloseEditor(/*restore=*/true, /*keepFocus=*/true);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// The editor stays open while its window is merely inactive or a pop-up
// shows; focus that goes anywhere else ends the editing.
void Listbox::Impl::EditorFocusOut(Qt::FocusReason reason) {
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        CloseEditor(/*restore=*/false, /*keepFocus=*/false);
    }
}

TextField& Listbox::Impl::Editor() {
    if (editor) {
        return *editor;
    }
    editor = std::make_unique<TextField>(list.Owner(), list.Name(), list.Index());
    auto* edit = static_cast<QLineEdit*>(editor->NativeWidget());
    edit->setParent(table.viewport());
    edit->setFrame(false);
    edit->setAutoFillBackground(true);
    edit->hide();
    edit->installEventFilter(&watcher);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString& text) {
        if (!fillingEditor && editRow >= 0) {
            Item(editRow, editColumn).setText(text);
        }
    });
    return *editor;
}

void Listbox::Impl::Open(int row, int column) {
    TextField& field = Editor();
    editRow = row;
    editColumn = column;
    openedText = Item(row, column).text();
    field.SetTextFont(list.TextFont());
    field.SetTextSize(list.TextSize());
    field.SetBold(list.bold_);
    ShowInEditor(row, column);
    PlaceEditor();
    QWidget* edit = field.NativeWidget();
    edit->show();
    edit->raise();
    edit->setFocus(Qt::OtherFocusReason);
}

void Listbox::Impl::ShowInEditor(int row, int column) {
    fillingEditor = true;
    editor->SetText(internal::ToUtf8(Item(row, column).text()));
    fillingEditor = false;
}

void Listbox::Impl::PlaceEditor() {
    if (editor && editRow >= 0) {
        editor->NativeWidget()->setGeometry(
            table.visualRect(table.model()->index(editRow, editColumn)));
    }
}

void Listbox::Impl::CloseEditor(bool restore, bool keepFocus) {
    if (editRow < 0) {
        return;
    }
    const int row = editRow;
    const int column = editColumn;
    // Not editing any more before the focus moves: the move must not close
    // the editor a second time.
    editRow = -1;
    editColumn = -1;
    if (restore) {
        Item(row, column).setText(openedText);
    }
    QWidget* edit = editor->NativeWidget();
    if (keepFocus && edit->window()->focusWidget() == edit) {
        table.setFocus(Qt::OtherFocusReason);
    }
    edit->hide();
}

Listbox::Listbox(Window& owner, std::string name, std::int32_t index)
    : Control(owner, ControlKind::Listbox, std::move(name), index,
              new ListTable(owner.ContentWidget())) {
    auto& table = *static_cast<ListTable*>(NativeWidget());
    impl_ = std::make_unique<Impl>(*this, table);
    table.impl = impl_.get();
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Shift+Tab move the focus on to the window's next or previous
    // control rather than from cell to cell; the cell editor's own keys
    // (CellKeyDown) are what move the editing within the list.
    table.setTabKeyNavigation(false);
    table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setMinimumSectionSize(1);
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.horizontalHeader()->setMinimumSectionSize(1);
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.horizontalHeader()->setSectionsClickable(false);
    table.horizontalHeader()->setHighlightSections(false);
    impl_->SetColumnCount(1);
    impl_->ShowHeading(false);
    impl_->selectionWatch =
        QObject::connect(table.selectionModel(), &QItemSelectionModel::selectionChanged, &table,
                         [this] { RaiseEvent("Change"); });
    ApplyFocusPolicy();
    UpdateFont();
}

Listbox::~Listbox() {
    auto& table = *static_cast<ListTable*>(NativeWidget());
    QObject::disconnect(impl_->selectionWatch);
    table.impl = nullptr;
    if (impl_->editor) {
        impl_->editor->NativeWidget()->removeEventFilter(&impl_->watcher);
    }
}

int Listbox::ListCount() const {
    return impl_->table.rowCount();
}
int Listbox::ColumnCount() const {
    return impl_->table.columnCount();
}

std::string Listbox::Heading(int column) const {
    if (column < 0 || column >= ColumnCount()) {
        throw OutOfBoundsException("no column " + std::to_string(column) + " in the list '" +
                                   Name() + "'");
    }
    return internal::ToUtf8(impl_->table.horizontalHeaderItem(column)->text());
}

std::string Listbox::Cell(int row, int column) const {
    impl_->CheckCell(row, column);
    return internal::ToUtf8(impl_->Item(row, column).text());
}

void Listbox::SetCell(int row, int column, std::string_view text) {
    impl_->CheckCell(row, column);
    impl_->Item(row, column).setText(internal::ToQString(text));
    if (row == impl_->editRow && column == impl_->editColumn) {
        impl_->ShowInEditor(row, column);
    }
}

int Listbox::ListIndex() const {
    const QModelIndexList rows = impl_->table.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Listbox::SetListIndex(int row) {
    if (row == -1) {
        impl_->table.clearSelection();
        return;
    }
    impl_->CheckRow(row);
    impl_->table.selectRow(row);
}

bool Listbox::Selected(int row) const {
    impl_->CheckRow(row);
    return impl_->table.selectionModel()->isRowSelected(row, QModelIndex());
}

void Listbox::SetSelected(int row, bool selected) {
    impl_->CheckRow(row);
    if (selected) {
        impl_->table.selectRow(row);
    } else {
        impl_->table.selectionModel()->select(impl_->table.model()->index(row, 0),
                                              QItemSelectionModel::Deselect |
                                                  QItemSelectionModel::Rows);
    }
}

void Listbox::EditCell(int row, int column) {
    impl_->CheckCell(row, column);
    impl_->Open(row, column);
}

TextField& Listbox::ActiveCell() {
    if (impl_->editRow < 0) {
        throw NilObjectException("no cell of the list '" + Name() + "' is being edited");
    }
    return *impl_->editor;
}

bool Listbox::IsEditing() const {
    return impl_->editRow >= 0;
}
int Listbox::EditRow() const {
    return impl_->editRow;
}
int Listbox::EditColumn() const {
    return impl_->editColumn;
}

// Presses are the list's to pass on to the focus (Press), so the list takes
// the focus from the keyboard only.
void Listbox::ApplyFocusPolicy() {
    NativeWidget()->setFocusPolicy(TakesFocus() ? Qt::TabFocus : Qt::NoFocus);
}

void Listbox::ApplyDesignProperty(const Property& property) {
    const std::string& name = property.name;
    QTableWidget& table = impl_->table;
    if (name == "ColumnCount") {
        impl_->SetColumnCount(internal::IntValue(property));
    } else if (name == "HasHeading") {
        impl_->ShowHeading(internal::BoolValue(property));
    } else if (name == "InitialValue") {
        // Lines of cells separated by tabs; with a heading the first line
        // holds the headings.
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line : internal::SplitDesignLines(internal::TextValue(property))) {
            std::vector<std::string> cells;
            std::size_t start = 0;
            for (std::size_t tab = line.find('\t'); tab != std::string::npos;
                 tab = line.find('\t', start)) {
                cells.push_back(line.substr(start, tab - start));
                start = tab + 1;
            }
            cells.push_back(line.substr(start));
            rows.push_back(std::move(cells));
        }
        if (impl_->hasHeading && !rows.empty()) {
            impl_->SetHeadings(rows.front());
            rows.erase(rows.begin());
        }
        impl_->SetRows(rows);
    } else if (name == "ColumnWidths") {
        impl_->columnWidths = internal::TextValue(property);
        impl_->FitRows();
    } else if (name == "Border") {
        table.setFrameShape(internal::BoolValue(property) ? QFrame::StyledPanel : QFrame::NoFrame);
        impl_->FitRows();
    } else if (name == "ListIndex") {
        const std::int32_t row = internal::IntValue(property);
        if (row >= -1 && row < ListCount()) {
            SetListIndex(row);
        }
    } else if (name == "GridLinesHorizontal" || name == "GridLinesVertical") {
        // 0 and 1 draw no lines; the line styles from 2 on all draw Qt's grid.
        table.setShowGrid(internal::IntValue(property) >= 2);
    } else if (name == "ColumnsResizable") {
        table.horizontalHeader()->setSectionResizeMode(
            internal::BoolValue(property) ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    Control::ApplyDesignProperty(property);
}

std::vector<std::pair<std::string_view, EventShape>> Listbox::Events() const {
    return {{"CellClick", EventShape::CellClick},
            {"CellKeyDown", EventShape::CellKeyDown},
            {"Change", EventShape::Plain}};
}

} // namespace fw
