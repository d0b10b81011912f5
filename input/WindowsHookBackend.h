#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "InputCaptureBackend.h"

#include <memory>

struct HHOOK__;

// The system-wide low-level keyboard and mouse hooks. Windows calls them on
// the thread that installed them (the GUI thread) from its message loop; both
// always hand the event on to the next hook, so input is never blocked or
// altered. Keys are translated by scan code (KeyTables::windowsKeyCode), never
// by virtual key, so the keyboard layout does not matter.
//
// Only one hook pair exists per process: the backend is the process-wide
// instance the hook procedures report to.
class WindowsHookBackend final : public InputCaptureBackend
{
    Q_OBJECT
public:
    // Installs both hooks. Null, with a debug line, when either cannot be
    // installed (the other is then removed again) or another instance lives.
    static std::unique_ptr<WindowsHookBackend> create(InputEventSink& sink);
    // Removes the keyboard hook, then the mouse hook.
    ~WindowsHookBackend() override;

    QString name() const override;

private:
    explicit WindowsHookBackend(InputEventSink& sink);
    static qintptr __stdcall keyboardProc(int code, quintptr wParam, qintptr lParam);
    static qintptr __stdcall mouseProc(int code, quintptr wParam, qintptr lParam);

    InputEventSink& m_sink;
    HHOOK__* m_keyboardHook = nullptr;
    HHOOK__* m_mouseHook = nullptr;
};

#endif // Q_OS_WIN
