// The yardstick for the launcher's own work: the least program that shows
// the window the launcher shows for the example disc. The same frame and
// client size (481 x 345 at 96 DPI), five themed buttons (the launcher's
// manifest) in the message font, the picture decoded through WIC and
// painted at the origin on the background colour, and the icon file in the
// title bar and the taskbar, through the window class as the launcher does.
// It reads no INI file and checks nothing.
//   same_window.exe PICTURE [ICON] [--steps FILE]
// Paths are without blanks. Without ICON the window has the system's
// default icon. The benchmark's timed build of this program
// (same_window_timed.cpp) takes --steps as the launcher's does.
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

namespace {

constexpr int kClientWidth = 481, kClientHeight = 345;
constexpr int kButtonWidth = 93, kButtonHeight = 33, kButtonTop = 304;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr COLORREF kBackColor = RGB(47, 31, 107);
constexpr GUID kImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kPremultipliedBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

HBITMAP picture;
int pictureWidth, pictureHeight;

template <class T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// The picture as a top-down 32-bit DIB section, clipped to the client area.
HBITMAP DecodePicture(const wchar_t* path) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT width = 0, height = 0;
    if (SUCCEEDED(CoCreateInstance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, kPremultipliedBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        pictureWidth = width < kClientWidth ? static_cast<int>(width) : kClientWidth;
        pictureHeight = height < kClientHeight ? static_cast<int>(height) : kClientHeight;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = pictureWidth;
        info.bmiHeader.biHeight = -pictureHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        WICRect part{0, 0, pictureWidth, pictureHeight};
        const UINT stride = static_cast<UINT>(pictureWidth) * 4;
        if (bitmap) converter->CopyPixels(&part, stride, stride * pictureHeight, static_cast<BYTE*>(bits));
    }
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(factory);
    return bitmap;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ previous = SelectObject(source, picture);
            BitBlt(dc, 0, 0, pictureWidth, pictureHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, previous);
            DeleteDC(source);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const wchar_t* words[2] = {};
    int count = 0;
    for (wchar_t* at = commandLine; *at && count < 2;) {
        while (*at == L' ') *at++ = 0;
        if (!*at || (at[0] == L'-' && at[1] == L'-')) break;
        words[count++] = at;
        while (*at && *at != L' ') ++at;
    }
    if (!count) return 2;
    picture = DecodePicture(words[0]);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(kBackColor);
    if (words[1]) {
        const int small = GetSystemMetrics(SM_CXSMICON), large = GetSystemMetrics(SM_CXICON);
        windowClass.hIconSm =
            static_cast<HICON>(LoadImageW(nullptr, words[1], IMAGE_ICON, small, small, LR_LOADFROMFILE));
        windowClass.hIcon = static_cast<HICON>(LoadImageW(nullptr, words[1], IMAGE_ICON, large, large, LR_LOADFROMFILE));
    }
    windowClass.lpszClassName = L"SameWindow";
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    HWND window = CreateWindowExW(kExStyle, L"SameWindow", L"Example Setup", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  nullptr);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    const wchar_t* captions[] = {L"&Install", L"&Read me", L"E&xit", L"Four", L"Five"};
    for (int i = 0; i < 5; ++i) {
        HWND button = CreateWindowExW(0, L"BUTTON", captions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                      8 + i * (kButtonWidth + 2), kButtonTop, kButtonWidth, kButtonHeight, window,
                                      nullptr, instance, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
