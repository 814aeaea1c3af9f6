#pragma once

#include "base/TMemoryStream.h"
#include "picture/TBitmap.h"

#include <functional>
#include <memory>

// A picture a box can show. Loading reads what is cheap; the pixels are made
// on the first need of Bitmap().
class TGraphic {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = default;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // True while nothing was ever loaded.
    virtual bool Empty() const = 0;

    // Takes every byte from the stream's position to its end.
    virtual void LoadFromStream(TMemoryStream& stream) = 0;
    // A copy of its own, as a picture box keeps.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    // The decoded pixels, made once on the first call.
    virtual const TBitmap& Bitmap() = 0;

    // Told after every load.
    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};
