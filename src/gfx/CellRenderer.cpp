// Drawing of one map grid cell.
#include "gfx/CellRenderer.h"
