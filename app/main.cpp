// The program's entry point: read the options, reset the editor, open the
// window, run the loop.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/commands.h"
#include "app/live_audition.h"
#include "app/main_window.h"
#include "core/editor_state.h"
#include "core/history.h"
#include "io/preview.h"
#include "platform/common/screen_scale.h"
#include "platform/gui/fltk_backend.h"

namespace {

const char Usage[] = "Usage: qarno-wavetable-maker [--scale N] [--help] [--version]\n";
const char Options[] =
    "Make and edit wavetables for wavetable synthesizers.\n"
    "\n"
    "  --scale N   show every pixel of the window as an N x N block, N from 1 to 4\n"
    "              (without it: QARNO_SCALE, else the X resource Xft.dpi / 96)\n"
    "  --help      print this message and exit\n"
    "  --version   print the program's version and exit\n"
    "\n";

// Reads the command line into `scale` (0 when none is asked for). Returns the
// exit status when the program is to end at once (help, version, misuse), or
// -1 to go on.
int ReadOptions(int argc, char** argv, int& scale) {
    scale = 0;
    bool version = false;
    const CommandLineSyntax syntax = {
        Usage + CommandLineUsage(),
        Options + CommandLineSummaries(),
        {NumberOption("--scale", MinScreenScale, MaxScreenScale, true, scale),
         {"--version", [&](const std::string&) { return version = true; }, true}},
        {},
        ""};
    const int status = ReadCommandLine(argc, argv, 1, syntax);
    if (status >= 0) return status;
    if (version) {
        std::printf("QARNO Wavetable Maker %s\n", QARNO_VERSION);
        return 0;
    }
    const char* fromEnvironment = std::getenv("QARNO_SCALE");
    if (scale == 0 && fromEnvironment && *fromEnvironment) {
        const std::optional<int> chosen =
            ParseWhole(fromEnvironment, MinScreenScale, MaxScreenScale);
        if (chosen)
            scale = *chosen;
        else
            std::fprintf(
                stderr,
                "qarno-wavetable-maker: QARNO_SCALE=\"%s\" is not a scale from 1 to 4; ignored\n",
                fromEnvironment);
    }
    return -1;
}

// Ended by a signal, the program still removes its preview folder, then ends
// as that signal ends a program.
void EndOnSignal(int signal) {
    RemovePreviewFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

int main(int argc, char** argv) {
    if (const CommandLineRow* command = FindCommandLineRow(argc, argv))
        return command->run(argc, argv);
    int scale = 0;
    const int status = ReadOptions(argc, argv, scale);
    if (status >= 0) return status;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, EndOnSignal);
    InstallCommands();
    NewDocument();
    StartHistory();
    if (!OpenDisplay()) {
        std::fputs("Window Creation Failed!\n", stderr);
        const char* display = std::getenv("DISPLAY");
        if (display != nullptr && *display != '\0')
            std::fprintf(stderr, "The X display \"%s\" cannot be opened.\n", display);
        else
            std::fputs("DISPLAY is not set: there is no X display to open.\n", stderr);
        return 1;
    }
    StartLiveAudition();
    StartMidiInput();
    WindowHandle window = CreateAppWindow(MainWindowProc, ScreenScale(scale));
    ShowAppWindow(window);
    return RunMessageLoop();
}
