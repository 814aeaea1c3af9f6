#include "ui/TPanel.h"

#include "ui/qt/QtBridge.h"

#include <QFrame>
#include <QPainter>

namespace {

class PanelWidget : public QFrame {
public:
    PanelWidget(TPanel& panel, QWidget* parent) : QFrame(parent), panel_(panel)
    {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
    }

    QString text;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        {
            QPainter painter(this);
            painter.fillRect(rect(), ToQColor(panel_.Color()));
            painter.setPen(ToQColor(panel_.Font().Color));
            painter.drawText(rect(), Qt::AlignCenter, text);
        }
        QFrame::paintEvent(event);
    }

private:
    TPanel& panel_;
};

} // namespace

TPanel::TPanel(TControl* parent) : TControl(parent)
{
    Attach(new PanelWidget(*this, parent != nullptr ? parent->Widget() : nullptr));
}

void TPanel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    static_cast<PanelWidget*>(Widget())->text = ToQt(caption);
    Widget()->update();
}
