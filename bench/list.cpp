// The finger list's speed on the 480x800 high-resolution screen: one frame of its inertia (five rows
// of long texts with right texts drawn at an offset through its off-screen bitmap and copied to the
// window) against the 50 ms tick that frames come at, and against one BitBlt of the list's rectangle.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "FingerList.h"
#include "RatioReporter.h"
#include "ScreenMetrics.h"
#include "platform/windows.h"

namespace {

// A long list, so that nearly every frame brings rows not drawn before (whose texts are shortened
// to their room then), as a flick through a long list does.
constexpr int kRows = 20000;
// How far the rows move in one frame of a brisk flick (about 700 pixels a second at 50 ms).
constexpr int kFrameStep = 35;
constexpr double kTickSeconds = 0.050;

std::vector<ListItem> longRows() {
    std::vector<ListItem> items;
    for (int i = 0; i < kRows; ++i) {
        ListItem item;
        item.text = u"Супермаркет у дома на Садовой улице, чек номер " + std::u16string(1, u'0' + i % 10) +
                    std::u16string(1, u'0' + (i / 10) % 10) + std::u16string(1, u'0' + (i / 100) % 10);
        item.rightText = u"1 250,50 руб.";
        item.rightColor = i % 2 == 0 ? RGB(0, 160, 0) : RGB(200, 0, 0);
        item.parent = i % 3 == 0 ? -1 : i - i % 3;
        items.push_back(item);
    }
    return items;
}

// A full-screen parent with a finger list of kRows long rows in it, painted once.
struct ListScene {
    ListScene() {
        RECT screen{0, 0, 480, 800};
        parent.create(0, u"bench", WS_POPUP | WS_VISIBLE, screen, nullptr, 0);
        list.create(parent.window(), 0, 36);
        list.setItems(longRows());
        UpdateWindow(parent.window());
    }
    WindowObject parent;
    FingerList list;
};

void BM_ListInertiaFrame(benchmark::State& state) {
    ListScene scene;
    FingerListView& view = scene.list.view();
    int maximum = (kRows - FingerListView::kVisibleRows) * view.rowHeight();
    int offset = 0;
    for (auto _ : state) {
        offset = (offset + kFrameStep) % maximum;
        view.drawScrolled(offset);
    }
}
BENCHMARK(BM_ListInertiaFrame);

void BM_BlitListRect(benchmark::State& state) {
    ListScene scene;
    HWND window = scene.list.view().window();
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, bitmap);
    for (auto _ : state) {
        HDC target = GetDC(window);
        BitBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
        ReleaseDC(window, target);
    }
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}
BENCHMARK(BM_BlitListRect);

}  // namespace

int main(int argc, char** argv) {
    setenv("VARKEL_SCREEN", "480x800@192", 1);
    setScreenMetrics(192, 192, 480, 800);
    benchmark::Initialize(&argc, argv);
    // CPU time, so that other work on a shared machine does not skew one side of a ratio.
    bench::RatioReporter reporter(bench::RatioReporter::Clock::Cpu);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatioToTime("list_frame", "BM_ListInertiaFrame", kTickSeconds, 0.1);
    reporter.printRatio("list_frame_vs_blit", "BM_ListInertiaFrame", "BM_BlitListRect", 15);
    benchmark::Shutdown();
    return 0;
}
