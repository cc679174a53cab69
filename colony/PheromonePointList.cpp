// Indexed access to an ant's trail record; a wrong index is a programming error that the user
// sees as the index-error box rather than a crash.
#include "colony/PheromonePointList.h"

#include "base/MessageSeam.h"
#include "resources/TextIds.h"

PheromonePoint* PheromonePointList::At(int32_t index) {
    if (index < 0 || index >= Count()) {
        ShowProgramMessage(IDS_NO_PHEROMONE_POINT, IDS_INDEX_CAPTION, mb::kOk);
        return nullptr;
    }
    return &points_[static_cast<size_t>(index)];
}
