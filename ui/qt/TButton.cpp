#include "ui/TButton.h"

#include "ui/qt/QtBridge.h"

#include <QPushButton>

TButton::TButton(TControl* parent) : TControl(parent)
{
    auto* button = new QPushButton(parent != nullptr ? parent->Widget() : nullptr);
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
