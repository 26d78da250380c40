// The command line: the program's own options and its commands without a
// window (render, import, ...), each command a row of one table. A command
// describes its options as rows too; reading them, --help, the usage on
// misuse and the one failure line are written here once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "io/file_access.h"
#include "platform/common/text_parse.h"

// One option: "--note" with the function that takes its value (false when
// the value is bad), or a flag, whose function gets an empty value.
struct CommandLineOption {
    const char* name;
    std::function<bool(const std::string& value)> take;
    bool flag = false;
};

// An option whose value is a number within lo .. hi (whole when `whole`),
// stored into `into`.
template <typename T>
CommandLineOption NumberOption(const char* name, double lo, double hi, bool whole, T& into) {
    return {name, [=, &into](const std::string& value) {
                const std::optional<double> number = ParseNumber(value, lo, hi, whole);
                if (number) into = static_cast<T>(*number);
                return number.has_value();
            }};
}

// What a command reads: its options, and where its file names go.
struct CommandLineSyntax {
    std::string usage; // the usage lines, shown first on misuse and by --help
    std::string help;  // what --help shows after the usage
    std::vector<CommandLineOption> options;
    std::vector<std::string*> files;
    const char* filesWanted = ""; // the misuse when another number of files is given
};

// Reads argv[first] on: the options through their rows, the other words as
// the file names, in order. A command that takes no file names takes such a
// word for an unknown option. Returns -1 to go on, else the exit status: 0
// after --help printed the usage and the help, 2 after a misuse (see
// CommandMisused).
int ReadCommandLine(int argc, char** argv, int first, const CommandLineSyntax& syntax);

// The usage, then "qarno-wavetable-maker: <problem>", on stderr; returns 2.
int CommandMisused(const std::string& usage, const std::string& problem);

// "qarno-wavetable-maker: <message>" on stderr, for what the user should know
// of a command that goes on.
void CommandWarns(const std::string& message);
// The same for a command that fails; returns 1.
int CommandFailed(const std::string& message);
// The same for a file: "qarno-wavetable-maker: <file>: <reason>" (see
// FileErrorLine); returns 1.
int CommandFailed(const FileError& error, const std::string& path);

// A command of the command line: `qarno-wavetable-maker <name> ...`.
struct CommandLineRow {
    const char* name;
    const char* synopsis;              // what follows the name in the program's usage
    const char* summary;               // its lines in the program's --help
    int (*run)(int argc, char** argv); // argv[1] is the name; returns the exit status
};

// The row named by argv[1], or nullptr when there is none.
const CommandLineRow* FindCommandLineRow(int argc, char** argv);

// The program's usage line for each command, and their paragraphs of the
// program's --help.
std::string CommandLineUsage();
std::string CommandLineSummaries();
