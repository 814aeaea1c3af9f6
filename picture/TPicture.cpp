#include "picture/TPicture.h"

#include "picture/PictureErrors.h"
#include "picture/TFileFormatList.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

// Everything after the last dot of the name part; empty without one.
std::string extension_of(const std::string& path)
{
    size_t name = path.size();
    while (name > 0 && !IsPathSeparator(path[name - 1]))
        --name;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < name)
        return {};
    return path.substr(dot + 1);
}

// The absolute, normalised name, in UTF-8 like the name given; the name
// itself when the system cannot tell.
std::string full_path(const std::string& path)
{
    try {
        const std::filesystem::path given(std::u8string(path.begin(), path.end()));
        std::error_code error;
        const auto absolute = std::filesystem::absolute(given, error);
        if (error)
            return path;
        const std::u8string text = absolute.lexically_normal().u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::exception&) {
        // A name that is no UTF-8 cannot become a path where paths are wide.
        return path;
    }
}

// The message shows the name and the reason in the program's code page.
[[noreturn]] void fail_open(const std::string& path, int error)
{
    throw EFOpenError::CannotOpen(Utf8ToAnsi(full_path(path)), Utf8ToAnsi(std::strerror(error)));
}

void read_file(const std::string& path, TMemoryStream& stream)
{
    errno = 0;
    FileHandle file = OpenFile(path, "rb");
    if (!file)
        fail_open(path, errno);
    char block[65536];
    for (;;) {
        const size_t count = std::fread(block, 1, sizeof block, file.get());
        if (count > 0) {
            if (stream.Size() + static_cast<int64_t>(count) > TPicture::kMaxFileBytes)
                fail_open(path, EFBIG);
            stream.Write(block, static_cast<int64_t>(count));
        }
        if (count < sizeof block) {
            if (std::ferror(file.get()))
                fail_open(path, errno != 0 ? errno : EIO);
            break;
        }
    }
    stream.SetPosition(0);
}

} // namespace

TPicture::~TPicture() = default;

void TPicture::Assign(const TGraphic* graphic)
{
    if (!graphic) {
        Clear();
        return;
    }
    Install(graphic->Clone());
}

void TPicture::Clear()
{
    // An empty picture cleared again changes nothing: its box is not
    // painted again (three empty badge boxes with every product shown).
    if (!graphic_)
        return;
    graphic_.reset();
    Changed();
}

void TPicture::LoadFromFile(const std::string& path)
{
    const std::string extension = extension_of(path);
    const auto* format = FileFormats().Find(extension);
    if (!format)
        throw EInvalidGraphic::UnknownExtension(Utf8ToAnsi(extension));
    if (!format->Create)
        throw EInvalidGraphic::Unsupported(format->Description);
    TMemoryStream stream;
    read_file(path, stream);
    auto graphic = format->Create();
    graphic->LoadFromStream(stream);
    Install(std::move(graphic));
}

void TPicture::Install(std::unique_ptr<TGraphic> graphic)
{
    graphic_ = std::move(graphic);
    graphic_->OnChange = [this] { Changed(); };
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange();
}
