#pragma once

#include <QObject>

#include <gtest/gtest.h>

namespace lumidex::test {

// The named child of a window, with a test failure (not a crash later) when it is missing.
template <typename T>
T* child(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace lumidex::test
