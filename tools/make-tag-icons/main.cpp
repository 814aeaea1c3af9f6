// make-tag-icons: draws the three tag badges the client shows beside a product.
// Run once when the badges change, then commit the files it writes:
//   QT_QPA_PLATFORM=offscreen build/bin/make-tag-icons res
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

struct Badge {
    const char* file;
    const char* text; // UTF-8
    QColor fill;
};

constexpr int kWidth = 60;
constexpr int kHeight = 20;
constexpr int kQuality = 95;

QImage draw_badge(const Badge& badge)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, kWidth - 1.0, kHeight - 1.0), 5, 5);
    painter.fillPath(outline, badge.fill);
    painter.setPen(badge.fill.darker(130));
    painter.drawPath(outline);
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(15);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kWidth, kHeight), Qt::AlignCenter, QString::fromUtf8(badge.text));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const Badge badges[] = {
        {"xp.jpg", "新品", QColor(0x2E, 0x9E, 0x4F)}, // tag_new
        {"rm.jpg", "热卖", QColor(0xE0, 0x3C, 0x2E)}, // tag_hot
        {"xl.jpg", "限量", QColor(0xE8, 0x8A, 0x12)}, // tag_lq
    };
    for (const Badge& badge : badges) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(badge.file);
        if (!draw_badge(badge).save(path, "JPG", kQuality)) {
            std::fprintf(stderr, "make-tag-icons: cannot write %s\n", path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
