// The player core: shared types, pixel routines, the driver base class and driver selection.
//
// Buffers with alpha (a driver in transparent mode, background alpha byte 0) hold premultiplied
// BGRA: each colour channel is already multiplied by the pixel's coverage and never exceeds it,
// as UpdateLayeredWindow with AC_SRC_ALPHA and AlphaBlend expect.
#pragma once

#include "zintara/components/player_components.h"
#include "zintara/core/alpha.h"
#include "zintara/hosts/driver_selection.h"
#include "zintara/core/external_interface.h"
#include "zintara/core/flash_driver.h"
#include "zintara/core/flash_list.h"
#include "zintara/core/flash_types.h"
#include "zintara/core/pixels.h"
