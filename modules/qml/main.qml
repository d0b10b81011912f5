pragma ComponentBehavior: Bound
import QtQuick

// The window's whole surface. Until the pages arrive this is a skinned frame
// with a title bar that drags the window, minimise and close buttons, the
// current DPI stage and the busy shield. The program calls the six functions
// below by name; each records its call in `calls`.
//
// ui_View, ui_Ctl and hid are set after this root is created: they are used
// only inside functions and handlers. They are context properties, which
// the linter cannot see: each use turns its "unqualified" check off.
Item {
    id: root
    width: 1024
    height: 640
    visible: false

    property var calls: []
    property bool initialised: false
    property int currentDpiStage: 0
    // Follows deviceStatus.connected from the first run() on (the context
    // property exists only after this root is created).
    property bool mouseConnected: false
    property string productName: ""

    function record(entry) {
        calls = calls.concat([entry])
    }

    function initUI() {
        record("initUI")
        visible = true
        if (!initialised) {
            initialised = true
            var name = ui_View.getGlobalData("common/name") // qmllint disable unqualified
            productName = name === undefined ? "" : String(name)
        }
        setProtectUI(1000)
    }

    function run() {
        record("run")
        if (typeof deviceStatus !== "undefined") // qmllint disable unqualified
            mouseConnected = Qt.binding(function () { return deviceStatus.connected }) // qmllint disable unqualified
    }

    function detectKeyboard(isDown, usbCode) {
        record("detectKeyboard(" + isDown + "," + usbCode + ")")
    }

    function detectMouse(isDown, buttonCode, x, y) {
        record("detectMouse(" + isDown + "," + buttonCode + "," + x + "," + y + ")")
    }

    function setProtectUI(interval) {
        record("setProtectUI(" + interval + ")")
        shield.visible = true
        shieldTimer.interval = Math.max(0, interval)
        shieldTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        record("setCurrentDPI(" + dpiValue + ")")
        if (dpiValue !== 0)
            currentDpiStage = dpiValue
    }

    Rectangle {
        id: frame
        anchors.fill: parent
        radius: 10
        color: "#26282d"
        border.color: "#4a4d55"
        border.width: 1

        Rectangle {
            id: titleBar
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 1 }
            height: 44
            radius: 10
            color: "#1c1d21"

            Rectangle {
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
                height: 2
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0.0; color: "#c0392b" }
                    GradientStop { position: 1.0; color: "#e67e22" }
                }
            }

            Text {
                anchors { left: parent.left; leftMargin: 20; verticalCenter: parent.verticalCenter }
                text: root.productName
                color: "#e1e1e1"
                font.pixelSize: 16
                font.bold: true
            }

            MouseArea {
                id: dragArea
                anchors.fill: parent
                property point pressedAt
                onPressed: function(mouse) { dragArea.pressedAt = Qt.point(mouse.x, mouse.y) }
                onPositionChanged: function(mouse) {
                    ui_Ctl.onXChanged(mouse.x - dragArea.pressedAt.x) // qmllint disable unqualified
                    ui_Ctl.onYChanged(mouse.y - dragArea.pressedAt.y) // qmllint disable unqualified
                }
            }

            Row {
                anchors { right: parent.right; rightMargin: 12; verticalCenter: parent.verticalCenter }
                spacing: 6

                Rectangle {
                    objectName: "minimizeButton"
                    width: 28; height: 28; radius: 4
                    color: minArea.containsMouse ? "#3a3c43" : "transparent"
                    Rectangle { anchors.centerIn: parent; width: 12; height: 2; color: "#e1e1e1" }
                    MouseArea { id: minArea; anchors.fill: parent; hoverEnabled: true; onClicked: ui_Ctl.onMinimize() } // qmllint disable unqualified
                }
                Rectangle {
                    objectName: "closeButton"
                    width: 28; height: 28; radius: 4
                    color: closeArea.containsMouse ? "#c0392b" : "transparent"
                    Rectangle { anchors.centerIn: parent; width: 14; height: 2; rotation: 45; color: "#e1e1e1" }
                    Rectangle { anchors.centerIn: parent; width: 14; height: 2; rotation: -45; color: "#e1e1e1" }
                    MouseArea { id: closeArea; anchors.fill: parent; hoverEnabled: true; onClicked: ui_Ctl.onClose() } // qmllint disable unqualified
                }
            }
        }

        Column {
            anchors.centerIn: parent
            spacing: 12
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: !root.mouseConnected ? "No mouse connected"
                      : root.currentDpiStage > 0 ? "Mouse connected, DPI stage " + root.currentDpiStage
                      : "Mouse connected"
                color: "#e1e1e1"
                font.pixelSize: 22
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Plug in the mouse; the program finds it on its own."
                color: "#9b9b9b"
                font.pixelSize: 14
                visible: !root.mouseConnected
            }
        }
    }

    // Swallows input while the program talks to the mouse.
    Rectangle {
        id: shield
        anchors.fill: parent
        radius: 10
        color: "#80000000"
        visible: false
        MouseArea { anchors.fill: parent; hoverEnabled: true }
        Timer { id: shieldTimer; onTriggered: shield.visible = false }
    }
}
