// The table's shape: how many frames, how long a frame and the pad are. The
// synthesis layer builds from arrays of these sizes without seeing the
// document's globals.
#pragma once

constexpr int SamplesPerFrame = 1024;
constexpr int FrameCount = 100;
constexpr int TableSamples = FrameCount * SamplesPerFrame; // 102400
constexpr int PadwaveSamples = 131072;
