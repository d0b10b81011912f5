pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// The closed field of the drop-downs: the value's text (shifted by
// horizontalOffset), the drop arrow 8 pixels from the right end (turned over
// while open) and a ring in the accent colour while the keyboard is on it. A
// click or Space gives clicked; Return and Enter give keyActivated. The
// drop-down below it is the control's own child.
T.AbstractButton {
    id: root

    property bool isDrop: false
    property string textValue: ""
    property int horizontalOffset: 0
    property color borderColor: Skin.colorGray1
    property color bgColor: Skin.colorGray0

    signal keyActivated

    width: 110
    height: 24
    padding: 0
    focusPolicy: Qt.TabFocus
    text: root.textValue

    // Assistive technology meets the field as a combo box. The button takes
    // its own role back when accessibility starts, so what it hears is a
    // child that covers the button, which itself is left out.
    Accessible.role: Accessible.ComboBox
    Accessible.name: root.textValue
    Accessible.ignored: true

    Keys.onReturnPressed: root.keyActivated()
    Keys.onEnterPressed: root.keyActivated()

    Item {
        anchors.fill: parent
        Accessible.role: Accessible.ComboBox
        Accessible.name: root.textValue
        Accessible.focusable: true
        Accessible.focused: root.activeFocus
        Accessible.onPressAction: root.clicked()
    }

    background: Rectangle {
        objectName: "field"
        color: root.bgColor
        border.width: 1
        border.color: root.activeFocus ? Skin.colorOrange : root.borderColor
    }

    contentItem: Item {
        Text {
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: root.horizontalOffset
            text: root.textValue
            color: Skin.fontColor
            font.family: Skin.fontFamily
            font.pixelSize: Skin.fontNormalSize
        }

        Image {
            objectName: "arrow"
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            rotation: root.isDrop ? 180 : 0
            width: 8
            height: 5
            sourceSize.width: 8
            sourceSize.height: 5
            source: Skin.image("drop")
        }
    }
}
