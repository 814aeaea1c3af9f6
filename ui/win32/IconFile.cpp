#include "ui/win32/IconFile.h"

#include "ui/win32/Dpi.h"

#include <cstring>
#include <vector>

namespace {

constexpr size_t kHeaderBytes = 6;
constexpr size_t kFileEntryBytes = 16;    // ICONDIRENTRY: ... image size, file offset
constexpr size_t kResourceEntryBytes = 14; // GRPICONDIRENTRY: ... image size, resource id

uint16_t word_at(std::span<const uint8_t> bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t dword_at(std::span<const uint8_t> bytes, size_t at)
{
    return static_cast<uint32_t>(word_at(bytes, at)) | static_cast<uint32_t>(word_at(bytes, at + 2)) << 16;
}

// The icon of the file's image the system would pick for cx x cy pixels,
// or nullptr.
HICON icon_for(std::span<const uint8_t> file, int cx, int cy)
{
    if (file.size() < kHeaderBytes || word_at(file, 2) != 1)
        return nullptr;
    const size_t count = word_at(file, 4);
    if (count == 0 || file.size() < kHeaderBytes + count * kFileEntryBytes)
        return nullptr;
    // The same directory in the form a resource holds it, the images
    // numbered from 1, so the system's own choice can be asked.
    std::vector<uint8_t> directory(kHeaderBytes + count * kResourceEntryBytes);
    std::memcpy(directory.data(), file.data(), kHeaderBytes);
    for (size_t i = 0; i < count; ++i) {
        uint8_t* entry = directory.data() + kHeaderBytes + i * kResourceEntryBytes;
        std::memcpy(entry, file.data() + kHeaderBytes + i * kFileEntryBytes, 12);
        entry[12] = static_cast<uint8_t>((i + 1) & 0xFF);
        entry[13] = static_cast<uint8_t>((i + 1) >> 8);
    }
    const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, cx, cy, LR_DEFAULTCOLOR);
    if (id < 1 || static_cast<size_t>(id) > count)
        return nullptr;
    const size_t entry = kHeaderBytes + static_cast<size_t>(id - 1) * kFileEntryBytes;
    const uint32_t size = dword_at(file, entry + 8);
    const uint32_t offset = dword_at(file, entry + 12);
    if (offset > file.size() || size > file.size() - offset)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + offset), size, TRUE, 0x00030000, cx, cy,
                                    LR_DEFAULTCOLOR);
}

void replace_icon(HWND hwnd, WPARAM which, HICON icon)
{
    if (icon == nullptr)
        return;
    if (auto old = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon))))
        DestroyIcon(old);
}

} // namespace

void SetWindowIcons(HWND hwnd, std::span<const uint8_t> ico_file)
{
    const UINT dpi = WindowDpi(hwnd);
    replace_icon(hwnd, ICON_SMALL,
                 icon_for(ico_file, SystemMetricForDpi(SM_CXSMICON, dpi), SystemMetricForDpi(SM_CYSMICON, dpi)));
    replace_icon(hwnd, ICON_BIG,
                 icon_for(ico_file, SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi)));
}

void DestroyWindowIcons(HWND hwnd)
{
    for (WPARAM which : {ICON_SMALL, ICON_BIG})
        if (auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_SETICON, which, 0)))
            DestroyIcon(icon);
}
