pragma Singleton
pragma ComponentBehavior: Bound
import QtQuick

// The program's objects as the pages reach them: the view with its device
// and file operations, the window's controller, the device status and the
// window. The program hands them to the QML as context properties; this is
// the one place that reads those names, and each is null where a host (a
// test) does not give it. The linter cannot see context properties.
QtObject {
    readonly property var view: typeof ui_View !== "undefined" ? ui_View : null // qmllint disable unqualified
    readonly property var ctl: typeof ui_Ctl !== "undefined" ? ui_Ctl : null // qmllint disable unqualified
    readonly property var status: typeof deviceStatus !== "undefined" ? deviceStatus : null // qmllint disable unqualified
    readonly property var window: typeof shellWindow !== "undefined" ? shellWindow : null // qmllint disable unqualified
}
