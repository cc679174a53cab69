// Resource ids of the imaging tests' own bitmaps, well away from the program's.
#pragma once

#define IDB_TEST_CELLS 9001       // 8 x 4, 4 bits: index (x + 3y) % 16
#define IDB_TEST_BAD_HEADER 9002  // a bitmap resource whose header size is 13
#define IDB_TEST_MISSING 9099     // no such resource
