// Who frees the world's images and the stray-ant record: both threads hold a lease on them and
// the last one to let go frees them, so neither can touch a freed image whatever order the exit
// takes.
#pragma once

// Each thread calls this once when it will touch the images and the record no more; the second
// call frees them (and nulls the pointers).
void ReleaseWorldLease();
// Gives both threads their lease again, for a new set of images (tests that run the thread more
// than once in one process).
void ResetWorldLease();
