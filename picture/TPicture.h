#pragma once

#include "picture/TGraphic.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Holds at most one graphic and tells its owner when it changes.
class TPicture {
public:
    // Larger picture files are refused rather than read into memory.
    static constexpr int64_t kMaxFileBytes = int64_t{64} << 20;

    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    ~TPicture();

    TGraphic* Graphic() const { return graphic_.get(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Keeps a copy of its own of the graphic; null clears.
    void Assign(const TGraphic* graphic);
    void Clear();
    // The extension picks the type; on any failure the old graphic stays.
    // `path` is the file system's name (UTF-8); error texts show it in ANSI.
    void LoadFromFile(const std::string& path);

    std::function<void()> OnChange;

private:
    void Install(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};
