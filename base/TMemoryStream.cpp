#include "base/TMemoryStream.h"

#include "base/StreamErrors.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::SetSize(int64_t size)
{
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    position_ = std::min(position_, Size());
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    int64_t base = origin == SeekOrigin::Beginning ? 0 : origin == SeekOrigin::Current ? position_ : Size();
    position_ = std::max<int64_t>(base + offset, 0);
    return position_;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t available = std::max<int64_t>(Size() - position_, 0);
    int64_t n = std::clamp<int64_t>(count, 0, available);
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return;
    int64_t end = position_ + count;
    if (end > Size())
        bytes_.resize(static_cast<size_t>(end));
    std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
}

void TMemoryStream::CopyFrom(TMemoryStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    if (count < 0 || source.Size() - source.Position() < count)
        throw EReadError();
    // Grow once, then copy straight across (source may be this very stream).
    int64_t from = source.Position();
    int64_t end = position_ + count;
    if (end > Size())
        bytes_.resize(static_cast<size_t>(end));
    std::memmove(bytes_.data() + position_, source.bytes_.data() + from, static_cast<size_t>(count));
    position_ = end;
    if (&source != this)
        source.position_ = from + count;
}

void TMemoryStream::Clear()
{
    bytes_.clear();
    bytes_.shrink_to_fit();
    position_ = 0;
}
