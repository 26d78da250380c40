#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "app/export_command.h"
#include "app/generate_command.h"
#include "app/import_command.h"
#include "app/render_command.h"

namespace {

constexpr const char* Program = "qarno-wavetable-maker";

const CommandLineRow Rows[] = {
    {"render", "TABLE.wav OUT.wav [options]",
     "play one note of TABLE.wav and write it to OUT.wav without a window;\n", RunRenderCommand},
    {"import", "AUDIO OUT.wav [options]",
     "make a 100-frame table from recorded sound, cycle by cycle at its own\n"
     "pitch, and write it to OUT.wav without a window;\n",
     RunImportCommand},
    {"generate", "OUT.wav (--formula EXPR | --harmonics EXPR) [options]",
     "compute frames of a table from a formula, as Synthesize > Formula...\n"
     "does, and write it to OUT.wav without a window;\n",
     RunGenerateCommand},
    {"export", "IN OUT --for TARGET [options]",
     "write a table (.wt, WAV frames, Blofeld .syx) in the layout another\n"
     "synth reads, without a window;\n",
     RunExportCommand},
    {"generate", "OUT.wav --script FILE [--frames N] [--samples S] [options]",
     "run a wavetable script in Surge XT's Lua API, as Synthesize > Script...\n"
     "does, and write the table to OUT.wav without a window;\n",
     RunGenerateCommand},
};

const CommandLineOption* FindOption(const CommandLineSyntax& syntax, const std::string& name) {
    for (const CommandLineOption& option : syntax.options)
        if (name == option.name) return &option;
    return nullptr;
}

} // namespace

int ReadCommandLine(int argc, char** argv, int first, const CommandLineSyntax& syntax) {
    std::vector<std::string> files;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::printf("%s%s", syntax.usage.c_str(), syntax.help.c_str());
            return 0;
        }
        if (arg.compare(0, 2, "--") != 0 || arg.size() < 2) {
            if (syntax.files.empty())
                return CommandMisused(syntax.usage, "unknown option \"" + arg + "\"");
            files.push_back(arg);
            continue;
        }
        const CommandLineOption* option = FindOption(syntax, arg);
        if (option == nullptr)
            return CommandMisused(syntax.usage, "unknown option \"" + arg + "\"");
        if (!option->flag && i + 1 == argc)
            return CommandMisused(syntax.usage, arg + " wants a value");
        const std::string value = option->flag ? "" : argv[++i];
        if (!option->take(value))
            return CommandMisused(syntax.usage, "bad value \"" + value + "\" for " + arg);
    }
    if (files.size() != syntax.files.size())
        return CommandMisused(syntax.usage, syntax.filesWanted);
    for (size_t i = 0; i < files.size(); ++i) *syntax.files[i] = files[i];
    return -1;
}

int CommandMisused(const std::string& usage, const std::string& problem) {
    std::fprintf(stderr, "%s%s: %s\n", usage.c_str(), Program, problem.c_str());
    return 2;
}

void CommandWarns(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", Program, message.c_str());
}

int CommandFailed(const std::string& message) {
    CommandWarns(message);
    return 1;
}

int CommandFailed(const FileError& error, const std::string& path) {
    return CommandFailed(FileErrorLine(error, path));
}

const CommandLineRow* FindCommandLineRow(int argc, char** argv) {
    if (argc < 2) return nullptr;
    for (const CommandLineRow& row : Rows)
        if (std::strcmp(argv[1], row.name) == 0) return &row;
    return nullptr;
}

std::string CommandLineUsage() {
    std::string usage;
    for (const CommandLineRow& row : Rows)
        usage += std::string("       ") + Program + " " + row.name + " " + row.synopsis + "\n";
    return usage;
}

std::string CommandLineSummaries() {
    std::string text;
    for (const CommandLineRow& row : Rows) {
        std::string lines = row.summary;
        lines += std::string("\"") + Program + " " + row.name + " --help\" lists its options\n";
        std::string name = row.name;
        name.resize(12, ' ');
        text += "  " + name;
        for (size_t start = 0, end; start < lines.size(); start = end + 1) {
            end = lines.find('\n', start);
            if (start > 0) text += std::string(14, ' ');
            text += lines.substr(start, end - start + 1);
        }
    }
    return text;
}
