#include "ui/TLabel.h"

#include "ui/QtBridge.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

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
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
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
    const QFontMetrics metrics(widget->font());
    widget->resize(metrics.horizontalAdvance(widget->text), metrics.height());
}
