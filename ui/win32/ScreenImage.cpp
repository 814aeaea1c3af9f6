#include "ui/win32/ScreenImage.h"

#include "ui/win32/Win32Bridge.h"

#include <wincodec.h>

namespace {

ScreenPixels capture(HDC source, int left, int top, int width, int height)
{
    ScreenPixels pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC memory = CreateCompatibleDC(source);
    if (!bitmap || memory == nullptr) {
        if (memory != nullptr)
            DeleteDC(memory);
        return pixels;
    }
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    const bool copied = BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    if (!copied)
        return pixels;
    pixels.width = width;
    pixels.height = height;
    const auto* words = static_cast<const uint32_t*>(bits);
    pixels.bgra.assign(words, words + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (uint32_t& p : pixels.bgra)
        p &= 0xFFFFFF;
    return pixels;
}

// Releases a COM interface when it goes.
template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr()
    {
        if (p != nullptr)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

} // namespace

ScreenPixels CaptureClient(HWND hwnd)
{
    RECT client;
    if (hwnd == nullptr || !GetClientRect(hwnd, &client))
        return {};
    HDC dc = GetDC(hwnd);
    ScreenPixels pixels = capture(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(hwnd, dc);
    return pixels;
}

ScreenPixels CaptureScreen()
{
    HDC dc = GetDC(nullptr);
    ScreenPixels pixels = capture(dc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ReleaseDC(nullptr, dc);
    return pixels;
}

bool SavePng(const std::string& path, const ScreenPixels& pixels)
{
    if (pixels.Empty())
        return false;
    const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    bool saved = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        const UINT stride = static_cast<UINT>(pixels.width) * 4;
        const std::wstring name = ToWide(path);
        saved = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
                SUCCEEDED(factory->CreateStream(&stream)) &&
                SUCCEEDED(stream->InitializeFromFilename(name.c_str(), GENERIC_WRITE)) &&
                SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
                SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
                SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
                SUCCEEDED(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height))) &&
                SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGR &&
                SUCCEEDED(frame->WritePixels(static_cast<UINT>(pixels.height), stride,
                                             stride * static_cast<UINT>(pixels.height),
                                             reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.bgra.data())))) &&
                SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (started)
        CoUninitialize();
    return saved;
}
