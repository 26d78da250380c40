// The program's entry point: read the options, reset the editor, open the
// window, run the loop.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/commands.h"
#include "app/import_command.h"
#include "app/live_audition.h"
#include "app/main_window.h"
#include "app/render_command.h"
#include "core/editor_state.h"
#include "io/preview.h"
#include "platform/common/screen_scale.h"
#include "platform/gui/fltk_backend.h"

namespace {

const char Usage[] = "Usage: qarno-wavetable-maker [--scale N] [--help] [--version]\n"
                     "       qarno-wavetable-maker render TABLE.wav OUT.wav [options]\n"
                     "       qarno-wavetable-maker import AUDIO OUT.wav [options]\n";
const char Options[] =
    "Make and edit wavetables for wavetable synthesizers.\n"
    "\n"
    "  --scale N   show every pixel of the window as an N x N block, N from 1 to 4\n"
    "              (without it: QARNO_SCALE, else the X resource Xft.dpi / 96)\n"
    "  --help      print this message and exit\n"
    "  --version   print the program's version and exit\n"
    "\n"
    "  render      play one note of TABLE.wav and write it to OUT.wav without a window;\n"
    "              \"qarno-wavetable-maker render --help\" lists its options\n"
    "  import      make a 100-frame table from recorded sound, cycle by cycle at its own\n"
    "              pitch, and write it to OUT.wav without a window;\n"
    "              \"qarno-wavetable-maker import --help\" lists its options\n";

// A scale as written in the option or in QARNO_SCALE: one of the digits 1 to 4.
bool ParseScale(const char* text, int& scale) {
    if (std::strlen(text) != 1 || text[0] < '0' + MinScreenScale || text[0] > '0' + MaxScreenScale)
        return false;
    scale = text[0] - '0';
    return true;
}

int Misused(const std::string& problem) {
    std::fprintf(stderr, "qarno-wavetable-maker: %s\n%s", problem.c_str(), Usage);
    return 2;
}

// Reads the command line into `scale` (0 when none is asked for). Returns the
// exit status when the program is to end at once (help, version, misuse), or
// -1 to go on.
int ReadOptions(int argc, char** argv, int& scale) {
    scale = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::printf("%s%s", Usage, Options);
            return 0;
        }
        if (option == "--version") {
            std::printf("QARNO Wavetable Maker %s\n", QARNO_VERSION);
            return 0;
        }
        if (option != "--scale") return Misused("unknown option \"" + option + "\"");
        if (i + 1 == argc || !ParseScale(argv[i + 1], scale))
            return Misused("--scale wants a whole number from 1 to 4");
        ++i;
    }
    const char* fromEnvironment = std::getenv("QARNO_SCALE");
    if (scale == 0 && fromEnvironment && *fromEnvironment && !ParseScale(fromEnvironment, scale))
        std::fprintf(
            stderr,
            "qarno-wavetable-maker: QARNO_SCALE=\"%s\" is not a scale from 1 to 4; ignored\n",
            fromEnvironment);
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
    if (argc > 1 && std::strcmp(argv[1], "render") == 0) return RunRenderCommand(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "import") == 0) return RunImportCommand(argc, argv);
    int scale = 0;
    const int status = ReadOptions(argc, argv, scale);
    if (status >= 0) return status;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, EndOnSignal);
    InstallCommands();
    NewDocument();
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
