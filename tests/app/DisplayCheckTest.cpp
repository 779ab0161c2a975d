#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

TEST(DisplayCheckTest, AnyDisplayOrChosenPlatformCounts) {
    const struct {
        const char* name;
        const char* value;
        bool display;
    } rows[] = {
        {"DISPLAY", ":0", true},
        {"WAYLAND_DISPLAY", "wayland-0", true},
        {"QT_QPA_PLATFORM", "offscreen", true},
        {"DISPLAY", "", false},
        {"DISPLAY", "  ", false},
        {"XDG_SESSION_TYPE", "x11", false},
        {"WAYLAND_SOCKET", "3", false},
    };
    for (const auto& row : rows) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/u"));
        environment.insert(QLatin1String(row.name), QLatin1String(row.value));
        EXPECT_EQ(HasDisplay(environment), row.display) << row.name << "=" << row.value;
    }
    EXPECT_FALSE(HasDisplay(QProcessEnvironment()));
    const QString message = NoDisplayMessage(QStringLiteral("build/app/komorebi"));
    EXPECT_FALSE(message.contains(QLatin1Char('\n')));
    EXPECT_TRUE(message.contains(QStringLiteral("build/app/komorebi export ")));
}
