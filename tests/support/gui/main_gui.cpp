#include "platform/ui/application.h"

#include <gtest/gtest.h>

// Window tests run on the offscreen platform; nothing is ever shown to a person.
int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    orv::platform::ui::useSoftwareDrawing();
    orv::platform::ui::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
