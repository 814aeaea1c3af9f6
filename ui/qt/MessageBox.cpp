#include "ui/MessageBox.h"

#include "ui/qt/QtBridge.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include <cstdio>

namespace {

// The box lays itself out once more as it is shown; centring it any earlier
// leaves it off centre by what that layout changes. The frame is centred, as
// the user sees the box.
class ProgramMessageBox : public QMessageBox {
public:
    bool centre_on_screen = false;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (centre_on_screen && screen != nullptr)
            move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                                     screen->availableGeometry())
                     .topLeft());
    }
};

} // namespace

void RunMessageBox(const std::string& text, const std::string& caption, MessageKind kind)
{
    if (QApplication::instance() == nullptr) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    ProgramMessageBox box;
    box.setWindowTitle(ToQt(caption));
    // Texts come from the service too: markup in them is shown as typed.
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQt(text));
    if (kind == MessageKind::ErrorReport) {
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
    } else {
        box.setIcon(QMessageBox::NoIcon);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.centre_on_screen = true;
    }
    box.exec();
}
