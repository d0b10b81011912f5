pragma Singleton
pragma ComponentBehavior: Bound
import QtQuick

// The look shared by the shell, its pages and their controls: the frame's
// colours, the font and its sizes, and our images. The shell's own properties
// of the same names take their values from here, and every control takes its
// defaults from here, so a page may still override one control's colour.
QtObject {
    readonly property color colorGray0: "#1a1a1a"
    readonly property color colorGray1: "#3c3c3c"
    readonly property color colorGray2: "#969696"
    readonly property color colorGray3: "#d1d1d1"
    readonly property color colorBlue: "#09347f"
    readonly property color colorOrange: "#cf3e00"
    readonly property color colorBlack: "black"
    readonly property color fontColor: "#ffffff"
    // The frame behind the panels and its title bar.
    readonly property color colorBackground: "#222326"
    readonly property color colorTitle: "#161618"

    // Where the named font is missing, fontconfig and Qt's per-script fallback
    // pick an installed one (a CJK font for the Chinese texts).
    readonly property string fontFamily: "微软雅黑"
    readonly property int fontNormalSize: 12
    readonly property int fontMiddleSize: 14
    readonly property int fontMaxSize: 16
    readonly property int fontMinSize: 10

    readonly property int skin_No: 1

    // The URL of one of our images by its name ("close", "close_hover",
    // "mouse", ...), beside this file's folder: in the resources
    // (qrc:/modules/qml/img/) and in the source tree alike.
    function image(name: string): url {
        return Qt.resolvedUrl("../img/" + name + ".svg")
    }
}
