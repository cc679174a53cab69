// A running count of the GDI objects the imaging classes create and own (DCs, bitmaps, pens,
// brushes, palettes). It stays flat across any balanced life of images, which the leak tests
// check where the system offers no per-process count of its own.
#pragma once

#include <windows.h>

#include "platform/UniqueHandle.h"

// Objects created through CountCreated and not yet deleted through DeleteCounted.
int LiveImagingGdiObjects();

void NoteGdiObjectCreated();
void NoteGdiObjectDeleted();

template <typename Handle>
Handle CountCreated(Handle h) {
    if (h != nullptr) {
        NoteGdiObjectCreated();
    }
    return h;
}

// DeleteObject of an owned object, counted when the system accepts it.
BOOL DeleteCounted(HGDIOBJ object);
// DeleteDC of an owned memory DC.
BOOL DeleteCountedDC(HDC dc);

// Owners that delete through the count.
template <typename Handle>
using CountedGdiObject = UniqueHandle<Handle, &DeleteCounted>;
using CountedDC = UniqueHandle<HDC, &DeleteCountedDC>;
