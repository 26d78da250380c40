// Menu command numbers. They are fixed: the menu bar, the dispatcher and the
// tests all speak in these ids.
#pragma once

#include <cstdint>

using CommandId = uint16_t;

enum : CommandId {
    CmdNew = 1100,
    CmdLoadWaveform = 1500,
    CmdSaveWaveform = 1510,
    CmdLoadWavetable = 1520,
    CmdSaveWavetable = 1530,
    CmdSaveWavedata = 1540,
    CmdExport2048 = 1550,
    CmdExit = 1600,
    CmdLoadHarmonics = 1610,
    CmdSaveHarmonics = 1710,
    CmdSavePadwave = 1720,
    CmdUndo = 2000,
    CmdCut = 2010,
    CmdCopy = 2020,
    CmdPaste = 2030,
    CmdPasteMix = 2040,
    CmdClear = 2050,
    CmdNormalize = 2060,
    CmdAmplify = 2070,
    CmdAttenuate = 2080,
    CmdInvert = 2090,
    CmdReverse = 2100,
    CmdMorph = 2110,
    CmdGenerate = 2120,
    CmdTimes10 = 2130,
    CmdPositive = 2140,
    CmdNegative = 2150,
    CmdViewWaveform = 2500,
    CmdViewWavetable = 2510,
    CmdViewAdditive = 2520,
    CmdViewPadwave = 2530,
    CmdSine = 3010,
    CmdSaw = 3020,
    CmdRamp = 3030,
    CmdTriangle = 3040,
    CmdSquare = 3050,
    CmdRandom = 3060,
    CmdPlay = 3090,
    CmdStop = 3095,
    CmdSynthAdditive = 4002,
    CmdSynthPadwave = 4003,
    CmdAbout = 9999,
};
