pragma ComponentBehavior: Bound
import QtQuick
import "SliderMath.js" as SliderMath

// A horizontal slider that reports the pixel position of its knob; each page
// maps that position to its own range. A click moves the knob there in a short
// animation, a drag follows the pointer, and with isScale the knob snaps to
// one of segment steps.
Rectangle {
    id: root

    property int segment: 10
    property int segmentValue: 0
    property bool isScale: false

    // The skin's colours; a page may override them.
    property color colorGray1: Skin.colorGray1
    property color colorGray3: Skin.colorGray3
    property color colorOrange: Skin.colorOrange
    property color colorS: root.colorOrange
    property string accessibleName: "Slider"

    readonly property int knobWidth: 12
    readonly property real position: knob.x
    // Read by assistive technology through the slider role.
    readonly property real value: knob.x
    readonly property real minimumValue: SliderMath.knobMin(root.knobWidth)
    readonly property real maximumValue: SliderMath.knobMax(root.width, root.knobWidth)
    readonly property real stepSize: root.isScale ? SliderMath.stepWidth(root.width, root.knobWidth, root.segment) : 1

    signal valueChange(int tmpValue)
    signal valueChangeDelay(int tmpValue)
    signal btnClick
    signal dragSignal(bool isDrag)

    function setRatioValue(ratio) {
        moveAnimation.stop()
        knob.x = SliderMath.ratioPosition(root.width, root.knobWidth, ratio)
        root.valueChange(knob.x)
    }

    function setIndexValue(index, isSendSignal) {
        moveAnimation.stop()
        knob.x = SliderMath.stepPosition(root.width, root.knobWidth, root.segment, index)
        root.segmentValue = index
        if (isSendSignal)
            root.valueChange(knob.x)
    }

    function setValue(position) {
        moveAnimation.stop()
        knob.x = position
    }

    // A key press acts as a click that lands the knob at once: by steps with
    // isScale, by pixels without.
    function keyMove(count) {
        moveAnimation.stop()
        root.btnClick()
        var target = SliderMath.keyTarget(knob.x, root.segmentValue, root.width, root.knobWidth, root.segment,
                                          root.isScale, count)
        knob.x = target.position
        if (root.isScale)
            root.segmentValue = target.index
        root.valueChange(knob.x)
        root.valueChangeDelay(knob.x)
    }

    width: 100
    height: 6
    radius: 3
    color: root.colorGray1
    activeFocusOnTab: true

    Accessible.role: Accessible.Slider
    Accessible.name: root.accessibleName
    Accessible.focusable: true

    Keys.onPressed: event => {
        var page = SliderMath.pageSize(root.segment, root.isScale)
        var moves = {}
        moves[Qt.Key_Left] = -1
        moves[Qt.Key_Down] = -1
        moves[Qt.Key_Right] = 1
        moves[Qt.Key_Up] = 1
        moves[Qt.Key_PageDown] = -page
        moves[Qt.Key_PageUp] = page
        moves[Qt.Key_Home] = -100000
        moves[Qt.Key_End] = 100000
        if (moves[event.key] === undefined)
            return
        root.keyMove(moves[event.key])
        event.accepted = true
    }

    Rectangle {
        id: fill
        width: knob.x + root.knobWidth / 2
        height: root.height
        radius: root.radius
        color: root.colorS
    }

    // The track's click area reaches 3 pixels beyond it on every side.
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

    NumberAnimation {
        id: moveAnimation
        target: knob
        property: "x"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            root.valueChange(knob.x)
            root.valueChangeDelay(knob.x)
        }
    }

    Rectangle {
        id: knob
        x: SliderMath.knobMin(root.knobWidth)
        y: -3
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

            function finish() {
                if (!knobArea.dragging)
                    return
                knobArea.dragging = false
                if (root.isScale) {
                    var snapped = SliderMath.releaseSnap(knob.x, root.width, root.knobWidth, root.segment)
                    knob.x = snapped.position
                    root.segmentValue = snapped.index
                }
                root.valueChangeDelay(knob.x)
                root.dragSignal(false)
            }

            anchors.fill: parent
            anchors.margins: -2
            onPressed: mouse => {
                moveAnimation.stop()
                knobArea.knobAtPress = knob.x
                knobArea.pointerAtPress = knobArea.mapToItem(root, mouse.x, 0).x
                knobArea.dragging = true
                root.btnClick()
                root.dragSignal(true)
            }
            onPositionChanged: mouse => {
                var pointer = knobArea.mapToItem(root, mouse.x, 0).x
                knob.x = SliderMath.dragPosition(knobArea.knobAtPress, knobArea.pointerAtPress, pointer, root.width,
                                                 root.knobWidth)
                if (!root.isScale)
                    root.valueChange(knob.x)
            }
            onReleased: knobArea.finish()
            // A drag taken away (another item grabbing the pointer) still ends as
            // a release, so the page never stays in its dragging state.
            onCanceled: knobArea.finish()
        }
    }
}
