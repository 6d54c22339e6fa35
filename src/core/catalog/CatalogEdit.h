#pragma once

#include "catalog/CatalogContainer.h"

#include <QString>

#include <functional>

namespace lumidex {

// The outcome of an edit of the open catalog. The edit has already changed the catalog model
// when `error` is empty (and changed nothing otherwise); what the container must do to stay in
// step is left to the caller, who runs it at once (the window) or just before the catalog file is
// committed (the command line).
struct CatalogEdit {
    QString error;
    std::function<bool(CatalogContainer&)> containerChange; // may be empty: nothing to do

    bool ok() const { return error.isEmpty(); }
    static CatalogEdit failed(QString why) { return {std::move(why), {}}; }
};

} // namespace lumidex
