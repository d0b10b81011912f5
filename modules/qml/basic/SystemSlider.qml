pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A speed slider of the system settings dialog: the 352-pixel slider with
// "Slow" under its left end and "Fast" under its right end. Its knob position
// at rest is xPosition, what the page stores; the page applies it on moved.
// The keys move the knob by the dialog's steps, not by pixels: an arrow to
// the next step's lowest position, Page Up/Down ten steps, Home and End to
// the ends. Assistive technology reads the step, 0..10. The control is the
// horizontal slider inside with this key table (the base slider's own moved()
// has no position, and the page's handler takes one).
Item {
    id: root

    property int xPosition: SystemRules.positionMin
    property var compareValue: SystemRules.bounds
    property string accessibleName: "Slider"
    property string slowText: "Slow"
    property string fastText: "Fast"

    // Read by assistive technology through the slider role.
    readonly property int value: SystemRules.stepOf(track.knobPosition, root.compareValue)
    readonly property int minimumValue: 0
    readonly property int maximumValue: SystemRules.stepMax
    readonly property int stepSize: 1
    readonly property real position: track.knobPosition

    // A press on the knob or the track, or a key that moves it.
    signal btnClick
    // The knob has come to rest at xPosition: released after a drag, at the
    // end of a click's move, or moved by a key.
    signal moved(int position)

    // Places the knob without a signal.
    function setPosition(position) {
        track.setValue(position)
        root.xPosition = position
    }

    function keyMove(count) {
        root.btnClick()
        root.setPosition(SystemRules.keyPosition(track.knobPosition, count, root.compareValue))
        root.moved(root.xPosition)
    }

    width: SystemRules.sliderWidth
    height: 36
    activeFocusOnTab: true

    Accessible.role: Accessible.Slider
    Accessible.name: root.accessibleName
    Accessible.focusable: true

    Keys.onPressed: event => {
        var moves = {}
        moves[Qt.Key_Left] = moves[Qt.Key_Down] = -1
        moves[Qt.Key_Right] = moves[Qt.Key_Up] = 1
        moves[Qt.Key_PageDown] = -10
        moves[Qt.Key_PageUp] = 10
        moves[Qt.Key_Home] = -SystemRules.stepMax
        moves[Qt.Key_End] = SystemRules.stepMax
        if (moves[event.key] === undefined)
            return
        root.keyMove(moves[event.key])
        event.accepted = true
    }

    // The keys are this item's: the inner slider would move by pixels. Its
    // knob shows this item's focus.
    SliderButton {
        id: track
        objectName: "track"
        y: 3
        width: root.width
        focusPolicy: Qt.NoFocus
        focusShown: root.activeFocus
        ringOutset: 2
        Accessible.ignored: true
        onBtnClick: root.btnClick()
        onValueChangeDelay: position => {
            root.xPosition = position
            root.moved(position)
        }
    }

    Label {
        objectName: "slowText"
        x: 0
        y: 16
        height: 20
        text: root.slowText
    }
    Label {
        objectName: "fastText"
        anchors.right: parent.right
        y: 16
        height: 20
        horizontalAlignment: Text.AlignRight
        text: root.fastText
    }
}
