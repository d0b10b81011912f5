pragma ComponentBehavior: Bound
import QtQuick

// A round mark with a dot while selected, followed by its text. A click selects
// it and then reports its index; unselecting the rest of a group is the page's
// task. Given a width narrower than its text, the text wraps onto more lines.
Item {
    id: root

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property int gapValue: 16

    // The skin's colours and font; a page may override them.
    property color colorGray3: Skin.colorGray3
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize

    signal btnClick(int index)

    function select() {
        root.isSelect = true
        root.btnClick(root.index)
    }

    implicitWidth: mark.width + root.gapValue + label.implicitWidth
    implicitHeight: Math.max(label.height, mark.height)
    activeFocusOnTab: true

    Accessible.role: Accessible.RadioButton
    Accessible.name: root.textValue
    Accessible.checkable: true
    Accessible.checked: root.isSelect
    Accessible.focusable: true
    Accessible.onPressAction: root.select()

    Keys.onSpacePressed: root.select()
    Keys.onReturnPressed: root.select()
    Keys.onEnterPressed: root.select()

    Rectangle {
        id: mark
        objectName: "mark"
        anchors.verticalCenter: parent.verticalCenter
        width: 10
        height: 10
        radius: 4
        color: root.colorGray3
        border.width: root.activeFocus ? 1 : 0
        border.color: root.colorOrange

        Rectangle {
            objectName: "dot"
            anchors.centerIn: parent
            width: 6
            height: 6
            radius: 3
            visible: root.isSelect
            color: root.colorOrange
        }
    }

    Text {
        id: label
        objectName: "label"
        anchors.left: mark.right
        anchors.leftMargin: root.gapValue
        anchors.verticalCenter: parent.verticalCenter
        width: Math.min(label.implicitWidth, root.width - mark.width - root.gapValue)
        wrapMode: Text.WordWrap
        text: root.textValue
        color: root.fontColor
        font.family: root.fontFamily
        font.pixelSize: root.fontNormalSize
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.select()
    }
}
