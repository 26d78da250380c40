// The main window's procedure: every message of the one window arrives here.
#pragma once

#include "platform/platform.h"
