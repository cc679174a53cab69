// A solid brush bound to one device context; every change creates, selects and replaces the brush.
#pragma once

#include <windows.h>

class DCBrush {
  public:
    explicit DCBrush(HDC dc);
    virtual ~DCBrush();
    DCBrush(const DCBrush&) = delete;
    DCBrush& operator=(const DCBrush&) = delete;

    void SetColor(COLORREF color);
    COLORREF GetColor() const { return color_; }
    HBRUSH GetHandle() const { return hBrush_; }

  private:
    bool Update();  // false when no new brush could be made; the old one stays

    HDC hdc_;  // not owned
    HBRUSH hBrush_ = nullptr;
    COLORREF color_ = 0xFFFFFF;
    HBRUSH hOldBrush_ = nullptr;  // not owned: the DC's own brush
};
