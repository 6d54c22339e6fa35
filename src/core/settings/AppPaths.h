#pragma once

#include <QString>

namespace lumidex {

// Where Lumidex keeps its files. $LUMIDEX_HOME, when set and not empty, holds everything (data
// and settings), which keeps tests and portable setups away from the user's own files; otherwise
// the XDG data and config locations are used. Paths are absolute and read the environment on
// every call.

// $LUMIDEX_HOME, else $XDG_DATA_HOME/lumidex (~/.local/share/lumidex).
QString dataFolder();
// $LUMIDEX_HOME/lumidex.ini, else $XDG_CONFIG_HOME/lumidex/lumidex.ini (~/.config/lumidex).
QString settingsFilePath();

// Description entries of a disc being scanned wait here before they go into the container.
QString workingFolder();
QString reportsFolder();
// The container of a catalog that has no file yet.
QString workingContainerPath();
QString searchHistoryPath();
QString defaultComparisonReportPath();

// Creates the working and reports folders; false when either could not be made.
bool ensureDataFolders();

} // namespace lumidex
