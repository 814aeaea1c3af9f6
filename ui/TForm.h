#pragma once

#include "ui/TControl.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// A top-level window of fixed client size with a single border, minimise and
// close buttons only. It owns the controls added to it. OnCreate runs once,
// after every control exists and before the window is first shown.
class TForm : public TControl {
public:
    TForm();
    ~TForm() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    // Where the window opens (its frame's top-left corner); the size stays
    // the client size. It opens there when it fits wholly on the screen,
    // otherwise moved the least needed to fit.
    void SetBounds(int left, int top, int width, int height) override;

    // An icon file (.ico bytes) for the window and the task bar.
    void SetIcon(std::span<const uint8_t> ico_file);

    // Creates a control owned by this window; parent nullptr means the window.
    template <class T>
    T* Add(TControl* parent = nullptr)
    {
        auto control = std::make_unique<T>(parent != nullptr ? parent : this);
        T* raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }

    // Runs OnCreate, once.
    void DoCreate();
    void Show();
    void Close();

    // Renders the client area to a PNG file; false when it cannot be written.
    bool SaveImage(const std::string& path);

    TNotifyEvent OnCreate;

private:
    // The controls that take the focus, in the order Tab walks them: depth
    // first through the parents, each level in TabOrder, creation order
    // breaking ties.
    std::vector<TControl*> TabChain() const;
    // The first visible, enabled control of the chain; nullptr when none.
    TControl* FirstFocus() const;
    void ApplyTabOrder();
    void PlaceOnItsScreen();

    std::string caption_;
    std::vector<std::unique_ptr<TControl>> controls_;
    bool created_ = false;
    bool shown_before_ = false;
    int design_left_ = 0;
    int design_top_ = 0;
};
