// Drawing speed against its baselines: a line of bold text with a warm glyph cache against a BitBlt of
// the same rectangle, filling a whole 480x800 surface against memset of its pixels, and a full repaint
// of a window tree on the 480x640 screen against one memcpy of its framebuffer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "platform/detail/Gdi.h"
#include "platform/windows.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 800;
constexpr const char16_t* kLine = u"Счета и бюджеты: 1 250,50 руб.";  // 30 characters

// A memory DC over a screen-sized bitmap, with the benchmark font selected.
struct Screen {
    Screen() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
        SelectObject(dc, bitmap);
        font = CreateFontW(14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Times new roman");
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        textRect = RECT{10, 10, kWidth - 10, 60};
        DrawTextW(dc, kLine, -1, &textRect, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    }
    ~Screen() {
        DeleteDC(dc);
        DeleteObject(bitmap);
        DeleteObject(font);
    }
    HDC dc;
    HBITMAP bitmap;
    HFONT font;
    RECT textRect;
};

void BM_DrawTextBoldLine(benchmark::State& state) {
    Screen screen;
    RECT r = screen.textRect;
    DrawTextW(screen.dc, kLine, -1, &r, DT_SINGLELINE | DT_NOPREFIX);  // warms the glyph cache
    for (auto _ : state) {
        r = screen.textRect;
        benchmark::DoNotOptimize(DrawTextW(screen.dc, kLine, -1, &r, DT_SINGLELINE | DT_NOPREFIX));
    }
}
BENCHMARK(BM_DrawTextBoldLine);

void BM_BitBltTextRect(benchmark::State& state) {
    Screen screen, source;
    const RECT& r = screen.textRect;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BitBlt(screen.dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                        source.dc, r.left, r.top, SRCCOPY));
    }
}
BENCHMARK(BM_BitBltTextRect);

void BM_FillRectScreen(benchmark::State& state) {
    Screen screen;
    HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        FillRect(screen.dc, &all, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
}
BENCHMARK(BM_FillRectScreen);

void BM_MemsetScreen(benchmark::State& state) {
    Screen screen;
    auto surface = platform::surfaceOf(screen.bitmap);
    int value = 0;
    for (auto _ : state) {
        std::memset(surface->row(0), ++value & 0xFF, sizeof(uint32_t) * kWidth * kHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetScreen);

// The repaint scene: a top-level window filling the 480x640 screen with 8 panels of 4 text labels
// each (8 + 32 = 40 child windows), as a page of finger controls is built.
constexpr int kPanels = 8;
constexpr int kLabelsPerPanel = 4;
constexpr WCHAR kSceneClass[] = u"BenchScene";

LRESULT CALLBACK sceneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    LONG_PTR shade = GetWindowLongPtrW(window, GWLP_USERDATA);
    HBRUSH brush = CreateSolidBrush(RGB(40 + shade, 44 + shade, 52 + shade));
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    WCHAR text[32];
    int length = GetWindowTextW(window, text, 32);
    if (length > 0) {
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(230, 230, 230));
        SelectObject(hdc, GetStockObject(SYSTEM_FONT));
        DrawTextW(hdc, text, length, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    EndPaint(window, &ps);
    return 0;
}

struct Scene {
    Scene() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = sceneProc;
        windowClass.lpszClassName = kSceneClass;
        RegisterClassW(&windowClass);
        top = CreateWindowExW(0, kSceneClass, u"", WS_POPUP | WS_VISIBLE, 0, 0, kSceneWidth, kSceneHeight,
                              nullptr, nullptr, nullptr, nullptr);
        int panelHeight = kSceneHeight / kPanels, labelWidth = kSceneWidth / kLabelsPerPanel;
        for (int p = 0; p < kPanels; ++p) {
            HWND panel = CreateWindowExW(0, kSceneClass, u"", WS_CHILD | WS_VISIBLE, 0, p * panelHeight,
                                         kSceneWidth, panelHeight, top, nullptr, nullptr, nullptr);
            SetWindowLongPtrW(panel, GWLP_USERDATA, 20);
            for (int l = 0; l < kLabelsPerPanel; ++l) {
                std::u16string text = u"Счет " + std::u16string(1, static_cast<char16_t>(u'1' + p)) + u"." +
                                      std::u16string(1, static_cast<char16_t>(u'1' + l));
                CreateWindowExW(0, kSceneClass, text.c_str(), WS_CHILD | WS_VISIBLE, l * labelWidth + 2, 2,
                                labelWidth - 4, panelHeight - 4, panel, nullptr, nullptr, nullptr);
            }
            windows += 1 + kLabelsPerPanel;
        }
        UpdateWindow(top);
    }
    ~Scene() { DestroyWindow(top); }
    static constexpr int kSceneWidth = 480;
    static constexpr int kSceneHeight = 640;
    HWND top = nullptr;
    int windows = 0;
};

// Invalidates the whole tree and paints it: WM_PAINT of the top-level window, then of every child.
void BM_RepaintWindowTree(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        RedrawWindow(scene.top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        UpdateWindow(scene.top);
        benchmark::ClobberMemory();
    }
    state.counters["windows"] = scene.windows;
}
BENCHMARK(BM_RepaintWindowTree);

void BM_MemcpyFramebuffer(benchmark::State& state) {
    std::vector<uint32_t> from(Scene::kSceneWidth * Scene::kSceneHeight, 0x123456u);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), sizeof(uint32_t) * from.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFramebuffer);

}  // namespace

int main(int argc, char** argv) {
    // The repaint is measured on the 480x640 high-resolution screen.
    setenv("VARKEL_SCREEN", "480x640@192", 1);
    benchmark::Initialize(&argc, argv);
    // CPU time, so that other work on a shared machine does not skew one side of a ratio.
    bench::RatioReporter reporter(bench::RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("text", "BM_DrawTextBoldLine", "BM_BitBltTextRect", 8);
    reporter.printRatio("fill", "BM_FillRectScreen", "BM_MemsetScreen", 1.5);
    reporter.printRatio("repaint", "BM_RepaintWindowTree", "BM_MemcpyFramebuffer", 20);
    benchmark::Shutdown();
    return 0;
}
