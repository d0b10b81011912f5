pragma ComponentBehavior: Bound
import QtQuick

// A field showing a value that drops down a strip with a slider below it. The
// page sets the text; the slider reports its knob position through
// valueChange.
DropField {
    id: root

    property color sliderBgColor: Skin.colorGray0
    property color sliderbarBg: Skin.colorGray1
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

    onIsDropChanged: {
        dropAnimation.to = root.isDrop ? 24 : 0
        dropAnimation.restart()
    }
    Component.onCompleted: strip.height = root.isDrop ? 24 : 0

    onClicked: root.fieldClicked()
    onKeyActivated: root.fieldClicked()

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
