#include "app/QuendraApp.h"

#include <cstdio>
#include <optional>
#include <string_view>

#ifndef QUENDRA_VERSION
#define QUENDRA_VERSION "unknown"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: quendra [--help | --version]\n"
    "\n"
    "Quendra is a DX cluster client for amateur radio operators. It follows DX spots from a\n"
    "DX cluster node over telnet and from a packet-radio engine over TCP, and lists them by band.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "Settings are kept in ~/.config/Tamblix/Quendra.conf ($XDG_CONFIG_HOME is honoured).\n"
    "Qt's own options, such as -platform NAME or -style NAME, are passed on to Qt.\n";

// Qt's standard options that QApplication takes out of the arguments itself; the second field
// tells whether a value follows.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"-platform", true}, {"-platformpluginpath", true}, {"-platformtheme", true}, {"-plugin", true},
    {"-style", true},    {"-stylesheet", true},         {"-display", true},       {"-session", true},
    {"-qwindowgeometry", true}, {"-qwindowtitle", true}, {"-qwindowicon", true},  {"-reverse", false},
};

const QtOption* findQtOption(std::string_view argument) {
    for (const QtOption& option : kQtOptions) {
        if (argument == option.name)
            return &option;
        // Qt takes the "--name" spelling as well.
        if (argument.size() > 1 && argument.substr(1) == option.name)
            return &option;
    }
    return nullptr;
}

// Handles the program's own options before any window system is touched, so that --help and
// --version work without a display. Returns an exit code when the program should end at once.
std::optional<int> handleOptions(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("Quendra %s\n", QUENDRA_VERSION);
            return 0;
        }
        if (const QtOption* qt = findQtOption(argument)) {
            if (qt->takesValue)
                ++i;
            continue;
        }
        if (!argument.empty() && argument.front() == '-')
            std::fprintf(stderr, "quendra: unknown option '%s'\n\n", argv[i]);
        else
            std::fprintf(stderr, "quendra: unexpected argument '%s'\n\n", argv[i]);
        std::fputs(kUsage, stderr);
        return 2;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> exitCode = handleOptions(argc, argv))
        return *exitCode;
    quendra::QuendraApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
