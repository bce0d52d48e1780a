// DialogObject: the base of the program's dialogs, built on dialog templates of its resources. It
// binds the dialog window to the object and routes the dialog's messages to its virtual dialog
// procedure, then to its default handler.
#pragma once

#include "platform/windows.h"

class DialogObject {
  public:
    DialogObject() = default;
    DialogObject(const DialogObject&) = delete;
    DialogObject& operator=(const DialogObject&) = delete;
    // Destroys a modeless dialog (and its menu bar) that still exists.
    virtual ~DialogObject();

    // What a message the dialog procedure left unhandled returns to the dialog manager. The default
    // returns TRUE for WM_INITDIALOG (the dialog manager then focuses the first control) and FALSE
    // (the dialog manager's own handling) for everything else.
    virtual LRESULT defaultHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Handles a message: true when handled, result then holds what the dialog manager gets. The
    // default is the default command handling: WM_COMMAND with IDOK or IDCANCEL ends the dialog with
    // 1 or 2; everything else is left unhandled.
    virtual bool dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // With the fit-to-desktop flag set and a dialog window, moves it over the visible desktop
    // rectangle (as window objects do). Called on activation and on input-panel changes.
    virtual void fitToDesktop();

    // Names the dialog template (a dialog resource id of the program's resource module).
    void setTemplate(UINT templateId);
    // Runs the template as a modal dialog owned by parent and returns its end code. 0 without
    // running anything when no template was named; -1 when the dialog cannot be created.
    INT_PTR runModal(HWND parent);
    // Creates the template as a modeless dialog owned by parent, shows it and paints it at once.
    // Returns the dialog window; NULL when no template was named or creation fails.
    HWND showModeless(HWND parent);

    // Replaces the dialog's menu bar with one showing menu resource menuId (an empty bar for 0). False
    // when the dialog does not exist or the shell cannot create the bar (the dialog then has none).
    bool createMenuBar(UINT menuId);
    // The id of the first button in [firstId, lastId] that reports the checked state; 0 when none
    // does, the range is empty (firstId > lastId) or the dialog does not exist.
    int firstChecked(int firstId, int lastId) const;
    // Gives the dialog's top-level ancestor window (the task bar shows its title) the dialog's title,
    // at most 255 characters. A top-level dialog is its own ancestor. False when the dialog does not
    // exist or the title cannot be set.
    bool takeTopLevelTitle();

    HWND window() const { return m_dialog; }
    HWND menuBar() const { return m_menuBar; }
    void setFitToDesktop(bool fit) { m_fitToDesktop = fit; }

    // The dialog procedure of every dialog object. WM_INITDIALOG binds the object given as the
    // dialog's parameter; WM_DESTROY destroys the menu bar, goes to the default handler and clears the
    // object's handle; activation and input-panel changes fit to the desktop first; every other
    // message goes to dialogProc and, when that leaves it, to defaultHandler.
    static INT_PTR CALLBACK dispatcher(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    HWND m_dialog = nullptr;
    UINT m_templateId = 0;
    bool m_templateSet = false;
    bool m_fitToDesktop = false;
    HWND m_menuBar = nullptr;

  private:
    static DialogObject* objectOf(HWND dialog);
    void destroyMenuBar();
};
