#include "ui/TForm.h"

#include "ui/Dispatch.h"
#include "ui/WindowPlacement.h"
#include "ui/qt/QtBridge.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>

TForm::TForm() : TControl(nullptr)
{
    auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                            Qt::WindowCloseButtonHint);
    window->setAutoFillBackground(true);
    Attach(window);
    SetColor(Colors::WindowBackground);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ToQColor(Colors::WindowBackground));
    window->setPalette(palette);
}

TForm::~TForm()
{
    // Children go before their parents: later controls were created later.
    while (!controls_.empty())
        controls_.pop_back();
}

void TForm::SetCaption(const std::string& caption)
{
    caption_ = caption;
    Widget()->setWindowTitle(ToQt(caption));
}

int TForm::ClientWidth() const { return Widget()->width(); }
int TForm::ClientHeight() const { return Widget()->height(); }

void TForm::SetClientSize(int width, int height)
{
    Widget()->setFixedSize(std::max(width, 0), std::max(height, 0));
}

void TForm::SetBounds(int left, int top, int, int)
{
    design_left_ = left;
    design_top_ = top;
    Widget()->move(left, top);
}

void TForm::PlaceOnItsScreen()
{
    QWidget* window = Widget();
    const QPoint design(design_left_, design_top_);
    QScreen* screen = QGuiApplication::screenAt(design);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    const TRect placed = PlaceOnScreen(design.x(), design.y(), size.width(), size.height(),
                                       TRect{area.left(), area.top(), area.left() + area.width(),
                                             area.top() + area.height()});
    window->move(placed.Left, placed.Top);
}

void TForm::SetIcon(std::span<const uint8_t> ico_file)
{
    QByteArray bytes(reinterpret_cast<const char*>(ico_file.data()), static_cast<qsizetype>(ico_file.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    QIcon icon;
    // Every image of the file; the platform picks the one it shows.
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    if (!icon.isNull())
        Widget()->setWindowIcon(icon);
}

void TForm::Show()
{
    QWidget* window = Widget();
    if (!shown_before_) {
        shown_before_ = true;
        PlaceOnItsScreen();
        ApplyTabOrder();
    }
    window->show();
    window->activateWindow();
    // The focus is shown from the start, not only after the first Tab.
    window->setAttribute(Qt::WA_KeyboardFocusChange);
}

void TForm::Close()
{
    Widget()->close();
}

bool TForm::SaveImage(const std::string& path)
{
    QWidget* window = Widget();
    window->ensurePolished();
    return window->grab().save(QString::fromStdString(path), "PNG");
}

void TForm::ApplyTabOrder()
{
    const std::vector<TControl*> chain = TabChain();
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1]->Widget(), chain[i]->Widget());
    if (TControl* first = FirstFocus())
        first->Widget()->setFocus(Qt::TabFocusReason);
}
