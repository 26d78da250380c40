#include "core/menus.h"

#include "core/command_ids.h"
#include "core/editor_state.h"

namespace {

// The standard keys of the commands that have one. A key works only where the
// current view's menus offer its command.
const char* AcceleratorOf(CommandId id) {
    switch (id) {
    case CmdNew:
        return "Ctrl+N";
    case CmdExit:
        return "Ctrl+Q";
    case CmdUndo:
        return "Ctrl+Z";
    case CmdCut:
        return "Ctrl+X";
    case CmdCopy:
        return "Ctrl+C";
    case CmdPaste:
        return "Ctrl+V";
    case CmdPlay:
        return "Space";
    case CmdStop:
        return "Esc";
    default:
        return "";
    }
}

MenuItem Item(const char* label, CommandId id, bool checked = false) {
    MenuItem item;
    item.label = label;
    item.id = id;
    item.checked = checked;
    item.accelerator = AcceleratorOf(id);
    return item;
}

MenuItem Separator() {
    MenuItem item;
    item.separator = true;
    return item;
}

MenuPopup FilePopup() {
    MenuPopup popup{"&File", {Item("&New", CmdNew), Separator()}};
    auto& items = popup.items;
    switch (ViewMode) {
    case ViewWaveform:
        items.push_back(Item("Load Waveform...", CmdLoadWaveform));
        items.push_back(Item("Save Waveform...", CmdSaveWaveform));
        break;
    case ViewWavetable:
        items.push_back(Item("Load Wavetable...", CmdLoadWavetable));
        items.push_back(Item("Save Wavetable...", CmdSaveWavetable));
        items.push_back(Separator());
        items.push_back(Item("Save Wavedata...", CmdSaveWavedata));
        items.push_back(Item("Export 2048 Wavetable...", CmdExport2048));
        break;
    case ViewAdditive:
        items.push_back(Item("Load Harmonics...", CmdLoadHarmonics));
        items.push_back(Item("Save Harmonics...", CmdSaveHarmonics));
        break;
    case ViewPadwave:
        items.push_back(Item("Save Padwave...", CmdSavePadwave));
        break;
    }
    items.push_back(Separator());
    items.push_back(Item("E&xit", CmdExit));
    return popup;
}

MenuPopup EditPopup() {
    if (ViewMode == ViewPadwave)
        return {"&Edit",
                {Item("&Generate", CmdGenerate), Item("&x10", CmdTimes10, PadwaveTimes10 != 0)}};
    MenuPopup popup{"&Edit",
                    {Item("&Undo", CmdUndo), Separator(), Item("Cu&t", CmdCut),
                     Item("&Copy", CmdCopy), Item("&Paste", CmdPaste),
                     Item("Paste &Mix", CmdPasteMix), Item("C&lear", CmdClear), Separator(),
                     Item("&Normalize", CmdNormalize), Item("&Amplify", CmdAmplify),
                     Item("Att&enuate", CmdAttenuate), Item("&Invert", CmdInvert),
                     Item("&Reverse", CmdReverse), Separator()}};
    if (ViewMode == ViewAdditive) {
        popup.items.push_back(Item("Positive", CmdPositive, Polarity == 1));
        popup.items.push_back(Item("Negative", CmdNegative, Polarity == 0));
    } else {
        popup.items.push_back(Item("&Morph", CmdMorph));
    }
    return popup;
}

MenuPopup ViewPopup() {
    return {"&View",
            {Item("&Waveform", CmdViewWaveform, ViewMode == ViewWaveform),
             Item("&Wavetable", CmdViewWavetable, ViewMode == ViewWavetable),
             Item("&Additive", CmdViewAdditive, ViewMode == ViewAdditive),
             Item("&Padwave", CmdViewPadwave, ViewMode == ViewPadwave)}};
}

MenuPopup SynthesizePopup() {
    return {"&Synthesize",
            {Item("&Additive", CmdSynthAdditive), Item("&Padwave", CmdSynthPadwave), Separator(),
             Item("Sine", CmdSine), Item("Saw", CmdSaw), Item("Ramp", CmdRamp),
             Item("Triangle", CmdTriangle), Item("Square", CmdSquare), Item("Random", CmdRandom)}};
}

} // namespace

MenuBar DescribeMenuBar() {
    MenuBar bar{FilePopup(), EditPopup(), ViewPopup()};
    if (ViewMode == ViewWaveform || ViewMode == ViewWavetable) bar.push_back(SynthesizePopup());
    bar.push_back({"&Preview", {Item("&Play", CmdPlay), Item("&Stop", CmdStop)}});
    bar.push_back({"&About", {Item("&About", CmdAbout)}});
    return bar;
}

void BuildMenuBar(WindowHandle window) { AttachMenuBar(window, DescribeMenuBar()); }

void RefreshWindow(WindowHandle window) {
    BuildMenuBar(window);
    FullRepaint = true;
    InvalidateWindow(window);
}
