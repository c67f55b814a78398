#pragma once
// A shown main window driven by real input (keys, clicks and drags through Qt's event system),
// and the words the window tests check it in: the length range and the clipboard.

#include "controls/fonts.h"
#include "mainwindow/fmMain.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMimeData>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace zintrova {

// The window's state that no control shows. Only the engine's source and the clipboard can be
// swapped; the states are read, never set.
struct fmMainProbe {
    fmMain &w;
    std::int16_t Busy() const { return w.Busy; }
    std::int16_t PushState() const { return w.PushState; }
    std::int16_t CountValue() const { return w.CountValue; }
    const std::string &Pool() const { return w.Pool; }
    Clipboard *&Clip() const { return w.Clip; }
    RandomSource *&Random() const { return w.Random; }
    QString &Platform() const { return w.Platform; }
    void GeneratePass() const { w.GeneratePass(); }
};

inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString &path, const QByteArray &content, mode_t mode = 0600)
{
    QFile f(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
    QCOMPARE(chmod(QFile::encodeName(path), mode), 0);
}

// The system clipboard, unless told to refuse writes as when another program holds it.
class TestClipboard : public Clipboard {
public:
    bool refuse = false;

protected:
    void Write(QMimeData *data) override { refuse ? delete data : Clipboard::Write(data); }
};

// Takes what the program asks the desktop to open, instead of the desktop.
class Opener : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
    Opener()
    {
        for (const char *scheme : {"https", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~Opener() override
    {
        for (const char *scheme : {"https", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
public slots:
    void open(const QUrl &url) { urls << url; }
};

const QString UsersOwnText = "what the user had copied";

class MainWindow {
public:
    fmMain w;
    fmMainProbe probe{w};
    TestClipboard clip;
    QStringList shown; // every password put on show, in order

    MainWindow()
    {
        probe.Clip() = &clip;
        QGuiApplication::clipboard()->setText(UsersOwnText);
        shown << password();
        QObject::connect(w.lbPass, &ChangeLabel::Change, &w, [this] {
            if (!password().isEmpty()) shown << password();
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        settle();
    }

    // --- input
    static void settle() { QCoreApplication::processEvents(); }
    void click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton), settle(); }
    // Gives a control the focus, as the Tab key would.
    void focusOn(QWidget *control) { control->setFocus(Qt::TabFocusReason), settle(); }
    // A key pressed and released where the focus is.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(focus(), key, modifiers), settle();
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(focus(), c.toLatin1()), settle();
    }
    // A key held down: its first press, then the keyboard's repeats, until releaseKey().
    void holdKey(Qt::Key key)
    {
        if (held_ != key) {
            QTest::keyPress(focus(), held_ = key);
        } else { // as X11 repeats a key: a release and a press, both marked as repeats
            QTest::simulateEvent(focus(), false, key, {}, {}, true);
            QTest::simulateEvent(focus(), true, key, {}, {}, true);
        }
        settle();
    }
    Qt::Key held() const { return held_; }
    void releaseKey()
    {
        QTest::keyRelease(focus(), held_);
        held_ = Qt::Key(0);
        settle();
    }
    // The count box then holds exactly this text, pasted with Ctrl+V.
    void pasteCount(const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        w.txNum->setFocus();
        w.txNum->selectAll();
        QTest::keyClick(w.txNum, Qt::Key_V, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(UsersOwnText);
        settle();
    }
    // The mouse on a slider at the place of a length: pressed, dragged on, released.
    void pressSlider(int slider, int length)
    {
        mouse_ = w.sldLen[slider];
        QTest::mousePress(mouse_, Qt::LeftButton, {}, at_ = placeOf(length));
    }
    void dragTo(int length) { QTest::mouseMove(mouse_, at_ = placeOf(length)); }
    void release() { QTest::mouseRelease(mouse_, Qt::LeftButton, {}, at_), settle(); }
    void clickSlider(int slider, int length) { pressSlider(slider, length), release(); }
    // Runs `then` inside a batch copy, when it lets events run after its first password.
    void duringBatch(std::function<void()> then)
    {
        const auto later = [this, then] { QTimer::singleShot(0, &w, then); };
        QObject::connect(w.lbPass, &ChangeLabel::Change, &w, later, Qt::SingleShotConnection);
    }
    // --- what the window shows
    // The control with the focus, or the window itself when none has it.
    QWidget *focus()
    {
        QWidget *control = QApplication::focusWidget();
        return control ? control : &w;
    }
    QString focusName() { return focus()->objectName(); }
    QString password() const { return w.lbPass->Caption(); }
    QString count() const { return w.txNum->text(); }
    // The length range as its label shows it, with the thumbs' coupling: "6 - 8 free",
    // "8 - 8 stopped" or "9 - 9 pushing". The label is written from the sliders' values.
    QString range() const
    {
        const char *coupling[] = {"free", "stopped", "pushing"};
        return w.lbLimits->Caption() + ' ' + coupling[probe.PushState()];
    }
    // The clipboard's text, marked if the secret mark that keeps it out of histories is missing.
    static QString clipboard()
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        const bool secret = data->data("x-kde-passwordManagerHint") == "secret";
        return (secret || data->text() == UsersOwnText ? "" : "(not secret) ") + data->text();
    }

private:
    // The layout's common scale: the lowest length of each slider 120 twips (8 pixels) in from
    // its left edge, 195 twips (13 pixels) a step.
    QPoint placeOf(int length) const
    {
        return {8 + 13 * (length - mouse_->Min()), mouse_->height() / 2};
    }
    Qt::Key held_ = Qt::Key(0);
    TrackSlider *mouse_ = nullptr;
    QPoint at_;
};

} // namespace zintrova
