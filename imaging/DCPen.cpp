// Pen changes: the new pen is created and selected before the old one of ours is deleted, so the
// DC never holds a deleted pen; a pen the system will not make leaves the old one in place.
#include "imaging/DCPen.h"

#include "imaging/GdiObjectCount.h"

DCPen::DCPen(HDC dc) : hdc_(dc) {
    SetROP2(hdc_, R2_COPYPEN);
    Update();
}

DCPen::~DCPen() {
    if (hOldPen_ != nullptr) {
        SelectObject(hdc_, hOldPen_);
    }
    DeleteCounted(hPen_);
}

void DCPen::SetColor(COLORREF color) {
    const COLORREF before = color_;
    color_ = color;
    if (!Update()) {
        color_ = before;
    }
}

void DCPen::SetWidth(int width) {
    const int before = width_;
    width_ = width;
    if (!Update()) {
        width_ = before;
    }
}

bool DCPen::Update() {
    HPEN pen = CountCreated(CreatePen(PS_SOLID, width_, color_));
    if (pen == nullptr) {
        return false;
    }
    HGDIOBJ displaced = SelectObject(hdc_, pen);
    if (displaced == nullptr || displaced == HGDI_ERROR) {
        DeleteCounted(pen);
        return false;
    }
    if (hOldPen_ == nullptr) {
        hOldPen_ = static_cast<HPEN>(displaced);
    } else {
        DeleteCounted(hPen_);
    }
    hPen_ = pen;
    return true;
}
