// WindowObject: the base of every window of the program. It binds one platform window to one object
// and sends that window's messages to the object's virtual window procedure, either for a window of a
// class it registers itself or for a platform-class window it takes over (subclasses).
#pragma once

#include "Str.h"
#include "platform/windows.h"

// The class a window object's window gets when the object registered none: redraw on horizontal and
// vertical size changes, white background.
inline constexpr const WCHAR* kDefaultWindowClass = u"VarkelWndCls";

// Moves window over the shell's visible desktop rectangle (below the task bar and above the input
// panel), 100 pixels shorter while the input panel is not shown. False when the window does not exist
// or the shell cannot say where the input panel is.
bool fitWindowToVisibleDesktop(HWND window);

class WindowObject {
  public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    // Destroys the window when it still exists (the object is detached first, so the object's
    // procedure sees no messages of a half-destroyed object).
    virtual ~WindowObject();

    // The object's window procedure. The default hands the message to the previous procedure of a
    // subclassed window, otherwise to DefWindowProcW.
    virtual LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // With the fit-to-desktop flag set and a window, moves it over the visible desktop rectangle
    // (see fitWindowToVisibleDesktop). Called on activation and on input-panel changes.
    virtual void fitToDesktop();
    // Called when the object takes over an existing window, after the handle is stored and before
    // its procedure is replaced. Does nothing by default.
    virtual void attached() {}

    // Registers a class whose procedure is the common dispatcher and whose instance is the module
    // this code is built into (the program, or the shared library carrying it), and keeps a copy of
    // its name for create(). Only while the object has no window; false
    // then, for a missing name, or when the platform refuses the class. A class of that name that
    // already dispatches to window objects (registered by another object of the same kind) is used.
    bool registerClass(LPCWSTR className, UINT classStyles, HICON icon, HBRUSH background);
    // Creates the object's window (of the registered class, else of kDefaultWindowClass, registered
    // on first use) with this object as creation parameter; the object is bound when WM_CREATE
    // arrives. Returns the window that already exists without creating another; NULL on failure.
    HWND create(DWORD exStyle, LPCWSTR title, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Creates a window of a platform class (such as "Edit" or "Static") and attaches the object to
    // it. Returns the existing window when there is one; NULL when creation or attaching fails (a
    // window created but not attached is destroyed again).
    HWND createWithClass(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, const RECT& rect,
                         HWND parent, UINT id);
    // Takes over an existing window: stores the handle, calls attached(), stores the object in the
    // window's user data, remembers its procedure and installs the dispatcher. False for a missing or
    // invalid window, when the object already has a window, or when the window already belongs to a
    // window object.
    bool attach(HWND window);
    bool attachDialogItem(HWND dialog, int id);
    // Gives the window back: a subclassed window gets its previous procedure again (it then behaves
    // exactly as its class), the user data is cleared and the object forgets the handle. Nothing
    // happens when the object has no live window.
    void detach();
    // Detaches and destroys the window when it exists; afterwards the object has no window.
    void destroy();

    HWND window() const { return m_window; }
    void setFitToDesktop(bool fit) { m_fitToDesktop = fit; }
    bool fitsToDesktop() const { return m_fitToDesktop; }

    // Unregisters every class that window objects of this module registered (kDefaultWindowClass
    // included), as a shared library must before it is unloaded. A class that still has windows stays
    // registered and is tried again by the next call; true when none is left.
    static bool unregisterClasses();

    // The procedure of every window-object window: binds the object at WM_CREATE, answers messages
    // that come before it with DefWindowProcW, fits to the desktop on activation and input-panel
    // changes, clears the object's handle after WM_DESTROY, and otherwise calls windowProc.
    static LRESULT CALLBACK dispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    HWND m_window = nullptr;
    bool m_fitToDesktop = false;

  private:
    static WindowObject* objectOf(HWND window);
    void bind(HWND window);

    Str m_className;  // own copy; empty when the default or a platform class is used
    WNDPROC m_previousProc = nullptr;
};
