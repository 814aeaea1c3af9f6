#include "ui/TLabel.h"

#include "ui/QtBridge.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

class LabelWidget : public QWidget {
public:
    LabelWidget(TLabel& label, QWidget* parent) : QWidget(parent), label_(label) {}

    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(label_.Color()));
        painter.setFont(font());
        painter.setPen(ToQColor(label_.Font().Color));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
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

void TLabel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    static_cast<LabelWidget*>(Widget())->text = ToQt(caption);
    Fit();
    Widget()->update();
}

void TLabel::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    Fit();
}

void TLabel::SetAutoSize(bool auto_size)
{
    auto_size_ = auto_size;
    Fit();
}

void TLabel::FontChanged()
{
    Fit();
    if (QWidget* w = Widget())
        w->update();
}

void TLabel::Fit()
{
    auto* widget = static_cast<LabelWidget*>(Widget());
    if (!auto_size_ || widget == nullptr)
        return;
    // The text's own line: glyphs from a fallback font (Chinese) may make it
    // taller than the named font, and the underline sits within it.
    const QFontMetrics metrics(widget->font());
    QTextLayout layout(widget->text, widget->font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const int height = std::max(metrics.height(), static_cast<int>(std::ceil(line.height())));
    widget->resize(metrics.horizontalAdvance(widget->text), height);
}
