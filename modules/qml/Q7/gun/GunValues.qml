pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The gun editor's right column for the shown preset: the compensation as
// the red dot on the target and as the Y field (X is shown, never edited),
// then the fire period on a drop-down slider and the shot count with its
// "Endness" box. It shows what the page gives it and reports each value the
// user settles on. Placed over the whole dialog, its controls at the
// dialog's coordinates.
Item {
    id: part

    required property list<string> texts

    // A press on the target or the dot: the page ends its other edits.
    signal fieldsLeft
    signal yChosen(int y)
    signal timesChosen(int times)
    // The rate field's text once a move of its slider ends.
    signal rateChosen(string text)

    // A preset's stored values, as texts.
    function show(gunY, gunPeriod, gunTimes) {
        part.showY(GunRules.clampY(gunY))
        rateSlider.textValue = GunRules.rateText(GunRules.integer(gunPeriod, 10))
        rateSlider.sliderControl.setValue(GunRules.ratePosition(gunPeriod))
        part.showTimes(GunRules.clampTimes(gunTimes))
    }

    function showY(y) {
        yInput.textValue = String(y)
        dot.y = GunRules.dotOf(y)
    }

    function showTimes(times) {
        timesInput.textValue = String(times)
        endness.isSelect = GunRules.isEndless(times)
    }

    function endEdits() {
        rateSlider.closeMenu()
        yInput.closeFocus()
        timesInput.closeFocus()
    }

    // The box mirrors Times. Ticking it makes the preset endless; unticking
    // an endless preset asks for a count: the box stays ticked and the Times
    // field takes the focus.
    function endnessToggled() {
        var endless = GunRules.isEndless(timesInput.textValue)
        if (endness.isSelect && !endless) {
            part.timesChosen(0)
        } else if (!endness.isSelect && endless) {
            endness.isSelect = true
            timesInput.txtInput.forceActiveFocus()
            timesInput.txtInput.selectAll()
        }
    }

    width: 640
    height: 448

    // The compensation: the red dot on the target, and the Y field.
    Label {
        x: 264
        y: 48
        width: 200
        height: 24
        text: part.texts[3]
    }

    // The dot's run (y 89..183 in this dialog) is the target's vertical line.
    Image {
        id: target
        objectName: "target"
        x: 276
        y: 80
        width: 120
        height: 116
        sourceSize.width: 120
        sourceSize.height: 116
        source: Skin.image("target")

        // A click on the target puts the dot's middle there.
        MouseArea {
            anchors.fill: parent
            onClicked: mouse => {
                part.fieldsLeft()
                part.yChosen(GunRules.yOfDot(target.y + mouse.y - dot.height / 2))
            }
        }
    }

    // The red dot: dragged up and down, or moved with the arrow keys (Page
    // Up/Down by eight, Home and End to the ends).
    Rectangle {
        id: dot
        objectName: "dot"

        // Read by assistive technology through the slider role.
        readonly property int value: GunRules.yOfDot(dot.y)
        readonly property int minimumValue: 0
        readonly property int maximumValue: GunRules.yMax
        readonly property int stepSize: 1

        x: target.x + target.width / 2 - dot.width / 2
        y: GunRules.dotTop
        width: 12
        height: 12
        radius: 6
        color: "#e01818"
        border.width: dot.activeFocus ? 2 : 1
        border.color: dot.activeFocus ? Skin.fontColor : "#600000"
        activeFocusOnTab: true

        Accessible.role: Accessible.Slider
        Accessible.name: part.texts[5]
        Accessible.focusable: true

        Keys.onPressed: event => {
            var moves = {}
            moves[Qt.Key_Up] = -1
            moves[Qt.Key_Left] = -1
            moves[Qt.Key_Down] = 1
            moves[Qt.Key_Right] = 1
            moves[Qt.Key_PageUp] = -8
            moves[Qt.Key_PageDown] = 8
            moves[Qt.Key_Home] = -GunRules.yMax
            moves[Qt.Key_End] = GunRules.yMax
            if (moves[event.key] === undefined)
                return
            part.yChosen(dot.value + moves[event.key])
            event.accepted = true
        }

        // A drag moves the dot by the pointer's offset from the press, within
        // its run; the Y field follows, and the release stores the value.
        MouseArea {
            id: dotArea
            property real dotAtPress: 0
            property real pointerAtPress: 0

            anchors.fill: parent
            anchors.margins: -4
            cursorShape: Qt.SizeVerCursor
            onPressed: mouse => {
                part.fieldsLeft()
                dotArea.dotAtPress = dot.y
                dotArea.pointerAtPress = dotArea.mapToItem(part, 0, mouse.y).y
            }
            onPositionChanged: mouse => {
                var pointer = dotArea.mapToItem(part, 0, mouse.y).y
                dot.y = Math.max(GunRules.dotTop, Math.min(GunRules.dotBottom, dotArea.dotAtPress + pointer
                                                           - dotArea.pointerAtPress))
                yInput.textValue = String(dot.value)
            }
            onReleased: part.yChosen(dot.value)
            onCanceled: part.yChosen(dot.value)
        }
    }

    component FieldBox: Rectangle {
        width: 50
        height: 22
        color: "transparent"
        border.width: 1
        border.color: Skin.colorGray1
    }

    Label {
        x: 424
        y: 96
        width: 88
        height: 24
        text: part.texts[4]
    }
    FieldBox {
        x: 519
        y: 97
    }
    RectInput {
        id: xInput
        objectName: "xInput"
        x: 520
        y: 98
        maxValue: 64
        enabled: false
        opacity: 0.5
        accessibleName: part.texts[4]
    }

    Label {
        x: 424
        y: 136
        width: 88
        height: 24
        text: part.texts[5]
    }
    FieldBox {
        x: 519
        y: 137
    }
    RectInput {
        id: yInput
        objectName: "yInput"
        x: 520
        y: 138
        maxValue: 64
        accessibleName: part.texts[5]
        onEndInputSignal: part.yChosen(GunRules.clampY(yInput.textValue))
    }

    // Fire period and shot count.
    Label {
        x: 264
        y: 216
        width: 200
        height: 24
        text: part.texts[6]
    }
    Rectangle {
        x: 264
        y: 242
        width: 360
        height: 1
        color: Skin.colorGray1
    }

    Label {
        id: rateLabel
        x: 280
        y: 256
        height: 24
        text: part.texts[7]
    }
    DropDownSlider {
        id: rateSlider
        objectName: "rateSlider"
        x: timesInput.x
        y: 256
        z: 2
        width: GunRules.rateSliderWidth + 16
        onValueChange: position => rateSlider.textValue = GunRules.rateText(GunRules.periodOfPosition(position))
    }
    Connections {
        target: rateSlider.sliderControl
        function onValueChangeDelay() {
            part.rateChosen(rateSlider.textValue)
        }
    }

    Label {
        id: timesLabel
        x: 280
        y: 312
        height: 24
        text: part.texts[8]
    }
    FieldBox {
        x: timesInput.x - 1
        y: 313
    }
    RectInput {
        id: timesInput
        objectName: "timesInput"
        // The fields of the fire box line up after the wider label.
        x: Math.max(376, 280 + Math.max(rateLabel.implicitWidth, timesLabel.implicitWidth) + 8)
        y: 314
        maxValue: GunRules.timesMax
        accessibleName: part.texts[8]
        onEndInputSignal: part.timesChosen(GunRules.clampTimes(timesInput.textValue))
    }

    CheckBox {
        id: endness
        objectName: "endness"
        x: timesInput.x + 72
        y: 312
        height: 24
        textValue: part.texts[9]
        onIsSelectChanged: part.endnessToggled()
    }
}
