pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// An area that moves the window: the pointer's offset from where it was
// pressed moves it. Under Wayland a window cannot place itself; the
// compositor moves it instead. A press also says pressedHere, for what the
// area does besides.
MouseArea {
    id: area

    property point pressedAt

    signal pressedHere

    onPressed: function (mouse) {
        area.pressedAt = Qt.point(mouse.x, mouse.y)
        if (Program.window !== null && !Program.window.placesItself)
            Program.window.startSystemMove()
        area.pressedHere()
    }
    onPositionChanged: function (mouse) {
        if (!area.pressed || Program.ctl === null)
            return
        Program.ctl.onXChanged(mouse.x - area.pressedAt.x)
        Program.ctl.onYChanged(mouse.y - area.pressedAt.y)
    }
}
