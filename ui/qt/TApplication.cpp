#include "ui/TApplication.h"

#include "picture/ScreenDepth.h"
#include "ui/qt/Accessibility.h"
#include "ui/qt/QtBridge.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>


// Lives for the whole process; Run releases the window system at its end.
TApplication* Application = new TApplication();

struct TApplication::Impl {
    int argc = 1;
    char name[8] = "tavrin";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    bool look_applied = false;
};

TApplication::TApplication() : impl_(std::make_unique<Impl>()) {}

TApplication::~TApplication()
{
    forms_.clear();
}

namespace {

// The fixed colours of the window (maroon, red, blue on button face) were
// chosen for a light window: a dark desktop theme must not reach it.
void apply_designed_look()
{
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (fusion == nullptr)
        return;
    const QPalette standard = fusion->standardPalette();
    // Every role of every group set, so nothing of a theme's palette is
    // resolved into it, now or when the theme changes.
    QPalette palette;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            palette.setBrush(group, role, standard.brush(group, role));
        }
    QApplication::setStyle(fusion); // the application owns it from here
    // Also drops the per-class palettes a platform theme installs.
    QApplication::setPalette(palette);
}

} // namespace

void TApplication::Initialize()
{
    if (QApplication::instance() == nullptr)
        impl_->app = std::make_unique<QApplication>(impl_->argc, impl_->argv);
    // Docks match the window to the installed desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TAVRIN_APP_ID));
    InstallAccessibility();
    if (!impl_->look_applied) {
        impl_->look_applied = true;
        apply_designed_look();
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        SetScreenBitsPerPixel(screen->depth());
}

void TApplication::Adopt(std::unique_ptr<TForm> form)
{
    forms_.push_back(std::move(form));
}

void TApplication::Run()
{
    if (TForm* main = MainForm()) {
        main->Show();
        QApplication::exec();
    }
    forms_.clear();
    impl_->app.reset();
    impl_->look_applied = false;
}

void TApplication::ProcessMessages()
{
    QApplication::processEvents();
}

namespace {
QImage grab_screen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->grabWindow(0).toImage() : QImage();
}
} // namespace

bool TApplication::SaveScreenImage(const std::string& path) const
{
    const QImage image = grab_screen();
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

bool TApplication::ScreenIsBlank() const
{
    const QImage image = grab_screen();
    if (image.isNull())
        return true;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}
