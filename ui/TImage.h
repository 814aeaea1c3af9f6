#pragma once

#include "picture/FitRule.h"
#include "picture/TPicture.h"
#include "ui/TControl.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>

class TBitmap;
class TGraphic;

// How a picture is scaled to its device pixels: by whole pixels (sharp
// photographs, the fit rule's own), or smoothly where the screen's scale
// factor is not 1 (small drawn badges, which whole pixels would make uneven).
enum class TImageScaling { WholePixels, SmoothOnScaledScreens };

// A picture box. Its graphic is fitted into the destination rectangle of the
// fit rule and scaled by dropping whole pixels; the box is not opaque where
// the picture does not cover it. The graphic decodes on its first paint; a
// decode error goes to the default error report once, and later paints show
// what the decoder left without trying again.
class TImage : public TControl {
public:
    explicit TImage(TControl* parent);
    ~TImage() override;

    TPicture& Picture() { return *picture_; }

    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool proportional);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    TImageScaling Scaling() const { return scaling_; }
    void SetScaling(TImageScaling scaling);

private:
    friend class ImageWidget;
    void PictureChanged();

    // What a paint draws: the bitmap, where in the box's device pixels, and
    // how it is brought to that size.
    enum class FrameScaling { AsIs, WholePixels, Smooth };
    struct Frame {
        const TBitmap& bitmap;
        TRect dest;
        FrameScaling scaling;
    };
    // For the backend's paint: nothing when there is nothing to draw; a
    // decode error is handed to ReportPaintError, once per graphic.
    std::optional<Frame> FrameToPaint(const std::function<int(int)>& to_device, int box_width, int box_height,
                                      bool scaled_screen);

    // Each backend: the box painted again when the loop next runs.
    void RepaintPicture();
    // Each backend: screen readers told the box shows a picture or none.
    void AnnouncePicture();
    // Each backend: the error reported once the paint is over (a message box
    // must not open inside one).
    void ReportPaintError(std::exception_ptr error);

    std::unique_ptr<TPicture> picture_;
    bool center_ = false;
    bool proportional_ = false;
    bool stretch_ = false;
    TImageScaling scaling_ = TImageScaling::WholePixels;
    // The graphic whose decoding failed; it is not decoded again.
    const TGraphic* failed_graphic_ = nullptr;
};
