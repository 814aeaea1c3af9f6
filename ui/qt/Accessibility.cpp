#include "ui/qt/Accessibility.h"

#include "ui/qt/GridAccessible.h"
#include "ui/qt/QtBridge.h"
#include "ui/TForm.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TPanel.h"
#include "ui/TProgressBar.h"
#include "ui/TStringGrid.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QProgressBar>
#include <QTableWidget>
#include <QWidget>

namespace {

using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;

QAccessibleInterface* accessible_of(const TControl* control)
{
    return control != nullptr ? QAccessible::queryAccessibleInterface(control->Widget()) : nullptr;
}

// The caption that names a control, as Qt's relation: "that one is my label".
void add_caption(Relations& found, const TControl* control, QAccessible::Relation match)
{
    if ((match & QAccessible::Label) && control != nullptr)
        if (QAccessibleInterface* caption = accessible_of(control->CaptionLabel()))
            found.append({caption, QAccessible::Label});
}

// A label: a line of static text, read as what it shows (a value with its
// unit), labelled by its caption and labelling the controls it names.
class LabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        const TLabel* label = Label();
        if (kind != QAccessible::Name || label == nullptr)
            return QAccessibleWidget::text(kind);
        QString name = ToQt(label->Caption());
        if (const TLabel* unit = label->UnitLabel())
            name += ToQt(unit->Caption());
        return name;
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations found;
        const TLabel* label = Label();
        add_caption(found, label, match);
        if ((match & QAccessible::Labelled) && label != nullptr)
            for (const TControl* named : label->NamedControls())
                if (QAccessibleInterface* target = accessible_of(named))
                    found.append({target, QAccessible::Labelled});
        return found;
    }

    // The text: what the label shows, never selectable or editable.
    QString text(int start, int end) const override { return Shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int offset) const override
    {
        const QString shown = Shown();
        if (offset < 0 || offset >= shown.size())
            return {};
        const QFontMetrics metrics(widget()->font());
        const int left = metrics.horizontalAdvance(shown.left(offset));
        const QPoint origin = widget()->mapToGlobal(QPoint(left, 0));
        return QRect(origin, QSize(metrics.horizontalAdvance(shown.at(offset)), widget()->height()));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QString shown = Shown();
        const QFontMetrics metrics(widget()->font());
        const int x = widget()->mapFromGlobal(point).x();
        for (int i = 0; i < shown.size(); ++i)
            if (metrics.horizontalAdvance(shown.left(i + 1)) > x)
                return i;
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    const TLabel* Label() const { return dynamic_cast<const TLabel*>(ControlOf(widget())); }
    QString Shown() const
    {
        const TLabel* label = Label();
        return label != nullptr ? ToQt(label->Caption()) : QString();
    }
};

// A picture box: named only while it shows a picture, and offered to
// screen readers only then (an empty box is a product without that tag).
class ImageAccessible : public QAccessibleWidget {
public:
    explicit ImageAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State shown = QAccessibleWidget::state();
        auto* image = dynamic_cast<TImage*>(ControlOf(widget()));
        if (image != nullptr && image->Picture().Graphic() == nullptr)
            shown.invisible = true;
        return shown;
    }

    QString text(QAccessible::Text kind) const override
    {
        auto* image = dynamic_cast<TImage*>(ControlOf(widget()));
        if (kind != QAccessible::Name || image == nullptr)
            return QAccessibleWidget::text(kind);
        return image->Picture().Graphic() != nullptr ? ToQt(image->AccessibleName()) : QString();
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations found;
        add_caption(found, ControlOf(widget()), match);
        return found;
    }
};

// The progress bar is named by what its window's caption says is going on.
class ProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return widget()->window()->windowTitle();
        if (kind == QAccessible::Value)
            return QString::number(Bar()->value()) + QLatin1Char('%');
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return Bar()->value(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Bar()->maximum(); }
    QVariant minimumValue() const override { return Bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    QProgressBar* Bar() const { return static_cast<QProgressBar*>(widget()); }
};

QAccessibleInterface* control_accessible(const QString&, QObject* object)
{
    TControl* control = ControlOf(object);
    if (control == nullptr)
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (dynamic_cast<TLabel*>(control) != nullptr)
        return new LabelAccessible(widget);
    if (dynamic_cast<TImage*>(control) != nullptr)
        return new ImageAccessible(widget);
    if (dynamic_cast<TStringGrid*>(control) != nullptr)
        return new GridAccessible(static_cast<QTableWidget*>(widget));
    if (dynamic_cast<TProgressBar*>(control) != nullptr)
        return new ProgressAccessible(widget);
    // A frame named by its caption (Qt's answer for a window is taken from
    // its title).
    if (dynamic_cast<TForm*>(control) != nullptr)
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (dynamic_cast<TPanel*>(control) != nullptr)
        return new QAccessibleWidget(widget, QAccessible::Pane);
    return nullptr; // buttons and lists: Qt's own
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(control_accessible);
    }
}
