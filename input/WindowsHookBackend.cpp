#include "WindowsHookBackend.h"

#ifdef Q_OS_WIN

#include "InputLog.h"
#include "KeyTables.h"

#include <windows.h>

namespace {
WindowsHookBackend* instance = nullptr;
} // namespace

std::unique_ptr<WindowsHookBackend> WindowsHookBackend::create(InputEventSink& sink)
{
    if (instance) {
        qCDebug(skarnInput) << "the input hooks are already installed";
        return nullptr;
    }
    std::unique_ptr<WindowsHookBackend> backend(new WindowsHookBackend(sink));
    HMODULE module = GetModuleHandleW(nullptr);
    instance = backend.get();
    backend->m_keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, &WindowsHookBackend::keyboardProc, module, 0);
    backend->m_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, &WindowsHookBackend::mouseProc, module, 0);
    if (!backend->m_keyboardHook || !backend->m_mouseHook) {
        // A lone hook would report half of what the pages expect: drop both
        // (the destructor removes whichever was installed).
        qCDebug(skarnInput) << "cannot install the input hooks, error" << GetLastError();
        return nullptr;
    }
    return backend;
}

WindowsHookBackend::WindowsHookBackend(InputEventSink& sink)
    : m_sink(sink)
{
}

WindowsHookBackend::~WindowsHookBackend()
{
    if (m_keyboardHook)
        UnhookWindowsHookEx(m_keyboardHook);
    if (m_mouseHook)
        UnhookWindowsHookEx(m_mouseHook);
    if (instance == this)
        instance = nullptr;
}

QString WindowsHookBackend::name() const
{
    return QStringLiteral("Windows low-level hooks");
}

qintptr __stdcall WindowsHookBackend::keyboardProc(int code, quintptr wParam, qintptr lParam)
{
    // Windows asks that calls with a negative code be passed on untouched.
    if (code == HC_ACTION && instance) {
        const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool pressed = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        if (const quint8 keyCode = KeyTables::windowsKeyCode(record->scanCode, record->flags))
            instance->m_sink.keyEvent(keyCode, pressed);
    }
    return CallNextHookEx(instance ? instance->m_keyboardHook : nullptr, code, WPARAM(wParam), LPARAM(lParam));
}

qintptr __stdcall WindowsHookBackend::mouseProc(int code, quintptr wParam, qintptr lParam)
{
    if (code == HC_ACTION && instance) {
        const KeyTables::MouseButtonEntry button = KeyTables::windowsMouseButton(quint32(wParam));
        if (button.buttonCode) {
            const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            // Screen coordinates of a monitor left of or above the primary
            // one are negative; they cross as their 32-bit pattern.
            instance->m_sink.buttonEvent(button.buttonCode, button.pressed, quint32(record->pt.x),
                                         quint32(record->pt.y));
        }
    }
    return CallNextHookEx(instance ? instance->m_mouseHook : nullptr, code, WPARAM(wParam), LPARAM(lParam));
}

#endif // Q_OS_WIN
