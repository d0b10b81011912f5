pragma ComponentBehavior: Bound
import QtQuick

// A text followed by a small box that shows a check mark while selected. A
// click reports the box's index first and then toggles it.
Item {
    id: root

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property int gapValue: 8
    property color bgColor: "transparent"
    property color borderColor: root.colorGray2

    // The skin's colours and font; a page may override them.
    property color colorGray2: Skin.colorGray2
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize

    signal btnClick(int index)

    function toggle() {
        root.btnClick(root.index)
        root.isSelect = !root.isSelect
    }

    implicitWidth: label.implicitWidth + root.gapValue + box.width
    implicitHeight: Math.max(label.implicitHeight, box.height)
    activeFocusOnTab: true

    Accessible.role: Accessible.CheckBox
    Accessible.name: root.textValue
    Accessible.checkable: true
    Accessible.checked: root.isSelect
    Accessible.focusable: true
    Accessible.onPressAction: root.toggle()
    Accessible.onToggleAction: root.toggle()

    Keys.onSpacePressed: root.toggle()
    Keys.onReturnPressed: root.toggle()
    Keys.onEnterPressed: root.toggle()

    Text {
        id: label
        objectName: "label"
        anchors.verticalCenter: parent.verticalCenter
        text: root.textValue
        color: root.fontColor
        font.family: root.fontFamily
        font.pixelSize: root.fontNormalSize
    }

    Rectangle {
        id: box
        objectName: "box"
        anchors.left: label.right
        anchors.leftMargin: root.gapValue
        anchors.verticalCenter: parent.verticalCenter
        width: 12
        height: 12
        radius: 2
        color: root.bgColor
        border.width: 1
        border.color: root.activeFocus ? root.colorOrange : root.borderColor

        Image {
            objectName: "check"
            anchors.centerIn: parent
            width: 12
            height: 12
            sourceSize.width: 12
            sourceSize.height: 12
            source: Skin.image("check")
            visible: root.isSelect
        }
    }

    // The click area reaches 6 pixels beyond the control.
    MouseArea {
        anchors.fill: parent
        anchors.margins: -6
        onClicked: root.toggle()
    }
}
