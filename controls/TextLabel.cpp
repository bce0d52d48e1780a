// TextLabel: the bounded text, drawing with alignment, and the stylus notifications with the
// capture handed back to its previous holder.

#include "TextLabel.h"

#include "ControlMessages.h"

namespace {

UINT alignmentFormat(int alignment) {
    if (alignment == kAlignRight) return DT_RIGHT;
    if (alignment == kAlignCenter) return DT_CENTER;
    return DT_LEFT;
}

}  // namespace

bool TextLabel::create(HWND parent, const RECT& rect, LPCWSTR text, UINT labelId) {
    m_labelId = labelId;
    storeText(text);
    return ControlBase::create(parent, rect, m_text);
}

void TextLabel::setText(LPCWSTR text, bool now) {
    storeText(text);
    // The window's name follows the text, so that scripts find the label by what it shows.
    if (m_window != nullptr) SetWindowTextW(m_window, m_text);
    repaint(now);
}

void TextLabel::setTextColor(COLORREF color) {
    if (color == m_textColor) return;
    m_textColor = color;
    repaint(false);
}

void TextLabel::setFont(HFONT font) {
    if (font == m_font) return;
    m_font = font;
    repaint(false);
}

void TextLabel::setAlignment(int alignment) {
    if (alignment == m_alignment) return;
    m_alignment = alignment;
    repaint(false);
}

void TextLabel::draw(HDC hdc) {
    RECT client;
    GetClientRect(m_window, &client);
    FillRect(hdc, &client, backgroundBrush());
    HGDIOBJ previousFont = m_font != nullptr ? SelectObject(hdc, m_font) : nullptr;
    COLORREF previousText = SetTextColor(hdc, m_textColor);
    COLORREF previousBack = SetBkColor(hdc, backgroundColor());
    DrawTextW(hdc, m_text, -1, &client, alignmentFormat(m_alignment) | DT_SINGLELINE | DT_NOPREFIX);
    SetBkColor(hdc, previousBack);
    SetTextColor(hdc, previousText);
    if (previousFont != nullptr) SelectObject(hdc, previousFont);
}

LRESULT TextLabel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        HWND previous = SetCapture(window);
        if (previous != window) m_previousCapture = previous;
        notifyParent(WM_LABEL_PRESSED, m_labelId);
        notifyParent(WM_LABEL_CLICKED, m_labelId);
        return 0;
    }
    if (message == WM_LBUTTONUP) {
        HWND previous = m_previousCapture;
        m_previousCapture = nullptr;
        if (GetCapture() == window) {
            ReleaseCapture();
            if (previous != nullptr && IsWindow(previous)) SetCapture(previous);
        }
        return 0;
    }
    return ControlBase::windowProc(window, message, wParam, lParam);
}

void TextLabel::storeText(LPCWSTR text) {
    int length = 0;
    if (text != nullptr) {
        while (length < kMaxText && text[length] != 0) {
            m_text[length] = text[length];
            ++length;
        }
    }
    m_text[length] = 0;
}
