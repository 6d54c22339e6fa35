#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace lumidex::test {

// What one run of lumidex-cli gave back; status -1 when it did not exit normally.
struct CliRun {
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs the lumidex-cli under test. `home`, when given, is its LUMIDEX_HOME (settings and working
// files); otherwise it inherits this process's environment.
inline CliRun runCli(const QStringList& args, const QString& home = {})
{
    QProcess p;
    if (!home.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMIDEX_HOME"), home);
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(LUMIDEX_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace lumidex::test
