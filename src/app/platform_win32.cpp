#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "app/platform.hpp"
#include "files/file_error.hpp"

namespace scenario {

namespace {

constexpr const char* nome_form = "Form1";
constexpr const char* carattere_etichetta = "MS Sans Serif";
constexpr int punti_etichetta = 24;
constexpr int margine = 24;  // pixels between the label's text and the window's edge
constexpr int id_etichetta = 1;
constexpr const char* titolo_programma = "genera_scenario";

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
        const auto cut = path.find_last_of("\\/");
        return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
    }

    char separator() const override { return '\\'; }

    void show_window(std::string_view label) override {
        close_window();
        const std::string testo(label);
        if (!register_class()) {
            return;  // the run does its work without the window
        }
        font_ = create_label_font();
        const SIZE testo_px = text_extent(testo);
        const DWORD stile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT r{0, 0, testo_px.cx + 2 * margine, testo_px.cy + 2 * margine};
        AdjustWindowRect(&r, stile, FALSE);
        const int larghezza = r.right - r.left;
        const int altezza = r.bottom - r.top;
        const int x = (GetSystemMetrics(SM_CXSCREEN) - larghezza) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - altezza) / 2;
        form_ = CreateWindowExA(0, nome_form, nome_form, stile, x, y, larghezza, altezza, nullptr,
                                nullptr, instance_, nullptr);
        if (form_ == nullptr) {
            return;
        }
        label_ = CreateWindowExA(
            0, "STATIC", testo.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, margine,
            margine, testo_px.cx, testo_px.cy, form_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_etichetta)), instance_, nullptr);
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
        MessageBoxA(form_, std::string(message).c_str(), titolo_programma, MB_OK | MB_ICONERROR);
    }

  private:
    bool register_class() {
        WNDCLASSA classe{};
        if (GetClassInfoA(instance_, nome_form, &classe)) {
            return true;
        }
        classe.lpfnWndProc = DefWindowProcA;
        classe.hInstance = instance_;
        classe.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        classe.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        classe.lpszClassName = nome_form;
        return RegisterClassA(&classe) != 0;
    }

    static HFONT create_label_font() {
        HDC schermo = GetDC(nullptr);
        const int altezza = -MulDiv(punti_etichetta, GetDeviceCaps(schermo, LOGPIXELSY), 72);
        ReleaseDC(nullptr, schermo);
        return CreateFontA(altezza, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, carattere_etichetta);
    }

    // The size of the label's text in the label's font, in pixels.
    SIZE text_extent(const std::string& testo) const {
        SIZE size{};
        HDC schermo = GetDC(nullptr);
        const HGDIOBJ prima = font_ != nullptr ? SelectObject(schermo, font_) : nullptr;
        GetTextExtentPoint32A(schermo, testo.data(), static_cast<int>(testo.size()), &size);
        if (prima != nullptr) {
            SelectObject(schermo, prima);
        }
        ReleaseDC(nullptr, schermo);
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
