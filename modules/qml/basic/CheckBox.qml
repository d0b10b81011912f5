pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// A text followed by a small box that shows a check mark while selected. A
// click (or Space, Return, Enter) reports the box's index first and then
// toggles it; the click area reaches 6 pixels beyond the control.
T.CheckBox {
    id: root

    property string textValue: ""
    property alias isSelect: root.checked
    property int index: -1
    property int gapValue: 8
    property color bgColor: "transparent"
    property color borderColor: Skin.colorGray2

    signal btnClick(int index)

    // The text takes the room left of the gap and the box.
    implicitWidth: root.implicitContentWidth + root.rightPadding
    implicitHeight: Math.max(root.implicitContentHeight, 12)
    padding: 0
    rightPadding: root.gapValue + 12
    // The signal goes out while isSelect still holds the old state.
    checkable: false
    focusPolicy: Qt.TabFocus
    text: root.textValue
    containmentMask: HitMargin {
        target: root
        margin: 6
    }

    Accessible.role: Accessible.CheckBox
    Accessible.name: root.textValue
    Accessible.checkable: true
    Accessible.checked: root.checked

    onClicked: {
        root.btnClick(root.index)
        root.checked = !root.checked
    }
    // The base reacts to Space; Return and Enter do the same.
    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()

    contentItem: Text {
        objectName: "label"
        verticalAlignment: Text.AlignVCenter
        text: root.textValue
        color: Skin.fontColor
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontNormalSize
    }

    indicator: Rectangle {
        objectName: "box"
        x: root.availableWidth + root.gapValue
        y: (root.height - 12) / 2
        width: 12
        height: 12
        radius: 2
        color: root.bgColor
        border.width: 1
        border.color: root.activeFocus ? Skin.colorOrange : root.borderColor

        Image {
            objectName: "check"
            anchors.centerIn: parent
            width: 12
            height: 12
            sourceSize.width: 12
            sourceSize.height: 12
            source: Skin.image("check")
            visible: root.checked
        }
    }
}
