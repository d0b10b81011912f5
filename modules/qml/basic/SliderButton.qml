pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import modules.qml

// A horizontal slider that reports the pixel position of its knob; each page
// maps that position to its own range. A click moves the knob there in a short
// animation, a drag follows the pointer, and with isScale the knob snaps to
// one of segment steps. The slider's value is the knob's position, in the
// knob's range, for assistive technology; the knob itself may sit one pixel
// beyond it (setRatioValue(1)).
T.Slider {
    id: root

    property int segment: 10
    property int segmentValue: 0
    property bool isScale: false

    // The track and its filled part; a page may override them.
    property color colorGray1: Skin.colorGray1
    property color colorS: Skin.colorOrange
    property string accessibleName: "Slider"
    // The ring around the knob while the slider has the focus.
    property bool focusShown: root.activeFocus
    property int ringOutset: 0

    readonly property int knobWidth: 12
    // The knob's position, what the signals carry; the operations below
    // place it.
    property real knobPosition: SliderMath.knobMin(root.knobWidth)
    readonly property real minimumValue: root.from
    readonly property real maximumValue: root.to

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal btnClick
    signal dragSignal(bool isDrag)

    function setRatioValue(ratio) {
        moveAnimation.stop()
        root.knobPosition = SliderMath.ratioPosition(root.width, root.knobWidth, ratio)
        root.valueChange(root.knobPosition)
    }

    function setIndexValue(index, isSendSignal) {
        moveAnimation.stop()
        root.knobPosition = SliderMath.stepPosition(root.width, root.knobWidth, root.segment, index)
        root.segmentValue = index
        if (isSendSignal)
            root.valueChange(root.knobPosition)
    }

    function setValue(position) {
        moveAnimation.stop()
        root.knobPosition = position
    }

    // A key press acts as a click that lands the knob at once: by steps with
    // isScale, by pixels without.
    function keyMove(count) {
        moveAnimation.stop()
        root.btnClick()
        var target = SliderMath.keyTarget(root.knobPosition, root.segmentValue, root.width, root.knobWidth, root.segment,
                                          root.isScale, count)
        root.knobPosition = target.position
        if (root.isScale)
            root.segmentValue = target.index
        root.valueChange(root.knobPosition)
        root.valueChangeDelay(root.knobPosition)
    }

    width: 100
    height: 6
    padding: 0
    from: SliderMath.knobMin(root.knobWidth)
    to: SliderMath.knobMax(root.width, root.knobWidth)
    value: root.knobPosition
    stepSize: root.isScale ? SliderMath.stepWidth(root.width, root.knobWidth, root.segment) : 1
    focusPolicy: Qt.TabFocus

    Accessible.role: Accessible.Slider
    Accessible.name: root.accessibleName

    // The keys move the knob by the page's steps and reach the ends; the
    // value is the knob's, so no key reaches the base's own handling.
    Keys.onPressed: event => {
        var page = SliderMath.pageSize(root.segment, root.isScale)
        var moves = {}
        moves[Qt.Key_Left] = moves[Qt.Key_Down] = -1
        moves[Qt.Key_Right] = moves[Qt.Key_Up] = 1
        moves[Qt.Key_PageDown] = -page
        moves[Qt.Key_PageUp] = page
        moves[Qt.Key_Home] = -100000
        moves[Qt.Key_End] = 100000
        if (moves[event.key] === undefined)
            return
        root.keyMove(moves[event.key])
        event.accepted = true
    }

    background: Rectangle {
        radius: 3
        color: root.colorGray1

        Rectangle {
            width: root.knobPosition + root.knobWidth / 2
            height: parent.height
            radius: 3
            color: root.colorS
        }
    }

    handle: SliderKnob {
        x: root.knobPosition
        y: -3
        focusShown: root.focusShown
        ringOutset: root.ringOutset
    }

    // The track's click area reaches 3 pixels beyond it on every side. It is
    // the slider's child, not the background's: the background sits below the
    // slider, which would take the presses first.
    MouseArea {
        id: trackArea
        anchors.fill: parent
        anchors.margins: -3
        onClicked: mouse => {
            root.btnClick()
            var target = SliderMath.clickTarget(mouse.x + trackArea.x, root.width, root.knobWidth, root.segment,
                                                root.isScale)
            if (root.isScale)
                root.segmentValue = target.index
            moveAnimation.stop()
            moveAnimation.to = target.position
            moveAnimation.start()
        }
    }

    // The knob's drag area, 2 pixels beyond it on every side.
    MouseArea {
        id: knobArea
        property real knobAtPress: 0
        property real pointerAtPress: 0
        property bool dragging: false

        function finish() {
            if (!knobArea.dragging)
                return
            knobArea.dragging = false
            if (root.isScale) {
                var snapped = SliderMath.releaseSnap(root.knobPosition, root.width, root.knobWidth, root.segment)
                root.knobPosition = snapped.position
                root.segmentValue = snapped.index
            }
            root.valueChangeDelay(root.knobPosition)
            root.dragSignal(false)
        }

        x: root.knobPosition - 2
        y: -5
        z: 1
        width: root.knobWidth + 4
        height: root.knobWidth + 4
        onPressed: mouse => {
            moveAnimation.stop()
            knobArea.knobAtPress = root.knobPosition
            knobArea.pointerAtPress = knobArea.mapToItem(root, mouse.x, 0).x
            knobArea.dragging = true
            root.btnClick()
            root.dragSignal(true)
        }
        onPositionChanged: mouse => {
            var pointer = knobArea.mapToItem(root, mouse.x, 0).x
            root.knobPosition = SliderMath.dragPosition(knobArea.knobAtPress, knobArea.pointerAtPress, pointer,
                                                        root.width, root.knobWidth)
            if (!root.isScale)
                root.valueChange(root.knobPosition)
        }
        onReleased: knobArea.finish()
        // A drag taken away (another item grabbing the pointer) still ends as
        // a release, so the page never stays in its dragging state.
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
