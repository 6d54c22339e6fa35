#include "cli/Command.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace lumidex::cli {

Command dumpCommand();
Command resaveCommand();
Command newCommand();
Command categoryCommand();
Command discCommand();
Command optionsCommand();
Command drivesCommand();
Command scanCommand();
Command rescanCommand();
Command detailsCommand();

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {dumpCommand(),     resaveCommand(),  newCommand(),
                                              categoryCommand(), discCommand(),    scanCommand(),
                                              rescanCommand(),   detailsCommand(), optionsCommand(),
                                              drivesCommand()};
    return list;
}

namespace {

void printCommandHelp(std::FILE* out, const Command& c)
{
    std::fprintf(out, "Usage: lumidex-cli %s %s\n\n%s\n", c.name, c.synopsis, c.details);
}

void printOverview(std::FILE* out)
{
    std::fprintf(out, "Usage: lumidex-cli COMMAND [ARGS...]\n"
                      "       lumidex-cli COMMAND --help\n\n"
                      "Works on Lumidex catalogs without the desktop program.\n\nCommands:\n");
    for (const auto& c : commands())
        std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
}

const Command* findCommand(const char* name)
{
    for (const auto& c : commands())
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

bool isHelp(const char* arg)
{
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

} // namespace

int usageError(const Command& command, const QString& problem)
{
    if (!problem.isEmpty())
        std::fprintf(stderr, "lumidex-cli %s: %s\n", command.name, qPrintable(problem));
    printCommandHelp(stderr, command);
    return ExitUsage;
}

int readError(const QString& reason)
{
    std::printf("I/O Error !\n");
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    return ExitReadError;
}

} // namespace lumidex::cli

int main(int argc, char** argv)
{
    using namespace lumidex::cli;
    // Left alive on purpose: destroying it at exit, after an image was decoded, crashes the leak
    // checker of the sanitizer build. The process ends right after main anyway.
    static QCoreApplication* const app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);

    if (argc < 2) {
        printOverview(stderr);
        return ExitUsage;
    }
    if (isHelp(argv[1]) || std::strcmp(argv[1], "help") == 0) {
        if (argc > 2) {
            if (const Command* c = findCommand(argv[2])) {
                printCommandHelp(stdout, *c);
                return ExitOk;
            }
        }
        printOverview(stdout);
        return ExitOk;
    }
    const Command* command = findCommand(argv[1]);
    if (!command) {
        std::fprintf(stderr, "lumidex-cli: unknown command '%s'\n\n", argv[1]);
        printOverview(stderr);
        return ExitUsage;
    }
    QStringList args;
    for (int i = 2; i < argc; ++i) {
        if (isHelp(argv[i])) {
            printCommandHelp(stdout, *command);
            return ExitOk;
        }
        args << QString::fromLocal8Bit(argv[i]);
    }
    if (args.size() < command->minArgs || args.size() > command->maxArgs)
        return usageError(*command, QStringLiteral("wrong number of arguments"));
    return command->run(args);
}
