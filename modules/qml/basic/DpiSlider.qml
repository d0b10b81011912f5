pragma ComponentBehavior: Bound
import QtQuick
import "SliderMath.js" as SliderMath

// A vertical slider for one DPI stage. Like the horizontal slider it reports
// the pixel position of its knob, counted here from the bottom end up: 3 to
// length - 15 (161 for the 176-pixel stage sliders). A click moves the knob
// there in a short animation and a drag follows the pointer; valueChange goes
// out while the knob moves and valueChangeDelay when it comes to rest. The
// arrow keys and Page Up/Down ask the page for whole steps of its value
// (stepRequested), which are no whole number of pixels.
Item {
    id: root

    // The mouse's active stage is drawn orange, the others blue.
    property bool active: false
    property string accessibleName: "Slider"
    // Read by assistive technology through the slider role: the page's value
    // and range (DPI), not pixels.
    property real value: 0
    property real minimumValue: 0
    property real maximumValue: 0
    property real stepSize: 1

    // The skin's colours; a page may override them.
    property color colorGray1: Skin.colorGray1
    property color colorBlue: Skin.colorBlue
    property color colorOrange: Skin.colorOrange

    readonly property int knobWidth: 12
    readonly property real position: knob.position

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal stepRequested(int count)
    signal btnClick

    // Places the knob without any signal; the page keeps its value.
    function setValue(position) {
        moveAnimation.stop()
        knob.position = position
    }

    width: 16
    height: 176
    activeFocusOnTab: true

    Accessible.role: Accessible.Slider
    Accessible.name: root.accessibleName
    Accessible.focusable: true
    Accessible.onIncreaseAction: root.stepRequested(1)
    Accessible.onDecreaseAction: root.stepRequested(-1)

    Keys.onPressed: event => {
        var moves = {}
        moves[Qt.Key_Down] = -1
        moves[Qt.Key_Left] = -1
        moves[Qt.Key_Up] = 1
        moves[Qt.Key_Right] = 1
        moves[Qt.Key_PageDown] = -10
        moves[Qt.Key_PageUp] = 10
        moves[Qt.Key_Home] = -100000
        moves[Qt.Key_End] = 100000
        if (moves[event.key] === undefined)
            return
        moveAnimation.stop()
        root.stepRequested(moves[event.key])
        event.accepted = true
    }

    Rectangle {
        id: track
        x: (root.width - track.width) / 2
        width: 6
        height: root.height
        radius: 3
        color: root.colorGray1

        // The filled part runs from the bottom to the knob's middle.
        Rectangle {
            objectName: "fill"
            y: track.height - height
            width: track.width
            height: Math.min(track.height, knob.position + root.knobWidth / 2)
            radius: track.radius
            color: root.active ? root.colorOrange : root.colorBlue
        }
    }

    // The track's click area reaches 3 pixels beyond it on every side; the
    // distance from the bottom is what counts.
    MouseArea {
        id: trackArea
        anchors.fill: parent
        anchors.margins: -3
        onPressed: root.forceActiveFocus()
        onClicked: mouse => {
            root.btnClick()
            var fromBottom = root.height - (mouse.y + trackArea.y)
            var target = SliderMath.clickTarget(fromBottom, root.height, root.knobWidth, 1, false)
            moveAnimation.stop()
            moveAnimation.to = target.position
            moveAnimation.start()
        }
    }

    NumberAnimation {
        id: moveAnimation
        target: knob
        property: "position"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            root.valueChange(knob.position)
            root.valueChangeDelay(knob.position)
        }
    }

    Rectangle {
        id: knob
        objectName: "knob"

        property real position: SliderMath.knobMin(root.knobWidth)

        x: (root.width - root.knobWidth) / 2
        y: root.height - root.knobWidth - knob.position
        width: root.knobWidth
        height: root.knobWidth
        radius: root.knobWidth / 2
        // The knob is the skin's image; a white ring around it shows the focus.
        color: "transparent"
        border.width: root.activeFocus ? 2 : 0
        border.color: "#ffffff"

        Image {
            anchors.fill: parent
            sourceSize.width: root.knobWidth
            sourceSize.height: root.knobWidth
            source: Skin.image("slide")
            z: -1
        }

        MouseArea {
            id: knobArea
            property real knobAtPress: 0
            property real pointerAtPress: 0
            property bool dragging: false

            // The pointer's height over the slider's bottom end.
            function pointerOf(mouse) {
                return root.height - knobArea.mapToItem(root, 0, mouse.y).y
            }
            function finish() {
                if (!knobArea.dragging)
                    return
                knobArea.dragging = false
                root.valueChangeDelay(knob.position)
            }

            anchors.fill: parent
            anchors.margins: -2
            onPressed: mouse => {
                moveAnimation.stop()
                root.forceActiveFocus()
                knobArea.knobAtPress = knob.position
                knobArea.pointerAtPress = knobArea.pointerOf(mouse)
                knobArea.dragging = true
                root.btnClick()
            }
            onPositionChanged: mouse => {
                knob.position = SliderMath.dragPosition(knobArea.knobAtPress, knobArea.pointerAtPress,
                                                        knobArea.pointerOf(mouse), root.height, root.knobWidth)
                root.valueChange(knob.position)
            }
            onReleased: knobArea.finish()
            // A drag taken away (another item grabbing the pointer) still ends
            // as a release, so the page never misses the end of a move.
            onCanceled: knobArea.finish()
        }
    }
}
