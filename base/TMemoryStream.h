#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A growable byte buffer with a current position. Writing past the end grows
// it; reading stops at the end. Response bodies and the picture store live in
// these.
class TMemoryStream {
public:
    enum class SeekOrigin { Beginning, Current, End };

    int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }
    int64_t Position() const { return position_; }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }

    // New size; the position is kept unless it would lie past the new end.
    void SetSize(int64_t size);
    // Moves the position (clamped at 0; may lie past the end until the next write).
    int64_t Seek(int64_t offset, SeekOrigin origin);

    // Copies up to count bytes from the position on; returns how many.
    int64_t Read(void* buffer, int64_t count);
    // Writes count bytes at the position, growing the stream as needed.
    void Write(const void* buffer, int64_t count);
    // Copies count bytes from source's position into this stream at its
    // position; count 0 copies the whole source from its first byte.
    // Raises EReadError when source holds fewer bytes than asked.
    void CopyFrom(TMemoryStream& source, int64_t count);

    void Clear();
    std::span<const uint8_t> Bytes() const { return bytes_; }
    uint8_t* Memory() { return bytes_.data(); }
    const uint8_t* Memory() const { return bytes_.data(); }

private:
    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
};
