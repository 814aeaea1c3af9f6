// Drives the packaged client from inside for the package check, loaded with LD_PRELOAD:
// once the main window shows, it presses a row of the product grid as a user would,
// saves the window as a picture and looks for each tag badge in it. Its verdict goes
// to the file TAVRIN_CHECK_RESULT ("OK ..." or "FAIL ..."), then the process ends.
//   TAVRIN_CHECK_ROW     grid row to press
//   TAVRIN_CHECK_BADGES  folder with the badges to look for (xp.jpg, rm.jpg, xl.jpg)
//   TAVRIN_CHECK_SHOT    where the window picture goes (PNG)
// A message box (the failed-request or error report) or no window within the time
// limit fails the check.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTimer>

#include <cstdlib>
#include <cstdio>
#include <optional>

namespace {

constexpr int kPollMs = 100;
constexpr qint64 kTimeLimitMs = 90'000;
// JPEG decoders may round differently; a badge matches where the mean difference per
// colour channel stays under this.
constexpr int kMeanTolerance = 6;

QString setting(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

[[noreturn]] void finish(const QString& verdict)
{
    QFile out(setting("TAVRIN_CHECK_RESULT"));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(verdict.toUtf8() + '\n');
    out.close();
    std::fflush(nullptr);
    std::_Exit(0);
}

// The top-left corner where `badge` appears in `shot`, if it does.
std::optional<QPoint> find_badge(const QImage& shot, const QImage& badge)
{
    const int w = badge.width();
    const int h = badge.height();
    const qint64 budget = qint64(w) * h * 3 * kMeanTolerance;
    for (int y = 0; y + h <= shot.height(); ++y) {
        for (int x = 0; x + w <= shot.width(); ++x) {
            qint64 difference = 0;
            for (int by = 0; by < h && difference <= budget; ++by) {
                const QRgb* s = reinterpret_cast<const QRgb*>(shot.constScanLine(y + by)) + x;
                const QRgb* b = reinterpret_cast<const QRgb*>(badge.constScanLine(by));
                for (int bx = 0; bx < w && difference <= budget; ++bx)
                    difference += std::abs(qRed(s[bx]) - qRed(b[bx])) + std::abs(qGreen(s[bx]) - qGreen(b[bx]))
                                  + std::abs(qBlue(s[bx]) - qBlue(b[bx]));
            }
            if (difference <= budget)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

QWidget* main_window()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->findChild<QTableWidget*>() != nullptr)
            return top;
    return nullptr;
}

void press_row(QTableWidget& grid, int row)
{
    const QPoint at = grid.visualRect(grid.model()->index(row, grid.columnCount() - 1)).center();
    const QPoint global = grid.viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &release);
}

void check_window(QWidget& window)
{
    auto* grid = window.findChild<QTableWidget*>();
    const int row = setting("TAVRIN_CHECK_ROW").toInt();
    if (row < 0 || row >= grid->rowCount())
        finish(QStringLiteral("FAIL the grid has no row %1").arg(row));
    press_row(*grid, row);
    QApplication::processEvents();

    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    shot.save(setting("TAVRIN_CHECK_SHOT"), "PNG");
    QString found;
    for (const char* name : {"xp.jpg", "rm.jpg", "xl.jpg"}) {
        const QString path = setting("TAVRIN_CHECK_BADGES") + QLatin1Char('/') + QLatin1String(name);
        const QImage badge = QImage(path).convertToFormat(QImage::Format_RGB32);
        if (badge.isNull())
            finish(QStringLiteral("FAIL cannot read %1").arg(path));
        const std::optional<QPoint> at = find_badge(shot, badge);
        if (!at)
            finish(QStringLiteral("FAIL badge %1 not shown after pressing row %2").arg(QLatin1String(name)).arg(row));
        found += QStringLiteral(" %1 at %2,%3").arg(QLatin1String(name)).arg(at->x()).arg(at->y());
    }
    finish(QStringLiteral("OK row %1 pressed, badges:%2").arg(row).arg(found));
}

void start_driver()
{
    if (setting("TAVRIN_CHECK_RESULT").isEmpty())
        return;
    auto* clock = new QElapsedTimer;
    clock->start();

    // Message boxes run their own loop, so they are watched by a timer of their own.
    auto* watchdog = new QTimer(qApp);
    QObject::connect(watchdog, &QTimer::timeout, [clock] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box != nullptr && box->isVisible())
                finish(QStringLiteral("FAIL message box: ") + box->text());
        if (clock->elapsed() > kTimeLimitMs)
            finish(QStringLiteral("FAIL no main window within %1 s").arg(kTimeLimitMs / 1000));
    });
    watchdog->start(kPollMs);

    auto* step = new QTimer(qApp);
    QObject::connect(step, &QTimer::timeout, [step] {
        if (QWidget* window = main_window()) {
            step->stop();
            check_window(*window);
        }
    });
    step->start(kPollMs);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(start_driver)
