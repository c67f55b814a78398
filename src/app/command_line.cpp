#include "app/command_line.h"

#include "version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>
#include <mutex>

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

// A message held back while the application object is made, with what its context points to.
struct HeldMessage {
    QtMsgType Type;
    QByteArray File, Function, Category;
    int Line;
    QString Text;
};

// What WindowSystemStart holds; Qt's threads may give messages too.
struct Holding {
    std::mutex Lock;
    bool Active = false;
    QtMessageHandler Previous = nullptr;
    QString Program, WaylandDisplay;
    std::vector<HeldMessage> Messages;
};

Holding &Held()
{
    static Holding held;
    return held;
}

void HoldMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    Holding &held = Held();
    const std::lock_guard lock(held.Lock);
    held.Messages.push_back(
        {type, context.file, context.function, context.category, context.line, text});
    if (type != QtFatalMsg) return;
    // Nothing of the program exists yet but this: no window, no settings, no password.
    QList<QtMessage> messages;
    for (const HeldMessage &m : held.Messages)
        messages.append({QString::fromLatin1(m.Category), m.Text});
    const QString line = NoWindowSystemText(held.Program, messages, held.WaylandDisplay);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

QString NoWindowSystemText(const QString &program, const QList<QtMessage> &messages,
                           const QString &waylandDisplay)
{
    static const QRegularExpression plugin(
        QStringLiteral("Could not (load|find) the Qt platform plugin \"([^\"]*)\""));
    static const QRegularExpression x11(QStringLiteral("^could not connect to display ?(.*)$"));
    static const QRegularExpression installed(
        QStringLiteral("Available platform plugins are: ([^\n]*)\\."));
    QStringList said;
    QString x11Display;
    bool x11Unreached = false, waylandUnreached = false, x11Unset = false;
    for (const QtMessage &m : messages) {
        if (const auto x = x11.match(m.Text); x.hasMatch()) {
            x11Display = x.captured(1).trimmed();
            x11Unreached = true;
        }
        if (m.Text.contains(QLatin1String("wl_display"))) waylandUnreached = true;
        const auto p = plugin.match(m.Text);
        if (!p.hasMatch()) continue;
        const QString name = p.captured(2);
        if (p.captured(1) == u"find") {
            const auto list = installed.match(messages.last().Text);
            said << QStringLiteral("cannot load the platform '%1', which is not installed")
                            .arg(name) +
                        (list.hasMatch() ? QStringLiteral(" (installed: %1)").arg(list.captured(1))
                                         : QString());
        } else if (name.startsWith(QLatin1String("xcb")) && x11Unreached) {
            // Qt tries X11 after Wayland also where no X11 display was named; that is no news.
            if (x11Display.isEmpty())
                x11Unset = true;
            else
                said << QStringLiteral("cannot reach the X11 display %1").arg(x11Display);
        } else if (name.startsWith(QLatin1String("wayland")) && waylandUnreached) {
            said << QStringLiteral("cannot reach the Wayland display %1")
                        .arg(waylandDisplay.isEmpty() ? QStringLiteral("wayland-0")
                                                      : waylandDisplay);
        } else {
            said << QStringLiteral("cannot start the platform '%1'").arg(name);
        }
        x11Unreached = waylandUnreached = false; // each attempt has messages of its own
    }
    if (said.isEmpty() && x11Unset)
        said << QStringLiteral("cannot reach an X11 display, as DISPLAY is not set");
    if (said.isEmpty())
        said << QStringLiteral("cannot start the window system: ") +
                    (messages.isEmpty() ? QString() : messages.last().Text.section(u'\n', 0, 0));
    QString line = program + QStringLiteral(": ") + said.join(QStringLiteral("; "));
    if (!line.endsWith(u'.') && !line.endsWith(u'!')) line += u'.';
    return line + u'\n';
}

WindowSystemStart::WindowSystemStart(const char *argv0)
{
    Holding &held = Held();
    const std::lock_guard lock(held.Lock);
    held.Program = QFileInfo(QString::fromLocal8Bit(argv0)).fileName();
    held.WaylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    held.Active = true;
    held.Previous = qInstallMessageHandler(HoldMessage);
}

WindowSystemStart::~WindowSystemStart()
{
    Started();
}

void WindowSystemStart::Started()
{
    Holding &held = Held();
    const std::lock_guard lock(held.Lock);
    if (!held.Active) return;
    held.Active = false;
    qInstallMessageHandler(held.Previous);
    for (const HeldMessage &m : held.Messages)
        held.Previous(m.Type,
                      QMessageLogContext(m.File.constData(), m.Line, m.Function.constData(),
                                         m.Category.constData()),
                      m.Text);
    held.Messages.clear();
}

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
