pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import modules.qml

// A vertical slider for one DPI stage. Like the horizontal slider it reports
// the pixel position of its knob, counted here from the bottom end up: 3 to
// length - 15 (161 for the 176-pixel stage sliders). A click moves the knob
// there in a short animation and a drag follows the pointer; valueChange goes
// out while the knob moves and valueChangeDelay when it comes to rest. The
// arrow keys and Page Up/Down ask the page for whole steps of its value
// (stepRequested), which are no whole number of pixels. The slider's value,
// range and step are the page's (DPI), for assistive technology.
T.Slider {
    id: root

    // The mouse's active stage is drawn orange, the others blue.
    property bool active: false
    property string accessibleName: "Slider"
    property real minimumValue: 0
    property real maximumValue: 0

    readonly property int knobWidth: 12
    // The knob's height over the bottom end, what the signals carry.
    property real knobPosition: SliderMath.knobMin(root.knobWidth)

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal stepRequested(int count)
    signal btnClick

    // Places the knob without any signal; the page keeps its value.
    function setValue(position) {
        moveAnimation.stop()
        root.knobPosition = position
    }

    width: 16
    height: 176
    padding: 0
    orientation: Qt.Vertical
    from: root.minimumValue
    to: root.maximumValue
    focusPolicy: Qt.StrongFocus

    Accessible.role: Accessible.Slider
    Accessible.name: root.accessibleName

    // The page owns the value: every key that would move it asks the page.
    Keys.onPressed: event => {
        var moves = {}
        moves[Qt.Key_Down] = moves[Qt.Key_Left] = -1
        moves[Qt.Key_Up] = moves[Qt.Key_Right] = 1
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

    background: Item {
        Rectangle {
            x: (root.width - 6) / 2
            width: 6
            height: root.height
            radius: 3
            color: Skin.colorGray1

            // The filled part runs from the bottom to the knob's middle.
            Rectangle {
                objectName: "fill"
                y: root.height - height
                width: 6
                height: Math.min(root.height, root.knobPosition + root.knobWidth / 2)
                radius: 3
                color: root.active ? Skin.colorOrange : Skin.colorBlue
            }
        }
    }

    // The track's click area reaches 3 pixels beyond it on every side. It is
    // the slider's child, not the background's: the background sits below the
    // slider, which would take the presses first. The distance from the
    // bottom is what counts.
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

    handle: SliderKnob {
        objectName: "knob"
        x: (root.width - root.knobWidth) / 2
        y: root.height - root.knobWidth - root.knobPosition
        focusShown: root.activeFocus
    }

    // The knob's drag area, 2 pixels beyond it on every side.
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
            root.valueChangeDelay(root.knobPosition)
        }

        x: (root.width - root.knobWidth) / 2 - 2
        y: root.height - root.knobWidth - root.knobPosition - 2
        z: 1
        width: root.knobWidth + 4
        height: root.knobWidth + 4
        onPressed: mouse => {
            moveAnimation.stop()
            root.forceActiveFocus()
            knobArea.knobAtPress = root.knobPosition
            knobArea.pointerAtPress = knobArea.pointerOf(mouse)
            knobArea.dragging = true
            root.btnClick()
        }
        onPositionChanged: mouse => {
            root.knobPosition = SliderMath.dragPosition(knobArea.knobAtPress, knobArea.pointerAtPress,
                                                    knobArea.pointerOf(mouse), root.height, root.knobWidth)
            root.valueChange(root.knobPosition)
        }
        onReleased: knobArea.finish()
        // A drag taken away (another item grabbing the pointer) still ends
        // as a release, so the page never misses the end of a move.
        onCanceled: knobArea.finish()
    }

    NumberAnimation {
        id: moveAnimation
        target: root
        property: "knobPosition"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            root.valueChange(root.knobPosition)
            root.valueChangeDelay(root.knobPosition)
        }
    }
}
