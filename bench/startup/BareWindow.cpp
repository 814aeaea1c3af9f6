// The baseline of the start-up benchmark: a Qt Widgets window of the client's
// size with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("bare window");
    window.setFixedSize(654, 485);
    window.move(349, 220);
    window.show();
    return application.exec();
}
