#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "app/platform.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

namespace {

constexpr const char* form_name = "Form1";
constexpr const char* label_font_name = "MS Sans Serif";
constexpr int label_points = 24;
constexpr int margin = 24;  // pixels between the label's text and the window's edge
constexpr int label_id = 1;
constexpr const char* program_title = "genera_scenario";

// The window of the run: the form Form1 with its one label, Label1. It processes no
// messages while the work runs; it is drawn once, when it is shown.
class win32_platform : public platform {
  public:
    win32_platform() : instance_(GetModuleHandleA(nullptr)) {}
    ~win32_platform() override { close_window(); }
    win32_platform(const win32_platform&) = delete;
    win32_platform& operator=(const win32_platform&) = delete;

    std::string own_folder() override {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD n =
                GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) {
                throw file_error(std::string(), "the system gave no path for the program file",
                                 "cannot find the program's own folder");
            }
            if (n < path.size()) {  // n == size means the path was cut short
                path.resize(n);
                break;
            }
            path.resize(path.size() * 2);
        }
        return folder_of(path);
    }

    void show_window(std::string_view label) override {
        close_window();
        const std::string text(label);
        if (!register_class()) {
            return;  // the run does its work without the window
        }
        font_ = create_label_font();
        const SIZE text_size = text_extent(text);
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT r{0, 0, text_size.cx + 2 * margin, text_size.cy + 2 * margin};
        AdjustWindowRect(&r, style, FALSE);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        form_ = CreateWindowExA(0, form_name, form_name, style, x, y, width, height, nullptr,
                                nullptr, instance_, nullptr);
        if (form_ == nullptr) {
            return;
        }
        label_ = CreateWindowExA(
            0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, margin,
            margin, text_size.cx, text_size.cy, form_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(label_id)), instance_, nullptr);
        if (label_ != nullptr && font_ != nullptr) {
            SendMessageA(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        }
        ShowWindow(form_, SW_SHOWNORMAL);
        // Drawn now: no messages are processed until the run ends.
        UpdateWindow(form_);
        GdiFlush();
    }

    void message_box(std::string_view prompt) override {
        // One OK button, no icon, the default caption.
        MessageBoxA(form_, std::string(prompt).c_str(), nullptr, MB_OK);
    }

    void report_failure(std::string_view message) override {
        MessageBoxA(form_, std::string(message).c_str(), program_title, MB_OK | MB_ICONERROR);
    }

  private:
    bool register_class() {
        WNDCLASSA window_class{};
        if (GetClassInfoA(instance_, form_name, &window_class)) {
            return true;
        }
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = instance_;
        window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        window_class.hbrBackground =
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        window_class.lpszClassName = form_name;
        return RegisterClassA(&window_class) != 0;
    }

    static HFONT create_label_font() {
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(label_points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, label_font_name);
    }

    // The size of the label's text in the label's font, in pixels.
    SIZE text_extent(const std::string& text) const {
        SIZE size{};
        HDC screen = GetDC(nullptr);
        const HGDIOBJ before = font_ != nullptr ? SelectObject(screen, font_) : nullptr;
        GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &size);
        if (before != nullptr) {
            SelectObject(screen, before);
        }
        ReleaseDC(nullptr, screen);
        return size;
    }

    void close_window() {
        if (form_ != nullptr) {
            DestroyWindow(form_);  // destroys the label with it
            form_ = nullptr;
            label_ = nullptr;
        }
        if (font_ != nullptr) {
            DeleteObject(font_);
            font_ = nullptr;
        }
    }

    HINSTANCE instance_;
    HWND form_ = nullptr;
    HWND label_ = nullptr;
    HFONT font_ = nullptr;
};

}  // namespace

std::unique_ptr<platform> make_platform() {
    return std::make_unique<win32_platform>();
}

}  // namespace scenario
