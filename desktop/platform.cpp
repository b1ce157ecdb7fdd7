#include "desktop.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtGlobal>

namespace desktop {

namespace {

/**
 * Whether an X display is to be seen where DISPLAY points: for one on this machine (":0",
 * "unix:0.1") its socket is there; one elsewhere on the network is taken on trust.
 */
bool x11DisplaySeen(const QString &display)
{
    QStringView number = display;
    if (number.startsWith(QLatin1String("unix:")))
        number = number.mid(4);
    if (!number.startsWith(QLatin1Char(':')))
        return true;
    number = number.mid(1);
    if (const qsizetype screen = number.indexOf(QLatin1Char('.')); screen >= 0)
        number = number.left(screen);
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + number.toString());
}

/** Whether a Wayland compositor is there to connect to, found as libwayland finds it. */
bool waylandDisplaySeen()
{
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return true;
    QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        name = QStringLiteral("wayland-0");
    if (!QDir::isAbsolutePath(name)) {
        const QString runtimeDirectory = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtimeDirectory.isEmpty())
            return false;
        name = runtimeDirectory + QLatin1Char('/') + name;
    }
    return QFileInfo::exists(name);
}

} // namespace

bool choosePlatform()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    // One window system, always there.
    return true;
#else
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    const QString x11Display = qEnvironmentVariable("DISPLAY");
    const char *platform = nullptr;
    if (!x11Display.isEmpty() && x11DisplaySeen(x11Display))
        platform = "xcb";
    else if (waylandDisplaySeen())
        platform = "wayland";
    else if (!x11Display.isEmpty())
        // Its socket may be one that only the kernel's abstract namespace holds: Qt will tell.
        platform = "xcb";
    else
        return false;
    qputenv("QT_QPA_PLATFORM", platform);
    return true;
#endif
}

void useOnlyARunningSessionBus()
{
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArrayLiteral("disabled:"));
}

StartRuntimeDirectory::StartRuntimeDirectory()
{
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        return;
    // Readable by its owner only, as a runtime directory must be.
    auto directory =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/numerillo-XXXXXX"));
    if (!directory->isValid())
        return;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory->path()));
    m_directory = std::move(directory);
#endif
}

StartRuntimeDirectory::~StartRuntimeDirectory()
{
    if (m_directory)
        qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace desktop
