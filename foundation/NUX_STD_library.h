// NUX_STD_library: the general-purpose utility module. One namespace spread over several
// files by theme; include this header to reach all of it.
#pragma once

#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
