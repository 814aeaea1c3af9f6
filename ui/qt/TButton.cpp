#include "ui/TButton.h"

#include "ui/qt/QtBridge.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

// Return and keypad Enter press a focused button too, as Space does; Qt
// leaves them to default buttons, which a plain window has none of.
class ButtonWidget : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
            event->accept();
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

TButton::TButton(TControl* parent) : TControl(parent)
{
    auto* button = new ButtonWidget(parent != nullptr ? parent->Widget() : nullptr);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    Attach(button);
    QObject::connect(button, &QPushButton::clicked, [this] { Click(); });
}

void TButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    static_cast<QPushButton*>(Widget())->setText(ToQt(caption));
}
