#include "ui/TLabel.h"

#include "ui/qt/QtBridge.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QTextLayout>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// Where the caption's line lies: glyphs from a fallback font (Chinese) may
// make it taller than the named font alone.
struct LineBox {
    qreal baseline;
    int height;
    int underline_top;
    int underline_thickness;
};

LineBox line_box(const QFont& font, const QString& text)
{
    QFont plain = font;
    plain.setUnderline(false);
    const QFontMetrics metrics(plain);
    QTextLayout layout(text, plain);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    LineBox box;
    box.baseline = std::max<qreal>(metrics.ascent(), line.ascent());
    box.underline_thickness = std::max(1, metrics.lineWidth());
    box.underline_top = static_cast<int>(std::ceil(box.baseline)) + std::max(1, metrics.underlinePos());
    const int line_height = static_cast<int>(std::ceil(box.baseline + std::max<qreal>(metrics.descent(), line.descent())));
    box.height = std::max({metrics.height(), line_height, box.underline_top + box.underline_thickness});
    return box;
}

// A QLabel only so that Qt's own accessibles (the drop-down lists) take it as
// their label; it paints itself.
class LabelWidget : public QLabel {
public:
    LabelWidget(TLabel& label, QWidget* parent) : QLabel(parent), label_(label) { setTextFormat(Qt::PlainText); }

    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(label_.Color()));
        const QColor ink = isEnabled() ? ToQColor(label_.Font().Color)
                                       : palette().color(QPalette::Disabled, QPalette::WindowText);
        // The underline is drawn by hand from the named font's metrics, so a
        // fallback font's deeper underline cannot fall outside the label.
        QFont plain = font();
        plain.setUnderline(false);
        painter.setFont(plain);
        painter.setPen(ink);
        const LineBox box = line_box(font(), text);
        painter.drawText(QPointF(0, box.baseline), text);
        if (font().underline() && !text.isEmpty())
            painter.fillRect(0, box.underline_top, width(), box.underline_thickness, ink);
    }

private:
    TLabel& label_;
};

} // namespace

TLabel::TLabel(TControl* parent) : TControl(parent)
{
    auto* widget = new LabelWidget(*this, parent != nullptr ? parent->Widget() : nullptr);
    Attach(widget);
    Fit();
}

// Qt's accessibles read the unit whenever they are asked for the name.
void TLabel::UnitChanged() {}

void TLabel::ShowCaption()
{
    auto* widget = static_cast<LabelWidget*>(Widget());
    widget->text = ToQt(caption_);
    // For the buddy lookups of Qt's accessibles only; painting uses `text`.
    widget->setText(widget->text);
}

void TLabel::AnnounceCaption(const std::string& old_caption)
{
    // A screen reader announces the new value (a new product, a new page).
    auto* widget = static_cast<LabelWidget*>(Widget());
    const QString old_text = ToQt(old_caption);
    if (QAccessible::isActive() && old_text != widget->text) {
        QAccessibleTextUpdateEvent changed(widget, 0, old_text, widget->text);
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent renamed(widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void TLabel::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    Fit();
}

void TLabel::FitToCaption()
{
    auto* widget = static_cast<LabelWidget*>(Widget());
    if (widget == nullptr)
        return;
    const QFontMetrics metrics(widget->font());
    widget->resize(metrics.horizontalAdvance(widget->text), line_box(widget->font(), widget->text).height);
}
