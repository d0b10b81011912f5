pragma Singleton
pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The program's objects as the pages reach them: the view with its device
// and file operations, the window's controller, the device status and the
// window. The program hands them to the QML as context properties; this is
// the one place that reads those names, and each is null where a host (a
// test) does not give it. Their types are the module's own C++ types, so
// every call a page makes on them is checked by the linter and compiled.
// The linter cannot see context properties.
QtObject {
    // qmllint disable unqualified
    readonly property ViewCore view: typeof ui_View !== "undefined" ? ui_View : null
    readonly property WindowControl ctl: typeof ui_Ctl !== "undefined" ? ui_Ctl : null
    readonly property DeviceStatus status: typeof deviceStatus !== "undefined" ? deviceStatus : null
    readonly property ShellWindow window: typeof shellWindow !== "undefined" ? shellWindow : null
    // qmllint enable unqualified
}
