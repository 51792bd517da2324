#pragma once

// The cell store's earlier name, kept while code outside the grid still spells it so.
#include "grid/stringgridmodel.h"

namespace kovanta {
using TAStringGridModel = StringGridModel;
} // namespace kovanta
