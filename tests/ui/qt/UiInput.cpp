#include "tests/ui/UiTestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QTableWidget& table_of(TStringGrid& grid)
{
    return *static_cast<QTableWidget*>(grid.Widget());
}

QPoint centre_of_row(TStringGrid& grid, int row)
{
    QTableWidget& table = table_of(grid);
    return table.visualRect(table.model()->index(row, 1)).center();
}

} // namespace

void StartWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
}

void ClickButton(TButton& button)
{
    QTest::mouseClick(button.Widget(), Qt::LeftButton);
}

void PostClick(TButton& button)
{
    QWidget* widget = button.Widget();
    const QPointF at(5, 5);
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, at, widget->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void PressGridRow(TStringGrid& grid, int row, TMouseButton button, bool shift, bool second)
{
    QWidget* viewport = table_of(grid).viewport();
    const Qt::MouseButton qt_button = button == TMouseButton::Left    ? Qt::LeftButton
                                      : button == TMouseButton::Right ? Qt::RightButton
                                                                      : Qt::MiddleButton;
    const Qt::KeyboardModifiers keys = shift ? Qt::ShiftModifier : Qt::NoModifier;
    const QPoint at = centre_of_row(grid, row);
    if (second) {
        // The second press of a double click arrives as its own event kind.
        QTest::mouseDClick(viewport, qt_button, keys, at);
        return;
    }
    QTest::mousePress(viewport, qt_button, keys, at);
    QTest::mouseRelease(viewport, qt_button, keys, at);
}

void PressBelowGridRows(TStringGrid& grid)
{
    QWidget* viewport = table_of(grid).viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(50, viewport->height() - 5));
}

void PressDownOnGrid(TStringGrid& grid)
{
    table_of(grid).setFocus();
    QTest::keyClick(&table_of(grid), Qt::Key_Down);
}

std::string ShownCellText(TStringGrid& grid, int col, int row)
{
    const QTableWidgetItem* item = table_of(grid).item(row, col);
    return item != nullptr ? item->text().toStdString() : std::string();
}

int ShownColumnWidth(TStringGrid& grid, int col)
{
    QTableWidget& table = table_of(grid);
    // A column ends where the next begins.
    if (col + 1 < table.columnCount()) {
        EXPECT_EQ(table.columnViewportPosition(col + 1), table.columnViewportPosition(col) + table.columnWidth(col));
    }
    return table.columnWidth(col);
}

int ShownRowHeight(TStringGrid& grid)
{
    return table_of(grid).rowHeight(0);
}

int ShownRowCount(TStringGrid& grid)
{
    return table_of(grid).rowCount();
}

int ShownBarPosition(TProgressBar& bar)
{
    return static_cast<QProgressBar*>(bar.Widget())->value();
}
