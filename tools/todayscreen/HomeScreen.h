// The home screen: a full-screen window with the date at the top and below it the Today items
// registered in the machine hive, each an item library's window. It asks the items for their height
// and for changes on a timer, moves the selection between them with the keys, and gives them the
// text colour and its background (the watermark) to draw on.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HostedItem.h"

namespace todayscreen {

inline constexpr const WCHAR* kHomeScreenClass = u"VarkelTodayScreen";
inline constexpr const WCHAR* kHomeScreenTitle = u"Today";
// How often every item is asked whether it changed.
inline constexpr UINT kRefreshPeriod = 2000;
// The date line at the top, in 96-dpi units.
inline constexpr int kHeaderUnits = 24;
inline constexpr COLORREF kTextColour = RGB(0, 0, 0);

class HomeScreen {
  public:
    // report receives one line per item loaded or refused (empty: nothing is reported).
    explicit HomeScreen(std::function<void(const std::string&)> report = {});
    // Unloads the items and destroys the window.
    ~HomeScreen();
    HomeScreen(const HomeScreen&) = delete;
    HomeScreen& operator=(const HomeScreen&) = delete;

    // Creates the window over the screen's work area, loads the registered items and asks each for
    // its height. False when the window cannot be made.
    bool create();
    HWND window() const { return m_window; }

    // Unloads every item (its window destroyed, its library freed) and loads the registered ones
    // again, as after WM_SETTINGCHANGE with TODAY_SETTINGCHANGE_ITEMS.
    void reloadItems();
    // Unloads every item. Closing the home screen does so before its window goes; a window destroyed
    // with its items still loaded frees their libraries once their windows are gone.
    void unloadItems();
    // Sends each item the refresh query; an item that reports a change is laid out again when its
    // height changed and is redrawn. Returns how many reported a change.
    int refreshItems();

    const std::vector<std::unique_ptr<HostedItem>>& items() const { return m_items; }
    // The index of the selected item, -1 when none is.
    int selectedItem() const { return m_selected; }
    // The date line's rectangle in the window's client area.
    RECT headerRect() const;
    // The background colour at a row of the client area (a gradient from white at the top).
    COLORREF backgroundAt(int y) const;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void loadItems();
    void layoutItems();
    void onKey(UINT key);
    void moveSelection(UINT key);
    void onTimer();
    void onSettingChange(WPARAM setting);
    void drawWatermark(const TODAYDRAWWATERMARKINFO* info);
    // Painting (HomePaint.cpp).
    void paint();
    void paintBackground(HDC dc, const RECT& rect, POINT origin) const;
    void paintHeader(HDC dc) const;
    int scaleY(int units) const;

    std::function<void(const std::string&)> m_report;
    HWND m_window = nullptr;
    std::vector<std::unique_ptr<HostedItem>> m_items;
    int m_selected = -1;
    WORD m_shownDay = 0;  // the day of the month the header shows
};

}  // namespace todayscreen
