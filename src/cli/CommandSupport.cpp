#include "cli/CommandSupport.h"

#include "cli/Command.h"

#include <cstdio>

namespace lumidex::cli {

void printError(const QString& error)
{
    std::fprintf(stderr, "%s\n", qPrintable(error));
}

std::optional<int> parseIndex(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

CommandCatalog::CommandCatalog() : m_document(m_scratch.filePath(QStringLiteral("dummy.zip")))
{
}

int CommandCatalog::open(const QString& path)
{
    m_path = path;
    if (const QString error = m_document.open(path); !error.isEmpty())
        return readError(error);
    return ExitOk;
}

int CommandCatalog::save(const std::function<bool(CatalogContainer&)>& containerChange)
{
    const QString error = m_document.save(m_path, {}, [&]() -> QString {
        if (!containerChange)
            return {};
        CatalogContainer container = m_document.container();
        return containerChange(container) ? QString() : container.errorString();
    });
    if (!error.isEmpty()) {
        printError(error);
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace lumidex::cli
