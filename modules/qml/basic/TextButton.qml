pragma ComponentBehavior: Bound
import QtQuick

// A button with a centred text: the bottom bar's Config, Reset and Save, the
// dialogs' OK and Cancel. Blue, orange under the pointer; a page may set
// another colour (Save turns red while something is unsaved).
Rectangle {
    id: root

    property string textValue: ""
    property color normalColor: Skin.colorBlue
    property color hoverColor: Skin.colorOrange
    readonly property bool hovered: area.containsMouse
    // The width the text needs; a page sizes the button from it.
    readonly property real textWidth: label.implicitWidth

    signal clicked

    width: 100
    height: 24
    radius: 3
    color: root.hovered ? root.hoverColor : root.normalColor
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: root.textValue
    Accessible.focusable: true
    Accessible.onPressAction: root.clicked()

    Keys.onSpacePressed: root.clicked()
    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()

    Label {
        id: label
        anchors.centerIn: parent
        width: Math.min(implicitWidth, root.width - 8)
        horizontalAlignment: Text.AlignHCenter
        text: root.textValue
        Accessible.ignored: true
    }

    // Where the keyboard is: a ring around the button.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -3
        radius: root.radius + 2
        color: "transparent"
        border.width: 1
        border.color: Skin.colorOrange
        visible: root.activeFocus
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }
}
