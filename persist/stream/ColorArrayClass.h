#pragma once

#include "persist/stream/ClassInfo.h"

namespace controls {
class TColorArrayClass;
}

namespace persist {

/**
 * A colour grid as a nested object: "XSize" and "YSize" (always written), then "Colors", a list of the cells
 * column by column. A list longer than the grid fails with "Array index out of bounds"; sizes whose product
 * exceeds the grid's limit fail with "Invalid property value".
 */
const ClassInfo& ColorArrayClass();
ObjRef ColorArrayRef(controls::TColorArrayClass* grid);

} // namespace persist
