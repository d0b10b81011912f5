pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A colour slider under the hue bar: a pointer up to the bar and a tag with
// its label. Dragged, or moved with the arrow keys (Page Up/Down by ten,
// Home and End to the bar's ends); where it goes is the page's to decide.
Item {
    id: slider

    required property string label
    required property string accessibleName
    required property int barX
    required property int barWidth
    // Read by assistive technology through the slider role.
    readonly property int value: slider.x + LightRules.sliderWidth / 2 - slider.barX - 1
    readonly property int minimumValue: -1
    readonly property int maximumValue: slider.barWidth - 2
    readonly property int stepSize: 1

    signal pressed
    // Asked to go to x; moveEnded: let go, or moved by key.
    signal slid(real x)
    signal moveEnded

    width: LightRules.sliderWidth
    height: 20
    activeFocusOnTab: true

    Accessible.role: Accessible.Slider
    Accessible.name: slider.accessibleName
    Accessible.focusable: true
    Keys.onPressed: event => {
        var moves = {}
        moves[Qt.Key_Left] = -1
        moves[Qt.Key_Down] = -1
        moves[Qt.Key_Right] = 1
        moves[Qt.Key_Up] = 1
        moves[Qt.Key_PageDown] = -10
        moves[Qt.Key_PageUp] = 10
        moves[Qt.Key_Home] = -slider.barWidth
        moves[Qt.Key_End] = slider.barWidth
        if (moves[event.key] === undefined)
            return
        slider.slid(slider.x + moves[event.key])
        slider.moveEnded()
        event.accepted = true
    }

    Rectangle {
        x: LightRules.sliderWidth / 2 - 1
        width: 2
        height: 5
        color: Skin.fontColor
    }
    Rectangle {
        y: 4
        width: LightRules.sliderWidth
        height: 16
        radius: 3
        color: Skin.colorGray1
        border.width: 1
        border.color: slider.activeFocus ? Skin.colorOrange : Skin.fontColor

        Text {
            anchors.centerIn: parent
            text: slider.label
            color: Skin.fontColor
            font.family: Skin.fontFamily
            font.pixelSize: Skin.fontMinSize
        }
    }

    // The slider follows the pointer's offset from where it was pressed.
    MouseArea {
        id: sliderArea
        property real sliderAtPress: 0
        property real pointerAtPress: 0

        anchors.fill: parent
        cursorShape: Qt.SizeHorCursor
        onPressed: mouse => {
            slider.pressed()
            sliderArea.sliderAtPress = slider.x
            sliderArea.pointerAtPress = sliderArea.mapToItem(null, mouse.x, 0).x
        }
        onPositionChanged: mouse => {
            var pointer = sliderArea.mapToItem(null, mouse.x, 0).x
            slider.slid(sliderArea.sliderAtPress + pointer - sliderArea.pointerAtPress)
        }
        onReleased: slider.moveEnded()
        onCanceled: slider.moveEnded()
    }
}
