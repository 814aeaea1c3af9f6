#include "ui/qt/QtBridge.h"

#include "platform/CodePage.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QVariant>

namespace {
constexpr const char* kControlProperty = "tavrin_control";
}

QString ToQt(const std::string& gbk)
{
    const std::u16string wide = AnsiToWide(gbk);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string FromQt(const QString& text)
{
    return WideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<size_t>(text.size())));
}

QColor ToQColor(TColor color)
{
    if (Colors::IsSystem(color)) {
        const QPalette palette = QApplication::palette();
        switch (color) {
        case Colors::ButtonFace:
            return palette.color(QPalette::Button);
        case Colors::WindowBackground:
            return palette.color(QPalette::Window);
        case Colors::WindowText:
            return palette.color(QPalette::WindowText);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(Colors::RedOf(color), Colors::GreenOf(color), Colors::BlueOf(color));
}

QStringList FontFamilies(const std::string& name)
{
    // A name that is not installed is left out: fontconfig would otherwise
    // answer it with its own default face before the list is tried.
    QStringList families;
    const QString wanted = QString::fromStdString(name);
    if (QFontDatabase::families().contains(wanted, Qt::CaseInsensitive))
        families << wanted;
    if (name == "Tahoma" || name == "System" || name == "MS Sans Serif")
        families << "Liberation Sans" << "DejaVu Sans";
    else if (name == "Times New Roman")
        families << "Liberation Serif" << "DejaVu Serif";
    families << "WenQuanYi Zen Hei" << "Noto Sans CJK SC";
    return families;
}

QFont ToQFont(const TFont& font)
{
    QFont f;
    f.setFamilies(FontFamilies(font.Name));
    f.setPixelSize(font.Height > 0 ? font.Height : 1);
    // The old fixed "System" face is bold whatever is asked.
    f.setBold(font.Bold || font.Name == "System");
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void SetControlOf(QObject& widget, TControl* control)
{
    widget.setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(control)));
}

TControl* ControlOf(const QObject* widget)
{
    return widget != nullptr ? static_cast<TControl*>(widget->property(kControlProperty).value<void*>()) : nullptr;
}
