#include "tests/catalogue/CatalogueTestSupport.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

void StartWindowSystem()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
}

void CatalogueWindowTest::PressRow(int row, TMouseButton button)
{
    const Qt::MouseButton qt_button = button == TMouseButton::Left    ? Qt::LeftButton
                                      : button == TMouseButton::Right ? Qt::RightButton
                                                                      : Qt::MiddleButton;
    auto* table = static_cast<QTableWidget*>(form->gridshowinfo->Widget());
    const QPoint at = table->visualRect(table->model()->index(row, 1)).center();
    QTest::mousePress(table->viewport(), qt_button, {}, at);
    QTest::mouseRelease(table->viewport(), qt_button, {}, at);
}

void CatalogueWindowTest::Click(TControl& control)
{
    QTest::mouseClick(control.Widget(), Qt::LeftButton, {}, QPoint(2, 2));
}

void CatalogueWindowTest::ChooseWithKeys(TComboBox& list, int index)
{
    QWidget* widget = list.Widget();
    widget->setFocus();
    while (list.ItemIndex() != index) {
        const int before = list.ItemIndex();
        QTest::keyClick(widget, before < index ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_NE(list.ItemIndex(), before) << "the list did not move";
    }
}

void CatalogueWindowTest::PressKey(TControl& control, TestKey key, bool shift)
{
    static const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                                   Qt::Key_Home,     Qt::Key_End,  Qt::Key_Return, Qt::Key_Enter};
    Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
    if (key == TestKey::KeypadEnter)
        modifiers |= Qt::KeypadModifier;
    control.Widget()->setFocus();
    QTest::keyClick(control.Widget(), keys[static_cast<int>(key)], modifiers);
}

void CatalogueWindowTest::Hover(TControl& control, bool inside)
{
    if (inside) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(control.Widget(), &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(control.Widget(), &leave);
    }
}

namespace {

QWidget* WidgetAt(QWidget* form, QWidget* widget, int x, int y)
{
    return form->childAt(widget->mapTo(form, QPoint(x, y)));
}

} // namespace

bool CatalogueWindowTest::TakesClickAt(TControl& control, int x, int y)
{
    QWidget* hit = WidgetAt(form->Widget(), control.Widget(), x, y);
    return hit == control.Widget() || control.Widget()->isAncestorOf(hit);
}

void CatalogueWindowTest::ClickAt(TControl& control, int x, int y)
{
    QWidget* widget = control.Widget();
    if (QWidget* hit = WidgetAt(form->Widget(), widget, x, y))
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(form->Widget(), widget->mapTo(form->Widget(), QPoint(x, y))));
}
