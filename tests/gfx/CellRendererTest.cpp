// Tests of the cell renderer.
#include "gfx/CellRenderer.h"

#include <gtest/gtest.h>
