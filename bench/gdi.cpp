// Drawing speed against its baselines: a line of bold text with a warm glyph cache against a BitBlt of
// the same rectangle, and filling a whole 480x800 surface against memset of its pixels.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // CPU time, so that other work on a shared machine does not skew one side of a ratio.
    bench::RatioReporter reporter(bench::RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("text", "BM_DrawTextBoldLine", "BM_BitBltTextRect", 8);
    reporter.printRatio("fill", "BM_FillRectScreen", "BM_MemsetScreen", 1.5);
    benchmark::Shutdown();
    return 0;
}
