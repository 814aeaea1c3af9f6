// The baseline of the start-up benchmark: a Qt Widgets window of the client's
// size with nothing in it; with --text, one label of Latin and Chinese text,
// so the fonts are looked up before the window shows, as the client's are.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("bare window");
    window.setFixedSize(654, 485);
    window.move(349, 220);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QString::fromUtf8("Tahoma \xe7\x89\xb9\xe5\x8d\x96"), &window);
        label->setFont(QFont("Tahoma", 9));
        label->move(10, 10);
    }
    window.show();
    return application.exec();
}
