// render-window-helper OUT.png BASE_URL ROW [dark-desktop]
// Renders Form1 against a catalogue service with grid row ROW pressed, as the
// program starts it. With dark-desktop the window system is first started the
// way a dark desktop theme leaves it: another style, dark application and
// widget-class palettes.
#include "app/main_window.h"
#include "catalogue/catalogue.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

QPalette dark_palette()
{
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230);
    QPalette palette(text, window, window.lighter(130), window.darker(150), window.darker(120), text, Qt::white, base,
                     window);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return palette;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: render-window-helper OUT.png BASE_URL ROW [dark-desktop]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qt_argc = 1;
    std::unique_ptr<QApplication> desktop;
    if (argc > 4 && std::string(argv[4]) == "dark-desktop") {
        desktop = std::make_unique<QApplication>(qt_argc, argv);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
        const QPalette dark = dark_palette();
        QApplication::setPalette(dark);
        for (const char* widget_class : {"QAbstractButton", "QAbstractItemView", "QLabel", "QMenu"})
            QApplication::setPalette(dark, widget_class);
    }
    CatalogueBaseUrl = argv[2];
    Application->Initialize();
    Application->SetTitle(AppTitle);
    Application->CreateForm(Form1);
    Form1->Show();
    Application->ProcessMessages();
    Form1->gridshowinfo->SetRow(std::atoi(argv[3]));
    gridshowinfoMouseDown(*Form1);
    Application->ProcessMessages();
    if (!Form1->SaveImage(argv[1]))
        return 1;
    std::fflush(nullptr);
    std::_Exit(0); // the desktop's application object outlives the forms
}
