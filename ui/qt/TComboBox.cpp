#include "ui/TComboBox.h"

#include "ui/Dispatch.h"
#include "ui/qt/QtBridge.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyledItemDelegate>

#include <vector>

namespace {

// Runs the body with the combo's change notification muted.
template <class Body>
void as_program(bool& flag, Body body)
{
    const bool was = flag;
    flag = true;
    body();
    flag = was;
}

// Items of the open list: as high as the list's item height, in the font and
// colour of the list itself (the popup is a window of its own and would
// otherwise take the application's).
class ListItemDelegate : public QStyledItemDelegate {
public:
    ListItemDelegate(const TComboBox& combo, QObject* parent) : QStyledItemDelegate(parent), combo_(combo) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(combo_.ItemHeight() > 0 ? combo_.ItemHeight() : size.height());
        return size;
    }

private:
    const TComboBox& combo_;
};

} // namespace

class ComboItems : public TStrings {
public:
    ComboItems(QComboBox& box, bool& program_change) : box_(box), program_change_(program_change) {}

    int Count() const override { return static_cast<int>(texts_.size()); }
    std::string Strings(int index) const override
    {
        return index >= 0 && index < Count() ? texts_[static_cast<size_t>(index)] : std::string();
    }
    void Add(const std::string& text) override
    {
        texts_.push_back(text);
        as_program(program_change_, [&] {
            const int current = box_.currentIndex();
            box_.addItem(ToQt(text));
            // Qt makes the first item current on its own; the list keeps none.
            box_.setCurrentIndex(current);
        });
    }
    void Clear() override
    {
        texts_.clear();
        as_program(program_change_, [&] { box_.clear(); });
    }

private:
    QComboBox& box_;
    bool& program_change_;
    std::vector<std::string> texts_;
};

TComboBox::TComboBox(TControl* parent) : TControl(parent)
{
    auto* box = new QComboBox(parent != nullptr ? parent->Widget() : nullptr);
    box->setEditable(false);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setMaxVisibleItems(8);
    box->setItemDelegate(new ListItemDelegate(*this, box));
    Attach(box);
    items_ = std::make_unique<ComboItems>(*box, program_change_);
    TComboBox::FontChanged();
    QObject::connect(box, &QComboBox::currentIndexChanged, [this](int) {
        if (program_change_)
            return;
        if (TNotifyEvent run = OnChange)
            Dispatch([&] { run(this); });
    });
}

TComboBox::~TComboBox() = default;

TStrings& TComboBox::Items()
{
    return *items_;
}

int TComboBox::ItemIndex() const
{
    return static_cast<const QComboBox*>(Widget())->currentIndex();
}

void TComboBox::SetItemIndex(int index)
{
    auto* box = static_cast<QComboBox*>(Widget());
    if (index < -1 || index >= box->count())
        index = -1;
    as_program(program_change_, [&] { box->setCurrentIndex(index); });
}

void TComboBox::SetItemHeight(int height)
{
    item_height_ = height;
}

void TComboBox::FontChanged()
{
    auto* box = static_cast<QComboBox*>(Widget());
    QAbstractItemView* view = box->view();
    view->setFont(box->font());
    QPalette palette = view->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Text, ToQColor(Font().Color));
    view->setPalette(palette);
}
