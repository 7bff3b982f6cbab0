// Drawing of one map grid cell.
#pragma once
