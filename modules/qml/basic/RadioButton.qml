pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// A round mark with a dot while selected, followed by its text. A click (or
// Space, Return, Enter) selects it and then reports its index; unselecting
// the rest of a group is the page's task. Given a width narrower than its
// text, the text wraps onto more lines.
T.RadioButton {
    id: root

    property string textValue: ""
    property alias isSelect: root.checked
    property int index: -1
    property int gapValue: 16

    signal btnClick(int index)

    function select() {
        root.checked = true
        root.btnClick(root.index)
    }

    implicitWidth: root.leftPadding + root.implicitContentWidth
    implicitHeight: Math.max(root.implicitContentHeight, 10)
    padding: 0
    leftPadding: 10 + root.gapValue
    // A click selects, never unselects: the page unselects the others.
    checkable: false
    autoExclusive: false
    focusPolicy: Qt.TabFocus
    text: root.textValue

    Accessible.role: Accessible.RadioButton
    Accessible.name: root.textValue
    Accessible.checkable: true
    Accessible.checked: root.checked

    onClicked: root.select()
    // The base reacts to Space; Return and Enter do the same.
    Keys.onReturnPressed: root.select()
    Keys.onEnterPressed: root.select()

    indicator: Rectangle {
        objectName: "mark"
        y: (root.height - 10) / 2
        width: 10
        height: 10
        radius: 4
        color: Skin.colorGray3
        border.width: root.activeFocus ? 1 : 0
        border.color: Skin.colorOrange

        Rectangle {
            objectName: "dot"
            anchors.centerIn: parent
            width: 6
            height: 6
            radius: 3
            visible: root.checked
            color: Skin.colorOrange
        }
    }

    // Sized by the control: the room right of the mark and the gap.
    contentItem: Text {
        objectName: "label"
        verticalAlignment: Text.AlignVCenter
        wrapMode: Text.WordWrap
        text: root.textValue
        color: Skin.fontColor
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontNormalSize
    }
}
