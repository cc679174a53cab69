// Brush changes, in the same order as the pen's: create, select, then delete our previous one.
#include "imaging/DCBrush.h"

#include "imaging/GdiObjectCount.h"

DCBrush::DCBrush(HDC dc) : hdc_(dc) {
    Update();
}

DCBrush::~DCBrush() {
    if (hOldBrush_ != nullptr) {
        SelectObject(hdc_, hOldBrush_);
    }
    DeleteCounted(hBrush_);
}

void DCBrush::SetColor(COLORREF color) {
    const COLORREF before = color_;
    color_ = color;
    if (!Update()) {
        color_ = before;
    }
}

bool DCBrush::Update() {
    HBRUSH brush = CountCreated(CreateSolidBrush(color_));
    if (brush == nullptr) {
        return false;
    }
    HGDIOBJ displaced = SelectObject(hdc_, brush);
    if (displaced == nullptr || displaced == HGDI_ERROR) {
        DeleteCounted(brush);
        return false;
    }
    if (hOldBrush_ == nullptr) {
        hOldBrush_ = static_cast<HBRUSH>(displaced);
    } else {
        DeleteCounted(hBrush_);
    }
    hBrush_ = brush;
    return true;
}
