#include "ui/TComboBox.h"

#include "ui/Dispatch.h"
#include "ui/QtBridge.h"

#include <QAbstractItemView>
#include <QComboBox>

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
    Attach(box);
    items_ = std::make_unique<ComboItems>(*box, program_change_);
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
