pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A box that waits for a key after a click, with an orange border while it
// waits. While waiting it takes every key itself: the key is the input, not a
// command to the dialog. A click gives it the keyboard focus.
Rectangle {
    id: box

    property string text: ""
    property bool waiting: false
    readonly property real textWidth: boxLabel.implicitWidth

    signal clicked

    function activate() {
        box.forceActiveFocus()
        box.clicked()
    }

    height: 24
    color: Skin.colorGray0
    border.width: 1
    border.color: box.waiting || box.activeFocus ? Skin.colorOrange : Skin.colorGray1
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: box.text
    Accessible.focusable: true
    Accessible.onPressAction: box.activate()
    Keys.onPressed: event => {
        if (box.waiting) {
            event.accepted = true
        } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            event.accepted = true
            box.activate()
        }
    }

    Label {
        id: boxLabel
        anchors.fill: parent
        anchors.margins: 4
        horizontalAlignment: Text.AlignHCenter
        text: box.text
        Accessible.ignored: true
    }
    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: box.activate()
    }
}
