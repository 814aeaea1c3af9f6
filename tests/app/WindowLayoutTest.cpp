#include "app/main_window.h"
#include "catalogue/catalogue.h"
#include "platform/CodePage.h"
#include "tests/http/LoopbackServer.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QTableWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace {

constexpr TColor kFace = Colors::ButtonFace;
constexpr TColor kParent = 0xFFFFFFFE; // no colour of its own

struct Expected {
    const char* name;
    std::function<TControl*(TForm1&)> control;
    const char* parent; // nullptr: the window
    int left, top, width, height; // width and height -1: sized to the text
    const char* font;
    int font_height;
    bool bold, underline, strike;
    TColor font_colour;
    TColor background;
    const char* text; // GBK; nullptr where the control has no text
};

#define C(member) [](TForm1& f) -> TControl* { return f.member; }

const Expected kWindow[] = {
    {"Image1", C(Image1), nullptr, 8, 274, 187, 199, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, nullptr},
    {"lbltitle", C(lbltitle), nullptr, 8, 248, -1, -1, "System", 16, true, false, false, Colors::Red, kParent,
     "0000000000000000000000000000000000000000000000000000000000000000000"},
    {"monthvolume", C(monthvolume), nullptr, 267, 353, -1, -1, "Tahoma", 12, false, false, false, Colors::Maroon, kFace, "1000"},
    {"Label1", C(Label1), nullptr, 209, 298, -1, -1, "Tahoma", 14, true, true, false, Colors::Grey, kFace, "\xBC\xDB\xB8\xF1:"},
    {"price", C(price), nullptr, 267, 298, -1, -1, "Times New Roman", 16, true, false, true, Colors::Black, kFace, "69.5"},
    {"Label3", C(Label3), nullptr, 209, 352, -1, -1, "Tahoma", 14, true, true, false, Colors::Grey, kFace,
     "\xD4\xC2\xCF\xFA\xC1\xBF:"},
    {"Label4", C(Label4), nullptr, 209, 325, -1, -1, "Tahoma", 14, true, true, false, Colors::Grey, kFace, "\xB4\xD9\xCF\xFA:"},
    {"promotion_price", C(promotion_price), nullptr, 267, 316, -1, -1, "Times New Roman", 29, true, false, false, Colors::Red,
     kFace, "1000"},
    {"Label2", C(Label2), nullptr, 209, 273, -1, -1, "Tahoma", 14, true, true, false, Colors::Grey, kFace, "\xC6\xB7\xC5\xC6:"},
    {"brand_name", C(brand_name), nullptr, 267, 273, -1, -1, "Tahoma", 12, false, false, false, Colors::Red, kFace, "1000"},
    {"Label5", C(Label5), nullptr, 209, 379, -1, -1, "Tahoma", 14, true, true, false, Colors::Grey, kFace, "\xC8\xCB\xC6\xF8:"},
    {"comment_num", C(comment_num), nullptr, 267, 379, -1, -1, "Tahoma", 12, false, false, false, Colors::Red, kFace,
     "1000\xBC\xFE"},
    {"Label6", C(Label6), nullptr, 335, 298, -1, -1, "Tahoma", 14, true, false, false, Colors::Grey, kFace, "\xD4\xAA"},
    {"Label7", C(Label7), nullptr, 335, 325, -1, -1, "Tahoma", 14, true, false, false, Colors::Red, kFace, "\xD4\xAA"},
    {"Label8", C(Label8), nullptr, 319, 379, -1, -1, "Tahoma", 12, true, false, false, Colors::Red, kFace, "\xD4\xAA"},
    {"Image2", C(Image2), nullptr, 207, 405, 75, 67, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, nullptr},
    {"Image3", C(Image3), nullptr, 279, 405, 75, 67, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, nullptr},
    {"Image4", C(Image4), nullptr, 352, 405, 75, 67, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, nullptr},
    {"Label9", C(Label9), nullptr, 335, 352, -1, -1, "Tahoma", 14, true, false, false, Colors::Grey, kFace, "\xBC\xFE"},
    {"Label10", C(Label10), nullptr, 8, 20, -1, -1, "Tahoma", 11, true, false, false, Colors::Maroon, kParent,
     "\xC9\xCC\xC6\xB7\xB4\xF3\xB7\xD6\xC0\xE0:"},
    {"Label11", C(Label11), nullptr, 214, 20, -1, -1, "Tahoma", 11, true, false, false, Colors::Maroon, kParent,
     "\xC9\xCC\xC6\xB7\xD0\xA1\xB7\xD6\xC0\xE0:"},
    {"Label14", C(Label14), nullptr, 411, 21, -1, -1, "Tahoma", 11, false, false, false, Colors::WindowText, kParent,
     "\xCB\xD1\xCB\xF7\xBD\xE1\xB9\xFB:"},
    {"lbltotalcount", C(lbltotalcount), nullptr, 465, 21, -1, -1, "Tahoma", 11, false, false, false, Colors::Red, kParent,
     "5628\xBC\xFE"},
    {"productselect", C(productselect), nullptr, 77, 15, 129, 21, "Tahoma", 11, true, false, false, Colors::Blue, kParent, nullptr},
    {"subproductlist", C(subproductlist), nullptr, 285, 15, 118, 21, "Tahoma", 11, true, false, false, Colors::Blue, kParent,
     nullptr},
    {"Panel1", C(Panel1), nullptr, 8, 44, 638, 193, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, nullptr},
    {"lblpagecount", C(lblpagecount), "Panel1", 47, 7, -1, -1, "Tahoma", 11, false, false, false, Colors::WindowText, kParent,
     "1/24"},
    {"gridshowinfo", C(gridshowinfo), "Panel1", 4, 24, 633, 169, "Tahoma", 11, false, false, false, Colors::WindowText, kParent,
     nullptr},
    {"btnnext", C(btnnext), "Panel1", 77, 0, 33, 22, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, ">>"},
    {"ProgressBar1", C(ProgressBar1), "Panel1", 144, 96, 345, 17, "Tahoma", 11, false, false, false, Colors::WindowText, kParent,
     nullptr},
    {"btnpre", C(btnpre), nullptr, 15, 44, 33, 22, "Tahoma", 11, false, false, false, Colors::WindowText, kParent, "<<"},
};

#undef C

std::string text_of(TControl* control)
{
    if (auto* label = dynamic_cast<TLabel*>(control))
        return label->Caption();
    if (auto* button = dynamic_cast<TButton*>(control))
        return button->Caption();
    return {};
}

QString qt_text(const std::string& gbk)
{
    const std::u16string wide = AnsiToWide(gbk);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        Application->Initialize();
        Application->SetTitle(AppTitle);
        // A catalogue with no categories: the creation handler sets the columns,
        // then stops at the empty list, so the window keeps its layout texts.
        static LoopbackServer catalogue;
        catalogue.Script("HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\n{\"list\":[]}");
        CatalogueBaseUrl = catalogue.Url("/kestrid/");
        Application->MessageBoxHook = [](const std::string&, const std::string&, MessageKind) {};
        if (Form1 == nullptr)
            Application->CreateForm(Form1);
        Application->MessageBoxHook = nullptr;
    }

    TForm1& form() { return *Form1; }
};

} // namespace

TEST_F(MainWindow, EveryControlSitsWhereTheLayoutPutsIt)
{
    std::map<std::string, TControl*> by_name;
    for (const Expected& e : kWindow)
        by_name[e.name] = e.control(form());
    for (const Expected& e : kWindow) {
        SCOPED_TRACE(e.name);
        TControl* c = e.control(form());
        ASSERT_NE(c, nullptr);
        TControl* parent = e.parent != nullptr ? by_name.at(e.parent) : static_cast<TControl*>(&form());
        EXPECT_EQ(c->Parent(), parent);
        EXPECT_EQ(c->Widget()->parentWidget(), parent->Widget());
        const QRect live = c->Widget()->geometry();
        EXPECT_EQ(live.x(), e.left);
        EXPECT_EQ(live.y(), e.top);
        if (e.width >= 0) {
            EXPECT_EQ(live.width(), e.width);
            EXPECT_EQ(live.height(), e.height);
        } else {
            // Labels are sized to their caption.
            EXPECT_EQ(live.width(), QFontMetrics(c->Widget()->font()).horizontalAdvance(qt_text(e.text)));
            EXPECT_GE(live.height(), QFontMetrics(c->Widget()->font()).height());
        }
        const TFont& font = c->Font();
        EXPECT_EQ(font.Name, e.font);
        EXPECT_EQ(font.Height, e.font_height);
        EXPECT_EQ(c->Widget()->font().pixelSize(), e.font_height);
        EXPECT_EQ(c->Widget()->font().bold(), e.bold);
        EXPECT_EQ(c->Widget()->font().underline(), e.underline);
        EXPECT_EQ(c->Widget()->font().strikeOut(), e.strike);
        EXPECT_EQ(font.Color, e.font_colour);
        if (e.background == kParent) {
            EXPECT_TRUE(c->ParentColor());
        } else {
            EXPECT_EQ(c->Color(), e.background);
        }
        if (e.text != nullptr) {
            EXPECT_EQ(text_of(c), e.text);
        }
    }
}

TEST_F(MainWindow, LaterControlsLieAboveEarlierOnes)
{
    // btnpre is a child of the window placed over the panel's corner.
    const QWidget* window = form().Widget();
    const QObjectList& children = window->children();
    const auto at = [&](TControl* c) { return children.indexOf(c->Widget()); };
    EXPECT_LT(at(form().Panel1), at(form().btnpre));
    EXPECT_EQ(window->childAt(20, 50), form().btnpre->Widget());
    EXPECT_EQ(form().Panel1->Widget()->childAt(200, 100), form().ProgressBar1->Widget());
}

TEST_F(MainWindow, WindowIsFixedSizeWithoutMaximise)
{
    QWidget* window = form().Widget();
    EXPECT_EQ(form().Caption(), "\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin");
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("特卖商品Tavrin"));
    EXPECT_EQ(window->minimumSize(), QSize(654, 485));
    EXPECT_EQ(window->maximumSize(), QSize(654, 485));
    EXPECT_EQ(window->pos(), QPoint(349, 220));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(MainWindow, CreationHandlerSetsTheColumnWidthsAndGridSettings)
{
    TStringGrid* grid = form().gridshowinfo;
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->ColWidths(0), 35);
    EXPECT_EQ(grid->ColWidths(1), 575);
    EXPECT_EQ(grid->DefaultRowHeight(), 20);
    EXPECT_EQ(grid->GridLineWidth(), 2);
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(table->layoutDirection(), Qt::LeftToRight);
}

TEST_F(MainWindow, ProgressBarAndTooltipsAreAsLaidOut)
{
    EXPECT_FALSE(form().ProgressBar1->Enabled());
    EXPECT_EQ(form().ProgressBar1->Step(), 1);
    EXPECT_EQ(form().ProgressBar1->Position(), 0);
    EXPECT_EQ(form().btnpre->Hint(), "\xC7\xB0\xD2\xBB\xD2\xB3");
    EXPECT_EQ(form().btnnext->Hint(), "\xBA\xF3\xD2\xBB\xD2\xB3");
    // Tooltips are not switched on: the hints never reach the widgets.
    EXPECT_TRUE(form().btnpre->Widget()->toolTip().isEmpty());
    EXPECT_TRUE(form().btnnext->Widget()->toolTip().isEmpty());
    for (TControl* c : {static_cast<TControl*>(form().Image1), static_cast<TControl*>(form().lbltitle),
                        static_cast<TControl*>(form().promotion_price), static_cast<TControl*>(form().brand_name)})
        EXPECT_EQ(c->Widget()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(form().Image1->Center());
    EXPECT_TRUE(form().Image1->Proportional());
    EXPECT_FALSE(form().Image1->Stretch());
}

TEST_F(MainWindow, CategoryListHoldsTheFocusFirstThenTheTabOrderFollows)
{
    form().Show();
    Application->ProcessMessages();
    QWidget* window = form().Widget();
    EXPECT_EQ(window->focusWidget(), form().productselect->Widget());
    const std::vector<QWidget*> expected = {form().productselect->Widget(), form().subproductlist->Widget(),
                                            form().gridshowinfo->Widget(), form().btnnext->Widget(),
                                            form().btnpre->Widget()};
    std::vector<QWidget*> chain;
    QWidget* w = expected.front();
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end())
            chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != expected.front() && chain.size() < expected.size());
    EXPECT_EQ(chain, expected);
}

TEST_F(MainWindow, HandlersAreBoundToTheirControls)
{
    EXPECT_TRUE(form().OnCreate);
    EXPECT_TRUE(form().productselect->OnChange);
    EXPECT_TRUE(form().subproductlist->OnChange);
    EXPECT_TRUE(form().btnpre->OnClick);
    EXPECT_TRUE(form().btnnext->OnClick);
    EXPECT_TRUE(form().gridshowinfo->OnMouseDown);
    EXPECT_TRUE(form().gridshowinfo->OnDrawCell);
    EXPECT_TRUE(form().gridshowinfo->OnSelectCell);
    for (TControl* c : {static_cast<TControl*>(form().Image1), static_cast<TControl*>(form().lbltitle),
                        static_cast<TControl*>(form().promotion_price), static_cast<TControl*>(form().brand_name)})
        EXPECT_TRUE(c->OnClick);
    EXPECT_TRUE(form().lbltitle->OnMouseEnter);
    EXPECT_TRUE(form().lbltitle->OnMouseLeave);
    EXPECT_EQ(form().Form, &form());
}
