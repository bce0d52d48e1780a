// The Today item: one per loaded library. It owns the item window (class "Brimwell_TodayClass") and
// everything the window shows or acts on: the selected area, the launch button's pressed state, the
// layout at the screen's resolution, the image lists, the loaded data with its refresh check and the
// notification block it holds.
#pragma once

#include "ItemLayout.h"
#include "ItemLog.h"
#include "NotificationReader.h"
#include "RefreshCheck.h"
#include "TodayData.h"
#include "platform/commctrl.h"
#include "platform/todaycmn.h"

namespace today {

// The launch button's pressed state: held while the stylus is down on it; released repaints it once
// more in its normal look and goes back to none.
enum class ButtonState { None = 0, Held = 1, Released = 2 };

class TodayItem {
  public:
    // An item whose class and resources belong to module (the library's own); it holds the
    // notification block from now on.
    explicit TodayItem(HINSTANCE module);
    // Destroys the window, unregisters the class and lets go of the block, the image lists and the data.
    ~TodayItem();
    TodayItem(const TodayItem&) = delete;
    TodayItem& operator=(const TodayItem&) = delete;

    // The item window, child of parent: created when it does not exist (the class unregistered and
    // registered again first), else the existing one; shown. NULL when the class or window cannot be
    // made.
    HWND create(HWND parent);
    HWND window() const { return m_window; }

    Area selectedArea() const { return m_area; }
    ButtonState buttonState() const { return m_button; }
    const ItemLayout& layout() const { return m_layout; }
    const TodayData& data() const { return m_data; }

    // The item window's procedure.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void created();
    BOOL queryRefresh(TODAYLISTITEM* record);
    BOOL navigate(UINT key);
    void action(Area area);
    void textAction();
    void eraseBackground(HDC dc);
    void stylusDown(POINT point);
    void stylusUp(POINT point);
    // Loads the data again; a failed build of the future list is reported by a message box once the
    // load is over.
    void reload();
    void reportFutureListFailure(dove::FutureListStatus status);
    void startDashel();
    void setArea(Area area);
    RECT client() const;
    RECT buttonRect();
    void invalidateButton();

    // Painting (ItemPaint.cpp).
    void paint();
    void paintSetupArea(HDC dc, const RECT& client);
    void paintLaunchButton(HDC dc);
    void paintText(HDC dc, const RECT& client);
    void loadImages();
    void measureLineHeight();
    HFONT makeFont(bool bold) const;

    HINSTANCE m_module;
    HWND m_window = nullptr;
    Area m_area = Area::None;
    ButtonState m_button = ButtonState::None;
    ItemLayout m_layout;
    RECT m_buttonRect{};
    bool m_buttonRectStale = true;
    HIMAGELIST m_icon = nullptr;
    HIMAGELIST m_launchIcon = nullptr;
    NotificationReader m_flags;
    RefreshCheck m_refresh{m_flags};
    TodayData m_data;
    bool m_failureReported = false;  // a failed build's message is on its way or shown
    ItemLog m_log;
};

}  // namespace today
