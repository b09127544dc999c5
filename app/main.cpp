// The process entry: the program folder is the executable's own folder.
#include "core/app.h"
#include "program/program.h"

#include <QApplication>
#include <QByteArray>
#include <QDirIterator>
#include <QIcon>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The platform Qt will start on: the command line's -platform wins over the
// environment, as in Qt itself.
QByteArray platformNamed(int argc, char* argv[])
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[i + 1];
    }
    return platform;
}

// Only the desktop's own platforms need a session; one named that draws
// elsewhere (the tests' offscreen, a frame buffer, VNC) starts without it.
bool needsDesktopSession(const QByteArray& platform)
{
    if (platform.trimmed().isEmpty())
        return true;
    for (const QByteArray& entry : platform.split(';')) {
        const QByteArray name = entry.split(':').first().trimmed();
        if (name.isEmpty())
            continue;
        if (!name.startsWith("xcb") && !name.startsWith("wayland"))
            return false;
    }
    return true;
}

bool hasDesktopSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The session named but not reached (a display that does not answer, one
// gone with its ssh tunnel): told in the same words as no session at all.
[[noreturn]] void unreachableSession()
{
    QByteArray named;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            named += (named.isEmpty() ? "" : " ") + QByteArray(name) + '=' + qgetenv(name);
    const QByteArray text = "Orvanta needs a desktop session: " + named +
                            " cannot be reached; start it from the desktop.\n"
                            "Orvanta perlu sesi desktop: " +
                            named + " tidak dapat dihubungi; jalankan dari desktop.\n";
    std::fputs(text.constData(), stderr);
    std::fflush(stderr);
    // Qt would abort after its handler returns.
    std::_Exit(1);
}

// While the platform starts, Qt's messages wait: on its failure only the
// clear line is told; once started, they go out as Qt would have written
// them.
QStringList* g_startMessages = nullptr;

void startMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg)
        unreachableSession();
    g_startMessages->append(qFormatLogMessage(type, context, text));
}

QIcon programIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icon"), {QStringLiteral("orvanta.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt's own failure here ends in advice to reinstall the program, which
    // sends a technician the wrong way: say what is missing, in English
    // for whoever installed it and in Indonesian beside it.
    if (needsDesktopSession(platformNamed(argc, argv)) && !hasDesktopSession()) {
        std::fputs("Orvanta needs a desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set; start it from the "
                   "desktop.\n"
                   "Orvanta perlu sesi desktop: DISPLAY dan WAYLAND_DISPLAY tidak ada; jalankan dari desktop.\n",
                   stderr);
        return 1;
    }
    QStringList startMessages;
    g_startMessages = &startMessages;
    const QtMessageHandler qtHandler = qInstallMessageHandler(startMessage);
    QApplication qapp(argc, argv);
    qInstallMessageHandler(qtHandler);
    g_startMessages = nullptr;
    for (const QString& text : startMessages)
        std::fprintf(stderr, "%s\n", qPrintable(text));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(programIcon());
    // Wayland desktops match the window to its menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvanta"));
    int rc = 0;
    {
        App app(QCoreApplication::applicationDirPath());
        app.onMainUnloaded = [] { QCoreApplication::quit(); };
        mMain::Main();
        rc = QApplication::exec();
    }
    return rc;
}
