// Shared test helpers; also brings in GoogleTest, the command ids and the headless records.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/command_ids.h"
#include "core/editor_state.h"
#include "platform/headless.h"

// NewDocument in a fresh headless window, with the buffers New keeps zeroed as at start-up.
void FreshEditor();
void Command(CommandId id);  // a menu choice, through the window procedure
float* FrameAt(int frame);
void FillFrame(int frame, float value);
void FillTableWithIndices();  // IndexValue(frame, n) = frame * 1000 + n into every sample
float IndexValue(int frame, int n);
// Fails, naming the first changed sample, unless every sample outside frames lo..hi still holds
// its FillTableWithIndices value; lo > hi checks the whole table.
testing::AssertionResult TableHoldsIndicesOutside(int lo, int hi);
