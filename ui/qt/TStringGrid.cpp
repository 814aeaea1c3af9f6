#include "ui/TStringGrid.h"

#include "ui/qt/QtBridge.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>

namespace {

constexpr int kBytesRole = Qt::UserRole + 1;
constexpr int kTextMargin = 2;

TShiftState shift_of(const QMouseEvent& event, bool second_press)
{
    TShiftState shift;
    const Qt::KeyboardModifiers keys = event.modifiers();
    shift.Shift = keys.testFlag(Qt::ShiftModifier);
    shift.Ctrl = keys.testFlag(Qt::ControlModifier);
    shift.Alt = keys.testFlag(Qt::AltModifier);
    const Qt::MouseButtons held = event.buttons() | event.button();
    shift.Left = held.testFlag(Qt::LeftButton);
    shift.Right = held.testFlag(Qt::RightButton);
    shift.Middle = held.testFlag(Qt::MiddleButton);
    shift.Double = second_press;
    return shift;
}

TMouseButton button_of(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return TMouseButton::Right;
    case Qt::MiddleButton:
        return TMouseButton::Middle;
    default:
        return TMouseButton::Left;
    }
}

} // namespace

// Takes the press handling away from Qt's item view, so the current row moves
// only as the grid's rules say.
class GridWidget : public QTableWidget {
public:
    GridWidget(TStringGrid& grid, QWidget* parent) : QTableWidget(parent), grid_(grid) {}

    int anchor = 0;

    void MakeCurrent(int row, int col)
    {
        if (row < 0 || row >= rowCount() || columnCount() == 0)
            return;
        col = std::clamp(col, 0, columnCount() - 1);
        selectionModel()->setCurrentIndex(model()->index(row, col),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        anchor = row;
    }

    void SelectRange(int from, int to)
    {
        if (columnCount() == 0)
            return;
        const QItemSelection range(model()->index(std::min(from, to), 0),
                                   model()->index(std::max(from, to), columnCount() - 1));
        selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        const QPoint at = event->position().toPoint();
        const int row = rowAt(at.y());
        const int col = columnAt(at.x());
        if (event->button() == Qt::LeftButton && row >= 0 && col >= 0) {
            if (event->modifiers().testFlag(Qt::ShiftModifier))
                SelectRange(anchor, row);
            else if (grid_.CanSelect(col, row))
                MakeCurrent(row, col);
        }
        Report(*event, false);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override { Report(*event, true); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        // Rows are what is chosen here: Home and End go to the first and
        // last row, not to the ends of the current one.
        if (action == MoveHome || action == MoveEnd)
            modifiers |= Qt::ControlModifier;
        const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
        if (next.isValid() && next != currentIndex() && !grid_.CanSelect(next.column(), next.row()))
            return currentIndex();
        return next;
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            grid_.Fire(grid_.OnRowActivate);
            return;
        }
        const int row_before = currentIndex().row();
        QTableWidget::keyPressEvent(event);
        if (!event->modifiers().testFlag(Qt::ShiftModifier) && currentIndex().isValid())
            anchor = currentIndex().row();
        if (currentIndex().row() != row_before)
            grid_.Fire(grid_.OnRowMove);
    }

    void paintEvent(QPaintEvent* event) override
    {
        QTableWidget::paintEvent(event);
        if (!hasFocus() || !currentIndex().isValid() || columnCount() == 0)
            return;
        // The whole current row in one dotted frame, inside its grid lines,
        // in the colour of the row's text.
        const int row = currentIndex().row();
        const int line = grid_.GridLineWidth();
        const QRect first = visualRect(model()->index(row, 0));
        const QRect last = visualRect(model()->index(row, columnCount() - 1));
        const QRect frame(first.left(), first.top(), last.right() - first.left() + 1 - line,
                          first.height() - line);
        if (frame.width() <= 1 || frame.height() <= 1)
            return;
        const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
        QPainter painter(viewport());
        QPen pen(selected ? palette().color(QPalette::HighlightedText) : ToQColor(grid_.Font().Color));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        QTableWidget::currentChanged(current, previous);
        viewport()->update(); // the focus frame spans the whole row
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QTableWidget::focusInEvent(event);
        viewport()->update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QTableWidget::focusOutEvent(event);
        viewport()->update();
    }

private:
    void Report(const QMouseEvent& event, bool second_press)
    {
        // Viewport coordinates plus the frame: the grid's own client origin.
        const QPoint at = event.position().toPoint() + viewport()->pos();
        grid_.MouseDown(button_of(event.button()), shift_of(event, second_press), at.x(), at.y());
    }

    TStringGrid& grid_;
};

class GridCellPainter : public QStyledItemDelegate {
public:
    GridCellPainter(TStringGrid& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int line = grid_.GridLineWidth();
        const QRect whole = option.rect;
        const QRect cell(whole.left(), whole.top(), std::max(0, whole.width() - line),
                         std::max(0, whole.height() - line));
        painter->save();
        painter->fillRect(whole, QColor(0xC0, 0xC0, 0xC0));
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& palette = option.palette;
        painter->fillRect(cell, selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));
        painter->setFont(option.font);
        painter->setPen(selected ? palette.color(QPalette::HighlightedText) : ToQColor(grid_.Font().Color));
        painter->setClipRect(cell);
        painter->drawText(cell.adjusted(kTextMargin, kTextMargin, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
        TGridDrawState state;
        state.Selected = selected;
        state.Focused = option.state.testFlag(QStyle::State_HasFocus);
        grid_.DrawCell(index.column(), index.row(),
                       TRect{cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()}, state);
    }

private:
    TStringGrid& grid_;
};

namespace {
GridWidget* table_of(const TControl& control)
{
    return static_cast<GridWidget*>(control.Widget());
}
} // namespace

TStringGrid::TStringGrid(TControl* parent) : TControl(parent)
{
    auto* table = new GridWidget(*this, parent != nullptr ? parent->Widget() : nullptr);
    table->setItemDelegate(new GridCellPainter(*this, table));
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->horizontalHeader()->setMinimumSectionSize(0);
    table->verticalHeader()->setMinimumSectionSize(0);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setLayoutDirection(Qt::LeftToRight);
    table->setTabKeyNavigation(false);
    table->setFocusPolicy(Qt::StrongFocus);
    table->setColumnCount(5);
    table->setRowCount(5);
    Attach(table);
    col_widths_.assign(5, default_col_width_);
    ApplySizes();
    table->MakeCurrent(0, 0);
}

int TStringGrid::ColCount() const { return table_of(*this)->columnCount(); }
int TStringGrid::RowCount() const { return table_of(*this)->rowCount(); }

void TStringGrid::SetColCount(int count)
{
    count = std::max(count, 1);
    table_of(*this)->setColumnCount(count);
    col_widths_.resize(static_cast<size_t>(count), default_col_width_);
    ApplySizes();
}

void TStringGrid::SetRowCount(int count)
{
    GridWidget* table = table_of(*this);
    const bool below_one = count < MinRowCount;
    table->setRowCount(std::max(count, MinRowCount));
    ApplySizes();
    if (below_one || !table->currentIndex().isValid()) {
        table->MakeCurrent(0, std::max(table->currentIndex().column(), 0));
        table->scrollToTop();
    } else {
        table->anchor = std::min(table->anchor, table->rowCount() - 1);
    }
}

std::string TStringGrid::Cells(int col, int row) const
{
    const QTableWidgetItem* item = table_of(*this)->item(row, col);
    return item != nullptr ? item->data(kBytesRole).toByteArray().toStdString() : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    GridWidget* table = table_of(*this);
    if (col < 0 || row < 0 || col >= table->columnCount() || row >= table->rowCount())
        return;
    QTableWidgetItem* item = table->item(row, col);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row, col, item);
    }
    item->setData(kBytesRole, QByteArray::fromStdString(text));
    item->setText(ToQt(text));
}

void TStringGrid::ApplySizes()
{
    GridWidget* table = table_of(*this);
    // A line belongs to the cell on its left or above it.
    table->verticalHeader()->setDefaultSectionSize(default_row_height_ + grid_line_width_);
    for (int r = 0; r < table->rowCount(); ++r)
        table->setRowHeight(r, default_row_height_ + grid_line_width_);
    for (int c = 0; c < table->columnCount(); ++c)
        table->setColumnWidth(c, ColWidths(c) + grid_line_width_);
}

int TStringGrid::Row() const
{
    const QModelIndex current = table_of(*this)->currentIndex();
    return current.isValid() ? current.row() : 0;
}

void TStringGrid::SetRow(int row)
{
    GridWidget* table = table_of(*this);
    table->MakeCurrent(row, table->currentIndex().column());
    table->scrollTo(table->currentIndex());
}

int TStringGrid::TopRow() const
{
    return std::max(table_of(*this)->rowAt(0), 0);
}

int TStringGrid::SelectionTop() const
{
    const QModelIndexList rows = table_of(*this)->selectionModel()->selectedIndexes();
    int top = rows.isEmpty() ? Row() : RowCount();
    for (const QModelIndex& index : rows)
        top = std::min(top, index.row());
    return top;
}

int TStringGrid::SelectionBottom() const
{
    const QModelIndexList rows = table_of(*this)->selectionModel()->selectedIndexes();
    int bottom = rows.isEmpty() ? Row() : 0;
    for (const QModelIndex& index : rows)
        bottom = std::max(bottom, index.row());
    return bottom;
}
