pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import modules.qml

// An entry of the editor box and the question-mark menu: a text that turns
// orange under the pointer or with the focus. Space, Return and Enter press
// it.
T.AbstractButton {
    id: entry

    property string textValue: ""
    property int textMargin: 8
    // What the text needs with its margins.
    readonly property real textWidth: entry.implicitContentWidth + 2 * entry.textMargin
    property color color: entry.hovered || entry.activeFocus ? Skin.colorOrange : "transparent"

    width: 216
    height: 24
    leftPadding: entry.textMargin
    rightPadding: entry.textMargin
    focusPolicy: Qt.TabFocus
    hoverEnabled: true
    text: entry.textValue

    Accessible.name: entry.textValue
    Keys.onReturnPressed: entry.clicked()
    Keys.onEnterPressed: entry.clicked()

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }

    background: Rectangle {
        radius: 2
        color: entry.color
    }
    contentItem: Label {
        text: entry.textValue
        Accessible.ignored: true
    }
}
