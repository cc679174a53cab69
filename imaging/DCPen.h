// A solid pen bound to one device context; every change creates, selects and replaces the pen.
#pragma once

#include <windows.h>

class DCPen {
  public:
    explicit DCPen(HDC dc);
    virtual ~DCPen();
    DCPen(const DCPen&) = delete;
    DCPen& operator=(const DCPen&) = delete;

    void SetColor(COLORREF color);
    void SetWidth(int width);
    COLORREF GetColor() const { return color_; }
    int GetWidth() const { return width_; }
    HPEN GetHandle() const { return hPen_; }

  private:
    bool Update();  // false when no new pen could be made; the old one stays

    HDC hdc_;  // not owned
    HPEN hPen_ = nullptr;
    COLORREF color_ = 0;
    int width_ = 1;
    HPEN hOldPen_ = nullptr;  // not owned: the DC's own pen, put back at destruction
};
