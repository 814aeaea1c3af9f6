#include "tests/ui/UiTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// The darkest gray level inside a rectangle of an image.
int darkest(const QImage& image, const QRect& area)
{
    int level = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            level = std::min(level, qGray(image.pixel(x, y)));
    return level;
}

// Runs inspect on the message box once it is on the screen, then closes it.
void with_open_box(const std::string& text, MessageKind kind, const std::function<void(QMessageBox&)>& inspect)
{
    bool inspected = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        poll.stop();
        inspected = true;
        inspect(*box);
        box->accept();
    });
    poll.start(5);
    RunMessageBox(text, "\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin", kind);
    EXPECT_TRUE(inspected);
}

QLabel* text_label(QMessageBox& box, const QString& text)
{
    for (QLabel* label : box.findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

} // namespace

TEST(Look, DisabledButtonTextIsLighterThanEnabledText)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(120, 40);
    TFont font;
    font.Name = "Tahoma";
    font.Height = 11;
    font.Color = Colors::WindowText;
    form.SetFont(font);
    TButton* enabled = form.Add<TButton>();
    enabled->SetBounds(5, 5, 33, 22);
    enabled->SetCaption("<<");
    TButton* disabled = form.Add<TButton>();
    disabled->SetBounds(60, 5, 33, 22);
    disabled->SetCaption("<<");
    disabled->SetEnabled(false);
    form.Show();
    const QImage shot = form.Widget()->grab().toImage();
    // The caption's middle, clear of the buttons' frames.
    const int ink_enabled = darkest(shot, QRect(5 + 8, 5 + 6, 17, 10));
    const int ink_disabled = darkest(shot, QRect(60 + 8, 5 + 6, 17, 10));
    EXPECT_LT(ink_enabled, 80);
    EXPECT_GT(ink_disabled, ink_enabled + 60);
}

TEST(Look, MessageBoxesShowMarkupAsTyped)
{
    StartWindowSystem();
    const QString markup = QStringLiteral("<b>12</b><br>x");
    for (MessageKind kind : {MessageKind::ErrorReport, MessageKind::Fatal}) {
        with_open_box("<b>12</b><br>x", kind, [&](QMessageBox& box) {
            QLabel* label = text_label(box, markup);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            // One line, as wide as the tags themselves.
            const QFontMetrics metrics(label->font());
            EXPECT_LT(label->sizeHint().height(), 2 * metrics.height());
            EXPECT_GE(label->sizeHint().width(), metrics.horizontalAdvance(markup));
        });
    }
}

TEST(Look, FatalBoxIsCentredOnTheScreenInItsFinalSize)
{
    StartWindowSystem();
    for (const char* text : {"\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3", "a longer text than the buttons"}) {
        with_open_box(text, MessageKind::Fatal, [&](QMessageBox& box) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            const QRect shown = box.frameGeometry();
            EXPECT_LE(std::abs(shown.center().x() - screen.center().x()), 1) << text;
            EXPECT_LE(std::abs(shown.center().y() - screen.center().y()), 1) << text;
        });
    }
}

TEST(Look, OpenDropDownListShowsItemsAtItemHeightInTheListsFontAndColour)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(300, 200);
    TComboBox* combo = form.Add<TComboBox>();
    combo->SetBounds(10, 10, 129, 21);
    TFont font;
    font.Name = "Tahoma";
    font.Height = 11;
    font.Bold = true;
    font.Color = Colors::Blue;
    combo->SetFont(font);
    combo->SetItemHeight(13);
    for (const char* name : {"\xC9\xCC\xC6\xB7", "WWWW", "MMMM"})
        combo->Items().Add(name);
    combo->SetItemIndex(0);
    form.Show();
    auto* box = static_cast<QComboBox*>(combo->Widget());
    box->showPopup();
    Application->ProcessMessages();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(view->font().bold());
    EXPECT_EQ(view->font().pixelSize(), 11);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(view->visualRect(view->model()->index(row, 0)).height(), 13) << row;
    // Row 2 is not current: its text is drawn blue, nothing in it is black.
    const QImage shot = view->viewport()->grab().toImage();
    const QRect row2 = view->visualRect(view->model()->index(2, 0)).intersected(shot.rect());
    int blue = 0;
    int dark = 0;
    for (int y = row2.top(); y <= row2.bottom(); ++y)
        for (int x = row2.left(); x <= row2.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            blue += c.blue() > 200 && c.red() < 60 && c.green() < 60 ? 1 : 0;
            dark += c.blue() < 60 && c.red() < 60 && c.green() < 60 ? 1 : 0;
        }
    EXPECT_GT(blue, 10);
    EXPECT_EQ(dark, 0);
    box->hidePopup();
}
