// One copy per session on Windows: the first start creates a small named memory of the
// session's namespace ("Local\"), which goes with the process, and writes its process id into
// it. A later start reads that id, allows that process to take the foreground, and sends its
// windows the program's message, which the running copy answers by coming forward.
#include "desktop.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

namespace desktop {

namespace {

const wchar_t sharedName[] = L"Local\\org.numerillo.Numerillo";

UINT comeForwardMessage()
{
    static const UINT message = RegisterWindowMessageW(L"org.numerillo.Numerillo.comeForward");
    return message;
}

struct Search
{
    DWORD process;
    bool answered = false;
};

BOOL CALLBACK askWindow(HWND window, LPARAM parameter)
{
    auto *search = reinterpret_cast<Search *>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    DWORD_PTR answer = 0;
    if (process == search->process &&
        SendMessageTimeoutW(window, comeForwardMessage(), 0, 0, SMTO_ABORTIFHUNG, 3000, &answer) &&
        answer == 1)
        search->answered = true;
    return !search->answered;
}

/** Hands this start over to the copy whose process id `shared` holds; true once it answered. */
bool handOver(const volatile DWORD *shared)
{
    // The first copy writes its id just after it made the memory.
    DWORD process = 0;
    for (int attempt = 0; attempt < 100 && !(process = *shared); ++attempt)
        Sleep(20);
    if (!process)
        return false;
    // This start was made by the user, so it may give the foreground away.
    AllowSetForegroundWindow(process);
    Search search{process};
    EnumWindows(askWindow, reinterpret_cast<LPARAM>(&search));
    return search.answered;
}

class ComeForwardFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override
    {
        if (static_cast<const MSG *>(message)->message != comeForwardMessage())
            return false;
        comeForward({}, {});
        *result = 1;
        return true;
    }
};

} // namespace

struct OneCopy::Listener
{
    HANDLE memory = nullptr;
    ComeForwardFilter filter;
};

OneCopy::OneCopy()
{
    HANDLE memory = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       sizeof(DWORD), sharedName);
    if (!memory)
        return;
    const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
    auto *shared = static_cast<volatile DWORD *>(
        MapViewOfFile(memory, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
    if (!shared) {
        CloseHandle(memory);
        return;
    }
    if (first)
        *shared = GetCurrentProcessId();
    else
        m_handedOver = handOver(shared);
    UnmapViewOfFile(const_cast<DWORD *>(shared));
    if (first) {
        m_listener = std::make_unique<Listener>();
        m_listener->memory = memory;
    } else {
        CloseHandle(memory);
    }
}

OneCopy::~OneCopy()
{
    if (m_listener) {
        if (QCoreApplication *application = QCoreApplication::instance())
            application->removeNativeEventFilter(&m_listener->filter);
        CloseHandle(m_listener->memory);
    }
}

void OneCopy::listen()
{
    if (m_listener)
        QCoreApplication::instance()->installNativeEventFilter(&m_listener->filter);
}

} // namespace desktop
