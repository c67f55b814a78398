#include "app/command_line.h"

#include "version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

namespace zintrova {

namespace {

// Options that Qt's application objects take for themselves, with whether a value follows.
constexpr std::pair<const char *, bool> QtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"session", true},
    {"style", true},           {"stylesheet", true},
    {"display", true},         {"geometry", true},
    {"title", true},           {"name", true},
    {"visual", true},          {"qmljsdebugger", true},
    {"reverse", false},        {"widgetcount", false},
    {"nograb", false},         {"dograb", false},
    {"sync", false},           {"testability", false}};

CommandLineAnswer End(int status, const QString &text, bool error)
{
    return {false, status, text, error};
}

} // namespace

CommandLineAnswer ReadCommandLine(const QStringList &args, const DisplayEnvironment &env,
                                  bool needDisplay)
{
    const QString program =
        args.isEmpty() ? QStringLiteral("zintrova") : QFileInfo(args.first()).fileName();
    const QString title = QStringLiteral("%1 %2.%3")
                              .arg(QLatin1String(app::Title))
                              .arg(app::VersionMajor)
                              .arg(app::VersionMinor);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        title + QStringLiteral(": random passwords, one at a time or a whole batch, for the "
                               "clipboard.\nQt's options such as -platform NAME and -style NAME "
                               "are accepted too."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const auto &[name, takesValue] : QtOptions) {
        QCommandLineOption option{QString::fromLatin1(name)};
        if (takesValue) option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    const QString tryHelp = QStringLiteral("Try '%1 --help'.\n").arg(program);
    if (!parser.parse(args))
        return End(2, program + QStringLiteral(": ") + parser.errorText() + u'\n' + tryHelp, true);
    if (!parser.positionalArguments().isEmpty())
        return End(2,
                   program +
                       QStringLiteral(": unexpected argument '%1'.\n")
                           .arg(parser.positionalArguments().first()) +
                       tryHelp,
                   true);
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as it was started; --help-all, which Qt adds for
        // listing its own options, says no more than this.
        QStringList lines = parser.helpText().split(u'\n');
        lines.first() = QStringLiteral("Usage: %1 [options]").arg(program);
        lines.removeIf([](const QString &l) { return l.contains(QLatin1String("--help-all")); });
        return End(0, lines.join(u'\n'), false);
    }
    if (parser.isSet(version)) return End(0, title + u'\n', false);
    if (needDisplay && env.QtPlatform.empty() && !parser.isSet(QStringLiteral("platform")) &&
        env.Display.empty() && env.WaylandDisplay.empty())
        return End(
            1,
            program +
                QStringLiteral(": no display to show the window on (neither DISPLAY nor "
                               "WAYLAND_DISPLAY is set); start it from a desktop session, under a "
                               "virtual display (xvfb-run %1) or with QT_QPA_PLATFORM=offscreen.\n")
                    .arg(program),
            true);
    return {};
}

std::optional<int> HandleCommandLine(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    const bool needDisplay = true;
#else
    const bool needDisplay = false;
#endif
    const CommandLineAnswer answer =
        ReadCommandLine(args, CurrentDisplayEnvironment(argc, argv), needDisplay);
    if (answer.Run) return std::nullopt;
    std::fputs(answer.Text.toLocal8Bit().constData(), answer.ToStdErr ? stderr : stdout);
    return answer.ExitCode;
}

} // namespace zintrova
