pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// A button with a centred text: the bottom bar's Config, Reset and Save, the
// dialogs' OK and Cancel. Blue, orange under the pointer; a page may set
// another colour (Save turns red while something is unsaved). A ring around
// it shows the keyboard focus.
T.Button {
    id: root

    property string textValue: ""
    property color normalColor: Skin.colorBlue
    property color hoverColor: Skin.colorOrange
    // The width the text needs; a page sizes the button from it.
    readonly property real textWidth: root.implicitContentWidth

    width: 100
    height: 24
    padding: 0
    leftPadding: 4
    rightPadding: 4
    hoverEnabled: true
    // The keyboard reaches it with Tab; a click leaves the focus where it is.
    focusPolicy: Qt.TabFocus
    text: root.textValue

    Accessible.role: Accessible.Button
    Accessible.name: root.textValue

    // The button reacts to Space; Return and Enter do the same.
    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()

    contentItem: Label {
        horizontalAlignment: Text.AlignHCenter
        text: root.textValue
        Accessible.ignored: true
    }

    background: Rectangle {
        radius: 3
        color: root.hovered ? root.hoverColor : root.normalColor

        // Where the keyboard is: a ring around the button.
        Rectangle {
            anchors.fill: parent
            anchors.margins: -3
            radius: 5
            color: "transparent"
            border.width: 1
            border.color: Skin.colorOrange
            visible: root.activeFocus
        }
    }

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }
}
