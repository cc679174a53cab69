// The count is atomic: the simulation thread re-creates pens and brushes every frame while the
// window thread may build images of its own.
#include "imaging/GdiObjectCount.h"

#include <atomic>

namespace {
std::atomic<int> g_live{0};
}

int LiveImagingGdiObjects() {
    return g_live.load();
}
void NoteGdiObjectCreated() {
    g_live.fetch_add(1);
}
void NoteGdiObjectDeleted() {
    g_live.fetch_sub(1);
}

BOOL DeleteCounted(HGDIOBJ object) {
    if (object == nullptr) {
        return FALSE;
    }
    const BOOL ok = DeleteObject(object);
    if (ok) {
        NoteGdiObjectDeleted();
    }
    return ok;
}

BOOL DeleteCountedDC(HDC dc) {
    if (dc == nullptr) {
        return FALSE;
    }
    const BOOL ok = DeleteDC(dc);
    if (ok) {
        NoteGdiObjectDeleted();
    }
    return ok;
}
