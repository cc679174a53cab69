// A solid pen or brush kept selected in one device context. Every change creates the new object
// and selects it before the old one of ours is deleted, so the DC never holds a deleted object;
// an object the system will not make leaves the old one in place. The DC's own object is put
// back when the owner goes.
#pragma once

#include <windows.h>

#include <utility>

#include "imaging/GdiObjectCount.h"

// What differs between a pen and a brush: the handle, what describes one, and how it is made.
struct SolidPenKind {
    using Handle = HPEN;
    struct Style {
        COLORREF color = 0;
        int width = 1;
    };
    static void Prepare(HDC dc) { SetROP2(dc, R2_COPYPEN); }
    static HPEN Create(const Style& style) { return CreatePen(PS_SOLID, style.width, style.color); }
};

struct SolidBrushKind {
    using Handle = HBRUSH;
    struct Style {
        COLORREF color = 0xFFFFFF;
    };
    static void Prepare(HDC) {}
    static HBRUSH Create(const Style& style) { return CreateSolidBrush(style.color); }
};

template <typename Kind>
class SelectedGdiObject {
  public:
    using Handle = typename Kind::Handle;
    using Style = typename Kind::Style;

    explicit SelectedGdiObject(HDC dc) : dc_(dc) {
        Kind::Prepare(dc_);
        SetStyle(style_);
    }
    // The DC's own object goes back first; owned_ then deletes ours.
    ~SelectedGdiObject() {
        if (original_ != nullptr) {
            SelectObject(dc_, original_);
        }
    }
    SelectedGdiObject(const SelectedGdiObject&) = delete;
    SelectedGdiObject& operator=(const SelectedGdiObject&) = delete;

    // False, with the old object and style kept, when the new one cannot be made or selected.
    bool SetStyle(const Style& style) {
        CountedGdiObject<Handle> made(CountCreated(Kind::Create(style)));
        if (!made) {
            return false;
        }
        const HGDIOBJ displaced = SelectObject(dc_, made.get());
        if (displaced == nullptr || displaced == HGDI_ERROR) {
            return false;
        }
        if (original_ == nullptr) {
            original_ = displaced;
        }
        owned_ = std::move(made);
        style_ = style;
        return true;
    }
    void SetColor(COLORREF color) {
        Style style = style_;
        style.color = color;
        SetStyle(style);
    }
    void SetWidth(int width) {  // pens only
        Style style = style_;
        style.width = width;
        SetStyle(style);
    }

    COLORREF GetColor() const { return style_.color; }
    int GetWidth() const { return style_.width; }  // pens only
    Handle GetHandle() const { return owned_.get(); }

  private:
    HDC dc_;  // not owned
    Style style_{};
    CountedGdiObject<Handle> owned_;
    HGDIOBJ original_ = nullptr;  // not owned: the DC's own object
};

using DCPen = SelectedGdiObject<SolidPenKind>;
using DCBrush = SelectedGdiObject<SolidBrushKind>;
