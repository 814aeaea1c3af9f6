#pragma once

#include "ui/TColor.h"
#include "ui/TFont.h"

// The window system's object behind a control, opaque here: each backend
// declares it in its own NativeControl.h (ui/qt/, ui/win32/), whichever
// folder CMake picked.
#include "NativeControl.h"

#include <functional>
#include <memory>
#include <string>

class TControl;
class TForm;
class TLabel;

using TNotifyEvent = std::function<void(TControl* sender)>;

enum class TCursor { Default, HandPoint };

// Sides a control keeps its distance to when its parent is resized. The
// window is fixed-size, so they are kept for completeness only.
enum TAnchor : unsigned { akLeftSide = 1, akTopSide = 2, akRightSide = 4, akBottomSide = 8 };

// Base of every control: position within the parent, visibility, font,
// colour, cursor, the three mouse notifications. Handlers are entered through
// Dispatch, so an error they raise goes to the default error report.
class TControl {
public:
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TControl* Parent() const { return parent_; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // A control starts with its parent's font; setting one makes it its own.
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    // The background colour: its own once set, otherwise the parent's.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    // Kept, never shown: tooltips are not switched on in this program. A
    // screen reader reads it as the control's description.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint);

    // Position in the keyboard focus order among the parent's children.
    int TabOrder() const { return tab_order_; }
    void SetTabOrder(int order) { tab_order_ = order; }
    virtual bool TabStop() const { return false; }

    unsigned Anchors() const { return anchors_; }
    void SetAnchors(unsigned anchors) { anchors_ = anchors; }

    // The label whose caption names this control for a screen reader.
    TLabel* CaptionLabel() const { return caption_label_; }
    void SetCaptionLabel(TLabel* caption);

    // What a screen reader calls a control that shows no text of its own (a
    // picture); GBK bytes.
    const std::string& AccessibleName() const { return accessible_name_; }
    void SetAccessibleName(std::string name);

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The widget or window behind the control; for ui/ and tests only.
    NativeControl Widget() const;

protected:
    explicit TControl(TControl* parent);
    // Hands the control its widget; called once by every subclass constructor.
    void Attach(NativeControl widget);
    // Called after the font or the colour changed; the widget is updated already.
    virtual void FontChanged() {}
    // Runs OnClick through the dispatcher.
    void Click();
    // Each backend: the control painted again when the loop next runs.
    void Repaint();

private:
    struct Impl;
    // Each backend: a change handed to the toolkit (ui/TControl.cpp keeps the rules).
    void ApplyFont();
    void ApplyCursor();
    void ApplyHint();
    void ApplyCaptionLabel();
    void AnnounceName();

    TControl* parent_;
    std::unique_ptr<Impl> impl_;
    bool visible_ = true;
    bool enabled_ = true;
    TFont font_;
    TColor color_ = Colors::ButtonFace;
    bool parent_color_ = true;
    TCursor cursor_ = TCursor::Default;
    std::string hint_;
    std::string accessible_name_;
    TLabel* caption_label_ = nullptr;
    int tab_order_ = 0;
    unsigned anchors_ = akLeftSide | akTopSide;

    friend class ControlEvents;
};
