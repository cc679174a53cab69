// The ids of every text a user reads (message boxes, their captions, the tray tip), shared by
// kirelo.rc, where each has a Japanese and an English string, and the code, which names only ids.
// Plain defines: the resource compiler reads this file, and the portable code includes it too.
#pragma once

// Pictures read from files and from the program's resources
#define IDS_FILE_OPEN 1001
#define IDS_FILE_OPEN_CAPTION 1002
#define IDS_NOT_BITMAP 1003
#define IDS_NOT_BITMAP_CAPTION 1004
#define IDS_BAD_BITMAP 1005
#define IDS_BAD_BITMAP_CAPTION 1006
#define IDS_BAD_RESOURCE_CAPTION 1007
#define IDS_RESOURCE_MISSING 1008
#define IDS_RESOURCE_MISSING_CAPTION 1009
#define IDS_RESOURCE_LOAD 1010
#define IDS_RESOURCE_LOAD_CAPTION 1011
#define IDS_PALETTE_CREATE 1012
#define IDS_PALETTE_CREATE_CAPTION 1013
#define IDS_PALETTE_REALIZE 1014
#define IDS_PALETTE_REALIZE_CAPTION 1015

// Drawing calls used the wrong way (a programming error the user sees as a box)
#define IDS_METHOD_CAPTION 1016
#define IDS_COPY_NEEDS_256 1017
#define IDS_COPY_SAME_FORMAT 1018
#define IDS_MASK_DESTINATION 1019
#define IDS_MASK_SOURCE 1020
#define IDS_MASK_MASK 1021
#define IDS_REGION_NEEDS_32 1022

// Indexes out of range in the world's lists
#define IDS_INDEX_CAPTION 1023
#define IDS_NO_PHEROMONE_POINT 1024
#define IDS_NO_ANT 1025
#define IDS_NO_HEART 1026

// The background
#define IDS_TOO_NARROW 1027
#define IDS_TOO_LOW 1028
#define IDS_TOO_SMALL_CAPTION 1029
#define IDS_BACKGROUND_RESET 1030
#define IDS_BACKGROUND_RESET_CAPTION 1031

// The stray ant, the end, the tray
#define IDS_FOUND 1032
#define IDS_FOUND_CAPTION 1033
#define IDS_THANK_YOU 1034
#define IDS_THANK_YOU_CAPTION 1035
#define IDS_TRAY_TIP 1036

#define IDS_FIRST IDS_FILE_OPEN
#define IDS_LAST IDS_TRAY_TIP
