// Resource identifiers of kirelo.exe, shared by kirelo.rc and the C++ sources.
#pragma once

// Bitmaps
#define IDB_ANTS 107             // 128x16: sixteen 8x8 ant cells (heading * 2 + frame) over their masks
#define IDB_BALL 108             // 16x32: the ball over its mask
#define IDB_FIELD 112            // 455x312: the default field, dry leaves
#define IDB_HEART 115            // 16x32: the heart over its mask
#define IDB_MAGNIFIER_SHAPE 125  // 300x360: the window shape, key colour outside
#define IDB_MAGNIFIER 126        // 300x720: the magnifier picture over its mask
#define IDB_ANT_SHAPES 128       // 128x8: the ant cells on the key colour (the stray ant's window)
#define IDB_HEART_SHAPE 129      // 16x16: the heart on the key colour
#define IDB_TITLE 130            // 100x100: the title picture

// Icons and cursors
#define IDI_APP 110
#define IDI_SMALL 111
#define IDC_STICK 116       // hot spot (12, 28)
#define IDC_BINOCULARS 117  // hot spot (15, 15)

// The context menu and its commands
#define IDR_POPUPMENU 109
#define IDM_EXIT 40001
#define IDM_TRAIL_SHOW 40002
#define IDM_TRAIL_HIDE 40003
#define IDM_TOPMOST 40004
#define IDM_NORMAL 40005
#define IDM_BACKGROUND_RESET 40006
#define IDM_CENTER 40010
#define IDM_HELP 40011
#define IDM_WAIT_ON 40013
#define IDM_WAIT_OFF 40014
// The size submenu: automatic, then 1x, 2x, 3x in a row (IDM_SCALE_1 + factor - 1)
#define IDM_SCALE_AUTO 40015
#define IDM_SCALE_1 40016
#define IDM_SCALE_2 40017
#define IDM_SCALE_3 40018

// The colour that stands for "transparent" in the shape bitmaps 125, 128 and 129: RGB(0, 255, 132)
#define KIRELO_KEY_RED 0
#define KIRELO_KEY_GREEN 255
#define KIRELO_KEY_BLUE 132
