#include <QApplication>

#include <gtest/gtest.h>

// The window tests need one application object for the whole run. They run offscreen unless
// QT_QPA_PLATFORM says otherwise, so the build's test discovery also works without a display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
