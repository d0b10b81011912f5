pragma ComponentBehavior: Bound
import QtQuick

// The sliders' knob: the skin's 12-pixel slide image, with a white ring
// while its slider has the keyboard focus (inside the knob's edge, or
// ringOutset pixels beyond it).
Item {
    id: knob

    property bool focusShown: false
    property int ringOutset: 0

    width: 12
    height: 12

    Image {
        anchors.fill: parent
        sourceSize.width: knob.width
        sourceSize.height: knob.height
        source: Skin.image("slide")
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: -knob.ringOutset
        radius: width / 2
        color: "transparent"
        border.width: 2
        border.color: Skin.fontColor
        visible: knob.focusShown
    }
}
