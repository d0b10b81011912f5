pragma ComponentBehavior: Bound
import QtQuick

// A field showing a value that drops down a strip with a slider below it. The
// page sets the text; the slider reports its knob position through
// valueChange.
Item {
    id: root

    property bool isDrop: false
    property string textValue: ""
    property int horizontalOffset: 0

    // The skin's colours and font; a page may override them.
    property color colorGray0: Skin.colorGray0
    property color colorGray1: Skin.colorGray1
    property color colorGray3: Skin.colorGray3
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize

    property color borderColor: root.colorGray1
    property color bgColor: root.colorGray0
    property color sliderBgColor: root.colorGray0
    property color sliderbarBg: root.colorGray1
    property alias sliderControl: slider

    signal btnClick
    signal dragSignal(bool isDrag)
    signal valueChange(int index)

    function setValue(ratio) {
        slider.setRatioValue(ratio)
    }

    function closeMenu() {
        root.isDrop = false
    }

    // A click while the strip opens or closes is ignored; the signal goes out
    // on every click.
    function fieldClicked() {
        root.btnClick()
        if (!dropAnimation.running)
            root.isDrop = !root.isDrop
    }

    width: 110
    height: 24

    onIsDropChanged: {
        dropAnimation.to = root.isDrop ? 24 : 0
        dropAnimation.restart()
    }
    Component.onCompleted: strip.height = root.isDrop ? 24 : 0

    Rectangle {
        id: field
        objectName: "field"
        anchors.fill: parent
        color: root.bgColor
        border.width: 1
        border.color: root.activeFocus ? root.colorOrange : root.borderColor

        Text {
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: root.horizontalOffset
            text: root.textValue
            color: root.fontColor
            font.family: root.fontFamily
            font.pixelSize: root.fontNormalSize
        }

        // The drop arrow, turned over (pointing up) while open.
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

        MouseArea {
            anchors.fill: parent
            onClicked: root.fieldClicked()
        }
    }

    activeFocusOnTab: true
    Accessible.role: Accessible.ComboBox
    Accessible.name: root.textValue
    Accessible.focusable: true
    Accessible.onPressAction: root.fieldClicked()
    Keys.onSpacePressed: root.fieldClicked()
    Keys.onReturnPressed: root.fieldClicked()
    Keys.onEnterPressed: root.fieldClicked()

    Rectangle {
        id: strip
        objectName: "strip"
        y: root.height
        width: root.width
        height: 0
        visible: strip.height > 0
        clip: true
        color: root.sliderBgColor

        SliderButton {
            id: slider
            anchors.horizontalCenter: parent.horizontalCenter
            y: 9
            width: root.width - 16
            colorGray1: root.sliderbarBg
            colorOrange: root.colorOrange
            accessibleName: root.textValue
            onValueChange: tmpValue => root.valueChange(tmpValue)
            onDragSignal: isDrag => root.dragSignal(isDrag)
        }
    }

    NumberAnimation {
        id: dropAnimation
        target: strip
        property: "height"
        duration: 180
        easing.type: Easing.OutQuad
    }
}
