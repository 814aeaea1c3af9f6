#include "ui/qt/GridAccessible.h"

#include "ui/qt/QtBridge.h"
#include "ui/TLabel.h"

#include <QItemSelectionModel>
#include <QTableWidget>

namespace {

// One cell; it looks its grid up on every call, so it outlives nothing.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(QTableWidget* table, int row, int column) : table_(table), row_(row), column_(column) {}

    bool isValid() const override
    {
        return table_ && row_ < table_->rowCount() && column_ < table_->columnCount();
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(table_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        const QTableWidgetItem* item = table_->item(row_, column_);
        return item != nullptr ? item->text() : QString();
    }

    QRect rect() const override
    {
        if (!isValid() || !table_->isVisible())
            return {};
        const QRect cell = table_->visualRect(table_->model()->index(row_, column_));
        return QRect(table_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        const QModelIndex current = table_->currentIndex();
        state.focused = table_->hasFocus() && current.row() == row_ && current.column() == column_;
        const QRect shown = table_->viewport()->rect();
        state.invisible = !table_->isVisible() ||
                          !shown.intersects(table_->visualRect(table_->model()->index(row_, column_)));
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && table_->selectionModel()->isSelected(table_->model()->index(row_, column_));
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<QTableWidget> table_;
    int row_;
    int column_;
};

} // namespace

GridAccessible::GridAccessible(QTableWidget* table) : QAccessibleWidget(table, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    DropCells();
}

QTableWidget* GridAccessible::Table() const
{
    return static_cast<QTableWidget*>(widget());
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

const TLabel* GridAccessible::Caption() const
{
    const TControl* control = ControlOf(widget());
    return control != nullptr ? control->CaptionLabel() : nullptr;
}

QString GridAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name && Caption() != nullptr)
        return ToQt(Caption()->Caption());
    return QAccessibleWidget::text(kind);
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> GridAccessible::relations(QAccessible::Relation match) const
{
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> found;
    if ((match & QAccessible::Label) && caption() != nullptr)
        found.append({caption(), QAccessible::Label});
    return found;
}

QAccessibleInterface* GridAccessible::caption() const
{
    return Caption() != nullptr ? QAccessible::queryAccessibleInterface(Caption()->Widget()) : nullptr;
}

int GridAccessible::rowCount() const { return Table()->rowCount(); }
int GridAccessible::columnCount() const { return Table()->columnCount(); }
int GridAccessible::childCount() const { return rowCount() * columnCount(); }

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    // The same numbering as the item view's own accessibility events.
    const int index = row * columnCount() + column;
    if (const auto known = cells_.find(index); known != cells_.end())
        return QAccessible::accessibleInterface(known->second);
    auto* cell = new GridCell(Table(), row, column);
    cells_[index] = QAccessible::registerAccessibleInterface(cell);
    return cell;
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    const int columns = columnCount();
    return columns > 0 && index >= 0 ? cellAt(index / columns, index % columns) : nullptr;
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = child != nullptr ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    return cell != nullptr ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint at = Table()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = Table()->indexAt(at);
    return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
}

int GridAccessible::selectedCellCount() const
{
    return static_cast<int>(Table()->selectionModel()->selectedIndexes().size());
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : Table()->selectionModel()->selectedIndexes())
        cells.append(cellAt(index.row(), index.column()));
    return cells;
}

int GridAccessible::selectedRowCount() const
{
    return static_cast<int>(selectedRows().size());
}

QList<int> GridAccessible::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        if (isRowSelected(row))
            rows.append(row);
    return rows;
}

bool GridAccessible::isRowSelected(int row) const
{
    return Table()->selectionModel()->isRowSelected(row, QModelIndex());
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent*)
{
    // Rows come and go with every page; the cells are made again on demand.
    DropCells();
}

void GridAccessible::DropCells()
{
    for (const auto& [index, id] : cells_)
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}
