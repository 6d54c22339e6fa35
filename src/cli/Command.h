#pragma once

#include <QStringList>

#include <vector>

namespace lumidex::cli {

// Exit statuses shared by all commands.
enum ExitStatus { ExitOk = 0, ExitFailure = 1, ExitReadError = 2, ExitUsage = 64 };

struct Command {
    const char* name;
    const char* synopsis; // arguments after the command name
    const char* summary;  // one line for the command list
    const char* details;  // the rest of the command's --help
    int minArgs;          // checked before run; a command with options checks the rest itself
    int maxArgs;
    int (*run)(const QStringList& args);
};

const std::vector<Command>& commands();

// Prints the command's usage to stderr and returns ExitUsage.
int usageError(const Command& command, const QString& problem);
// Reports a catalog that could not be read: "I/O Error !" on stdout, the reason on stderr.
int readError(const QString& reason);

} // namespace lumidex::cli
