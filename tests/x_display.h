#pragma once
// The built program on a private X server, driven and read by real X clients: Xvfb on a display
// number of its own with openbox on it, as a desktop has a window manager, and a copy of the
// program in a folder of its own, where it keeps its settings file. xdotool types, xclip pastes.
// Each process started here ends with the fixture, by its process id.

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

class XDisplay {
public:
    XDisplay()
    {
        server.start("Xvfb",
                     {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        if (server.waitForReadyRead(5000)) name = ':' + server.readLine().trimmed();
        environment.insert("DISPLAY", name);
        environment.remove("QT_QPA_PLATFORM");
        start(openbox, "openbox");
        // The window must open under the window manager, once it has taken over.
        for (int tries = 0; tries < 50 && run("wmctrl", {"-m"}).isEmpty(); ++tries)
            QThread::msleep(100);
    }
    ~XDisplay()
    {
        for (QProcess *process : {&program, &openbox, &server}) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }

    // Starts the program with `record` in its settings file; true once its window shows.
    bool startProgram(const QByteArray &record)
    {
        QFile::copy(ZINTROVA_PROGRAM, folder.filePath("zintrova"));
        writeSettings(record);
        start(program, folder.filePath("zintrova"));
        // Keys go where the focus is: wait until the window shows and the window manager has
        // given it the focus; where it holds the focus back (its guard against windows that
        // steal it), give it as a click on the window would. A slow machine gets 30 s.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            window = findWindow();
            if (!window.isEmpty() && !window.contains('\n')) {
                if (activeWindow() == window) return true;
                if (waited.elapsed() > 5000) run("xdotool", {"windowactivate", window});
            }
            QThread::msleep(100);
        }
        qWarning("the program's window '%s', the active one '%s'", qPrintable(window),
                 qPrintable(activeWindow()));
        return false;
    }
    bool windowShows() { return !findWindow().isEmpty(); }
    void pressKeys(const QString &keys)
    {
        run("xdotool", QStringList{"key", "--window", window} + keys.split(' '));
    }
    QByteArray paste(const QString &target = "UTF8_STRING")
    {
        return run("xclip", {"-o", "-selection", "clipboard", "-t", target});
    }
    // The X server goes, as a crashed server or a dropped SSH connection with X forwarding.
    void endServer()
    {
        server.kill();
        server.waitForFinished(3000);
    }
    bool programEndsWithin(int ms)
    {
        return program.state() == QProcess::NotRunning || program.waitForFinished(ms);
    }
    QByteArray settings()
    {
        QFile file(folder.filePath("Zintrova.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeSettings(const QByteArray &record)
    {
        QFile file(folder.filePath("Zintrova.ini"));
        if (file.open(QIODevice::WriteOnly)) file.write(record + "\r\n");
    }
    // Runs an X client on this display, gives it `input` and returns what it printed.
    QByteArray run(const QString &tool, const QStringList &args, const QByteArray &input = {})
    {
        QProcess process;
        start(process, tool, args);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(20000); // a loaded machine starts the program slowly
        return process.readAllStandardOutput();
    }

    QString name; // ":N"
    QString window;
    QProcess program;

private:
    QString activeWindow() { return run("xdotool", {"getactivewindow"}).trimmed(); }
    QString findWindow(const QString &option = "--onlyvisible")
    {
        const QString pid = QString::number(program.processId());
        return run("xdotool", {"search", option, "--onlyvisible", "--pid", pid}).trimmed();
    }
    void start(QProcess &process, const QString &tool, const QStringList &args = {})
    {
        process.setProcessEnvironment(environment);
        process.start(tool, args);
        process.waitForStarted();
    }

    QProcess server;
    QProcess openbox;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QTemporaryDir folder;
};
