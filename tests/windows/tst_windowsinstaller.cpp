// The Windows installer as a school's IT uses it: msiexec /i and /x with /qn, no dialog. The
// steps run in the order written, each on the machine as the one before left it: a silent
// install, the program it installed started from its Start-menu shortcut on the desktop, the
// same package again, the other architecture's package, a later version and back, and a silent
// uninstall that must leave nothing behind. Cross-built, it runs under wine on a private X
// server with openbox (scripts/wine-run), where Windows Installer is wine's.
#include "win32window.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <msi.h>
#include <msiquery.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

namespace {

/** What a package says of itself, in its Property table. */
struct Package
{
    QString path;
    QString productCode;
    QString upgradeCode;
    QString version;
};

/** A path of the build machine as the program sees it, on wine's drive Z:. */
QString buildPath(const char *path)
{
    return QDir::toNativeSeparators(QStringLiteral("Z:") + QString::fromUtf8(path));
}

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

QString fromWide(const wchar_t *text)
{
    return QString::fromWCharArray(text);
}

Package readPackage(const QString &path)
{
    Package package{path, {}, {}, {}};
    MSIHANDLE database = 0;
    if (MsiOpenDatabaseW(wide(path), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS)
        return package;
    for (auto [name, value] : {std::pair{L"ProductCode", &package.productCode},
                               std::pair{L"UpgradeCode", &package.upgradeCode},
                               std::pair{L"ProductVersion", &package.version}}) {
        const QString query =
            QStringLiteral("SELECT `Value` FROM `Property` WHERE `Property` = '%1'")
                .arg(fromWide(name));
        MSIHANDLE view = 0;
        MSIHANDLE record = 0;
        if (MsiDatabaseOpenViewW(database, wide(query), &view) == ERROR_SUCCESS &&
            MsiViewExecute(view, 0) == ERROR_SUCCESS &&
            MsiViewFetch(view, &record) == ERROR_SUCCESS) {
            wchar_t text[256] = {};
            DWORD size = 256;
            if (MsiRecordGetStringW(record, 1, text, &size) == ERROR_SUCCESS)
                *value = fromWide(text);
            MsiCloseHandle(record);
        }
        if (view)
            MsiCloseHandle(view);
    }
    MsiCloseHandle(database);
    return package;
}

/** Runs a program with its command line and returns its exit code, or -1 if it did not end. */
int run(const QString &commandLine, DWORD waitMs = 120000)
{
    std::wstring line = commandLine.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, waitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}

/** msiexec with a package or product code and /qn: no dialog at all. Says how long it took. */
int msiexec(const char *action, const QString &what)
{
    QElapsedTimer timer;
    timer.start();
    const int code = run(QStringLiteral("msiexec.exe %1 \"%2\" /qn").arg(action, what));
    qInfo("msiexec %s %s /qn: exit code %d after %lld ms", action, qPrintable(what), code,
          timer.elapsed());
    return code;
}

QString knownFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return fromWide(path);
}

QString programFolder()
{
    return knownFolder(CSIDL_PROGRAM_FILES) + QStringLiteral("\\Numerillo");
}

QString programFolder32()
{
    return knownFolder(CSIDL_PROGRAM_FILESX86) + QStringLiteral("\\Numerillo");
}

/** The Numerillo products Windows Installer has, by the packages' upgrade code. */
QStringList installedProducts(const QString &upgradeCode)
{
    QStringList products;
    wchar_t product[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsW(wide(upgradeCode), 0, i, product) == ERROR_SUCCESS;
         ++i)
        products << fromWide(product);
    return products;
}

const wchar_t uninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

/** A text value of Programs and Features' entry for a product, in the 64-bit or 32-bit view. */
QString entryValue(const QString &productCode, const wchar_t *name, REGSAM view = KEY_WOW64_64KEY)
{
    const std::wstring path = std::wstring(uninstallKey) + L"\\" + productCode.toStdWString();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return {};
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    QString result;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value), &size) ==
        ERROR_SUCCESS) {
        if (type == REG_SZ || type == REG_EXPAND_SZ)
            result = fromWide(value);
        else if (type == REG_DWORD)
            result = QString::number(DWORD(value[0]) | DWORD(value[1]) << 16);
    }
    RegCloseKey(key);
    return result;
}

/** The keys of Programs and Features whose name is Numerillo, in both registry views. */
QStringList numerilloEntries()
{
    QStringList entries;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKey, 0, KEY_READ | view, &key) !=
            ERROR_SUCCESS)
            continue;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD size = 256;
            if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            if (entryValue(fromWide(name), L"DisplayName", view) == QLatin1String("Numerillo"))
                entries << fromWide(name) + (view == KEY_WOW64_32KEY ? " (32-bit)" : "");
        }
        RegCloseKey(key);
    }
    return entries;
}

/** The Start-menu shortcuts named Numerillo: all users' and this user's. */
QStringList shortcuts()
{
    QStringList found;
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const QString path = knownFolder(folder) + QStringLiteral("\\Numerillo.lnk");
        if (QFileInfo::exists(path))
            found << path;
    }
    return found;
}

struct ShortcutTarget
{
    QString program;
    QString workingDirectory;
    QString icon;
};

ShortcutTarget readShortcut(const QString &path)
{
    ShortcutTarget target;
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&link))))
        return target;
    IPersistFile *file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        if (SUCCEEDED(file->Load(wide(path), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
                target.program = fromWide(text);
            text[0] = 0;
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
                target.workingDirectory = fromWide(text);
            text[0] = 0;
            int index = 0;
            if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index)))
                target.icon = fromWide(text);
        }
        file->Release();
    }
    link->Release();
    return target;
}

QByteArray sha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(a))
               .compare(QDir::cleanPath(QDir::fromNativeSeparators(b)), Qt::CaseInsensitive) == 0;
}

/** A program started by the test, ended whatever happens. */
struct Started
{
    PROCESS_INFORMATION process{};
    ~Started()
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
};

/** The visible window in front, if it belongs to the process. */
HWND frontWindowOf(DWORD processId)
{
    HWND front = GetForegroundWindow();
    DWORD owner = 0;
    GetWindowThreadProcessId(front, &owner);
    return front && owner == processId && IsWindowVisible(front) ? front : nullptr;
}

/** Which window of a thread is active, and which has the keyboard focus. */
GUITHREADINFO guiThread(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(threadId, &info);
    return info;
}

bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

/**
 * The lines of what the program wrote, less those that only wine makes it write: wine 8 has
 * no per-monitor DPI awareness of version 2 (Qt's first choice, and the manifest's), so Qt says
 * it falls back to version 1, and then that wine lacks EnableNonClientDpiScaling(). The program
 * writes both with or without its manifest; on Windows it writes nothing.
 */
QStringList said(const QByteArray &output)
{
    QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    if (underWine()) {
        lines.removeIf([](const QString &line) {
            return line.startsWith(QLatin1String(
                       "qt.qpa.windows: SetProcessDpiAwarenessContext("
                       "DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) failed: COM error 0x57")) ||
                   (line.startsWith(QLatin1String("EnableNonClientDpiScaling() failed")) &&
                    line.contains(QLatin1String("(Call not implemented.)")));
        });
    }
    lines.removeAll(QString());
    return lines;
}

} // namespace

class TestWindowsInstaller : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void silentInstallPutsProgramShortcutAndEntryInPlace();
    void installedProgramStartsInFrontWithFocusAndEndsOnEscape();
    void installingAgainKeepsOneEntry();
    void otherArchitecturesPackageReplacesIt();
    void laterVersionReplacesItAndAnOlderOneIsRefused();
    void silentUninstallLeavesNothingBehind();

private:
    /** Uninstalls every Numerillo there is. */
    void removeAll();

    Package m_package;
    Package m_otherArchitecture;
    Package m_later;
};

void TestWindowsInstaller::initTestCase()
{
    QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_package = readPackage(buildPath(NUMERILLO_MSI));
    m_otherArchitecture = readPackage(buildPath(NUMERILLO_OTHER_ARCHITECTURE_MSI));
    m_later = readPackage(buildPath(NUMERILLO_LATER_MSI));
    for (const Package *package : {&m_package, &m_otherArchitecture, &m_later})
        QVERIFY2(!package->productCode.isEmpty() && !package->upgradeCode.isEmpty(),
                 qPrintable(package->path));
    // The packages this test installs besides the program's own: the same upgrade code, another
    // product each; the later one of a version above.
    QCOMPARE(m_otherArchitecture.upgradeCode, m_package.upgradeCode);
    QCOMPARE(m_later.upgradeCode, m_package.upgradeCode);
    QVERIFY(m_otherArchitecture.productCode != m_package.productCode);
    QVERIFY(m_later.productCode != m_package.productCode);
    QCOMPARE(m_otherArchitecture.version, m_package.version);
    QVERIFY(m_later.version != m_package.version);
    // Whatever an earlier run that failed half-way left installed.
    removeAll();
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList());
}

void TestWindowsInstaller::cleanupTestCase()
{
    removeAll();
    CoUninitialize();
}

void TestWindowsInstaller::removeAll()
{
    for (const QString &product : installedProducts(m_package.upgradeCode))
        msiexec("/x", product);
}

void TestWindowsInstaller::silentInstallPutsProgramShortcutAndEntryInPlace()
{
    QCOMPARE(msiexec("/i", m_package.path), 0);

    // The program as built, stripped, and the licence, in Program Files\Numerillo.
    const QString folder = programFolder();
    QCOMPARE(sha256(folder + QStringLiteral("\\numerillo.exe")),
             sha256(buildPath(NUMERILLO_PROGRAM)));
    QCOMPARE(sha256(folder + QStringLiteral("\\LICENSE.txt")),
             sha256(buildPath(NUMERILLO_LICENSE)));
    QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name),
             (QStringList{"LICENSE.txt", "numerillo.exe"}));

    // One Start-menu shortcut, to the program, starting in its folder, with its icon.
    const QStringList links = shortcuts();
    QCOMPARE(links.size(), 1);
    const ShortcutTarget target = readShortcut(links.first());
    QVERIFY2(samePath(target.program, folder + QStringLiteral("\\numerillo.exe")),
             qPrintable(target.program));
    QVERIFY2(samePath(target.workingDirectory, folder), qPrintable(target.workingDirectory));
    QVERIFY2(target.icon.isEmpty() || samePath(target.icon, target.program),
             qPrintable(target.icon));

    // One entry in Programs and Features.
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_package.productCode});
    QCOMPARE(numerilloEntries(), QStringList{m_package.productCode});
    const QString &code = m_package.productCode;
    QCOMPARE(entryValue(code, L"DisplayName"), QStringLiteral("Numerillo"));
    QCOMPARE(entryValue(code, L"DisplayVersion"), m_package.version);
    QCOMPARE(entryValue(code, L"Publisher"), QStringLiteral("Numerillo developers"));
    // The project has no web page of its own: no link, rather than one to somebody else's.
    QCOMPARE(entryValue(code, L"URLInfoAbout"), QString());
    QCOMPARE(entryValue(code, L"HelpLink"), QString());
    QCOMPARE(entryValue(code, L"NoModify"), QStringLiteral("1"));
    QVERIFY(entryValue(code, L"UninstallString").contains(code, Qt::CaseInsensitive));
    // Programs and Features shows the product icon that Windows Installer keeps for it.
    wchar_t icon[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QCOMPARE(MsiGetProductInfoW(wide(code), INSTALLPROPERTY_PRODUCTICON, icon, &size),
             UINT(ERROR_SUCCESS));
    QCOMPARE(sha256(fromWide(icon)), sha256(buildPath(NUMERILLO_ICON)));
}

void TestWindowsInstaller::installedProgramStartsInFrontWithFocusAndEndsOnEscape()
{
    const QStringList links = shortcuts();
    QCOMPARE(links.size(), 1);
    const ShortcutTarget target = readShortcut(links.first());

    // What the program writes goes to a file: nothing is expected, not even a warning from Qt
    // about the DPI awareness its manifest declares (QT_FORCE_STDERR_LOGGING, which
    // scripts/wine-run sets, reaches it from here).
    const QString outputPath = QDir::toNativeSeparators(QDir::tempPath()) +
                               QStringLiteral("\\numerillo-installed-output.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(wide(outputPath), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(output != INVALID_HANDLE_VALUE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    Started started;
    std::wstring commandLine = L"\"" + target.program.toStdWString() + L"\"";
    QElapsedTimer timer;
    timer.start();
    const BOOL ok =
        CreateProcessW(wide(target.program), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       wide(target.workingDirectory), &startup, &started.process);
    CloseHandle(output);
    QVERIFY(ok);

    // The start window comes up in front, with the keyboard focus.
    HWND window = nullptr;
    QVERIFY(QTest::qWaitFor([&] { return (window = frontWindowOf(started.process.dwProcessId)); },
                            20000));
    qInfo("the installed program's window was in front after %lld ms", timer.elapsed());
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(guiThread(threadId).hwndActive, window, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(guiThread(threadId).hwndFocus, window, 5000);
    const QStringList frame = win32window::frameProblems(window);
    QVERIFY2(frame.isEmpty(), qPrintable(frame.join(", ")));

    // Escape, pressed as on the keyboard, ends the program, and it ends well.
    QVERIFY(win32window::pressKey(VK_ESCAPE));
    QCOMPARE(WaitForSingleObject(started.process.hProcess, 10000), DWORD(WAIT_OBJECT_0));
    DWORD code = 1;
    QVERIFY(GetExitCodeProcess(started.process.hProcess, &code));
    QCOMPARE(code, DWORD(0));
    QFile written(outputPath);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QStringList lines = said(written.readAll());
    written.close();
    written.remove();
    QVERIFY2(lines.isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
}

void TestWindowsInstaller::installingAgainKeepsOneEntry()
{
    QCOMPARE(msiexec("/i", m_package.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_package.productCode});
    QCOMPARE(numerilloEntries(), QStringList{m_package.productCode});
    QCOMPARE(shortcuts().size(), 1);
    QVERIFY(QFileInfo::exists(programFolder() + QStringLiteral("\\numerillo.exe")));
}

void TestWindowsInstaller::otherArchitecturesPackageReplacesIt()
{
    // The 32-bit package of the same version, over the 64-bit program: one Numerillo, the
    // 32-bit one, in Program Files (x86). Then the 64-bit package again puts it back.
    QCOMPARE(msiexec("/i", m_otherArchitecture.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode),
             QStringList{m_otherArchitecture.productCode});
    QCOMPARE(numerilloEntries(), QStringList{m_otherArchitecture.productCode + " (32-bit)"});
    QVERIFY(!QFileInfo::exists(programFolder()));
    QVERIFY(QFileInfo::exists(programFolder32() + QStringLiteral("\\numerillo.exe")));
    QCOMPARE(shortcuts().size(), 1);

    QCOMPARE(msiexec("/i", m_package.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_package.productCode});
    QCOMPARE(numerilloEntries(), QStringList{m_package.productCode});
    QVERIFY(!QFileInfo::exists(programFolder32()));
    QVERIFY(QFileInfo::exists(programFolder() + QStringLiteral("\\numerillo.exe")));
}

void TestWindowsInstaller::laterVersionReplacesItAndAnOlderOneIsRefused()
{
    QCOMPARE(msiexec("/i", m_later.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_later.productCode});
    QCOMPARE(numerilloEntries(), QStringList{m_later.productCode});
    QCOMPARE(entryValue(m_later.productCode, L"DisplayVersion"), m_later.version);
    QCOMPARE(shortcuts().size(), 1);

    // This version over the later one stops with a fatal error and changes nothing.
    QCOMPARE(msiexec("/i", m_package.path), int(ERROR_INSTALL_FAILURE));
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_later.productCode});
    QCOMPARE(entryValue(m_later.productCode, L"DisplayVersion"), m_later.version);

    // Back to this version, for the uninstall after.
    QCOMPARE(msiexec("/x", m_later.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList());
    QCOMPARE(msiexec("/i", m_package.path), 0);
    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList{m_package.productCode});
}

void TestWindowsInstaller::silentUninstallLeavesNothingBehind()
{
    QCOMPARE(msiexec("/x", m_package.path), 0);

    QCOMPARE(installedProducts(m_package.upgradeCode), QStringList());
    QCOMPARE(MsiQueryProductStateW(wide(m_package.productCode)), INSTALLSTATE_UNKNOWN);
    QCOMPARE(numerilloEntries(), QStringList());
    QCOMPARE(shortcuts(), QStringList());
    QVERIFY(!QFileInfo::exists(programFolder()));
    QVERIFY(!QFileInfo::exists(programFolder32()));
    // Nor the product icon Windows Installer kept for Programs and Features.
    QVERIFY(!QFileInfo::exists(knownFolder(CSIDL_WINDOWS) + QStringLiteral("\\Installer\\") +
                               m_package.productCode));
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        QCOMPARE(
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Numerillo", 0, KEY_READ | view, &key),
            LONG(ERROR_FILE_NOT_FOUND));
        QCOMPARE(entryValue(m_package.productCode, L"DisplayName", view), QString());
    }
}

QTEST_GUILESS_MAIN(TestWindowsInstaller)
#include "tst_windowsinstaller.moc"
