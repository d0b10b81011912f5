pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The lighting panel's colour area: the colour blocks, the hue bar with the
// sliders of the blocks (1 to 12) and of the single colour (S), and the R,
// G, B and "#rrggbb" fields. It shows what the page gives it and reports
// what the user does; the page decides what a colour goes to. Disabled, it
// takes neither the pointer nor the keyboard.
Item {
    id: part

    required property list<string> texts
    // Each block's colour, each slider's x (0..11 the blocks', 12 the
    // single colour's) and the one slider shown.
    required property list<string> blockColors
    required property list<int> sliderXs
    required property int selectColorBlock
    required property int visibleSlider
    // What LightRules.blockShown needs to know of the mouse and the effect.
    required property var blockFlags

    // A press anywhere in the area: the page ends its other edits.
    signal pressed
    signal blockChosen(int index)
    // The visible slider dragged, clicked on the bar or moved by key to x;
    // moveEnded: the user let go (or moved it by key).
    signal slid(real x)
    signal moveEnded
    // R, G or B left; the hex field edited (isLeaving: it lost the focus).
    signal fieldsLeft
    signal hexEdited(string text, bool isLeaving)

    // The colour in the fields.
    function showFields(color) {
        var rgb = LightRules.rgbOf(color)
        settingColorR.textValue = String(rgb[0])
        settingColorG.textValue = String(rgb[1])
        settingColorB.textValue = String(rgb[2])
        if (hexInput.text !== color)
            hexInput.text = color
    }

    // The colour R, G and B make as typed.
    function typedColor() {
        return LightRules.colorText(LightRules.fieldValue(settingColorR.textValue),
                                    LightRules.fieldValue(settingColorG.textValue),
                                    LightRules.fieldValue(settingColorB.textValue))
    }

    // Ends typing, which commits a field.
    function endEdits() {
        settingColorR.closeFocus()
        settingColorG.closeFocus()
        settingColorB.closeFocus()
        if (hexInput.activeFocus)
            hexInput.focus = false
    }

    width: 232
    height: 104

    // The label left, the blocks right-aligned: the label gets the room the
    // blocks leave.
    Label {
        x: 8
        y: 0
        width: Math.min(implicitWidth, colorBlockRow.x - 12)
        height: 19
        text: part.texts[6]
    }

    Row {
        id: colorBlockRow
        objectName: "colorBlockRow"

        readonly property int selectColorBlock: part.selectColorBlock

        x: part.width - 8 - colorBlockRow.width
        y: 3
        spacing: 1

        Repeater {
            model: 12

            Rectangle {
                id: block

                required property int index
                readonly property bool selected: block.index === colorBlockRow.selectColorBlock

                objectName: "colorBlock" + block.index
                width: 13
                height: 13
                color: String(part.blockColors[block.index])
                border.width: block.selected || block.activeFocus ? 1 : 0
                border.color: block.activeFocus && !block.selected ? Skin.colorOrange : "#ffffff"
                visible: LightRules.blockShown(block.index, part.blockFlags)
                activeFocusOnTab: true

                Accessible.role: Accessible.RadioButton
                Accessible.name: part.texts[6] + " " + (block.index + 1)
                Accessible.checkable: true
                Accessible.checked: block.selected
                Accessible.focusable: true
                Accessible.onPressAction: part.blockChosen(block.index)
                Keys.onSpacePressed: part.blockChosen(block.index)
                Keys.onReturnPressed: part.blockChosen(block.index)
                Keys.onEnterPressed: part.blockChosen(block.index)

                MouseArea {
                    anchors.fill: parent
                    onClicked: part.blockChosen(block.index)
                }
            }
        }
    }

    // The hue bar: a click puts the visible slider there.
    Rectangle {
        id: colorBar
        objectName: "colorBar"
        x: LightRules.barX
        y: 26
        width: LightRules.barWidth
        height: 10
        border.width: 1
        border.color: Skin.colorGray1
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: "#ff0000" }
            GradientStop { position: 1 / 6; color: "#ffff00" }
            GradientStop { position: 2 / 6; color: "#00ff00" }
            GradientStop { position: 3 / 6; color: "#00ffff" }
            GradientStop { position: 4 / 6; color: "#0000ff" }
            GradientStop { position: 5 / 6; color: "#ff00ff" }
            GradientStop { position: 0.99; color: "#ff0000" }
            GradientStop { position: 1; color: "#ffffff" }
        }

        MouseArea {
            anchors.fill: parent
            anchors.margins: -3
            onPressed: mouse => {
                part.pressed()
                part.slid(colorBar.x + mouse.x - 3 - LightRules.sliderWidth / 2)
            }
            onReleased: part.moveEnded()
        }
    }

    // Only the selected colour's slider is shown.
    Repeater {
        model: 13

        LightColorSlider {
            id: colorSlider
            required property int index

            objectName: colorSlider.index < 12 ? "slider" + colorSlider.index : "sliderSingle"
            x: part.sliderXs[colorSlider.index]
            y: 38
            visible: colorSlider.index === part.visibleSlider
            label: colorSlider.index < 12 ? String(colorSlider.index + 1) : "S"
            accessibleName: part.texts[6] + " " + colorSlider.label
            barX: colorBar.x
            barWidth: colorBar.width
            onPressed: part.pressed()
            onSlid: to => part.slid(to)
            onMoveEnded: part.moveEnded()
        }
    }

    Repeater {
        model: ["R", "G", "B"]

        Label {
            id: fieldName
            required property int index
            required property string modelData
            x: 16 + 48 * fieldName.index
            y: 66
            width: 10
            height: 20
            text: fieldName.modelData
        }
    }
    RectInput {
        id: settingColorR
        objectName: "settingColorR"
        x: 26
        y: 66
        width: 34
        accessibleName: "R"
        onEndInputSignal: part.fieldsLeft()
    }
    RectInput {
        id: settingColorG
        objectName: "settingColorG"
        x: 74
        y: 66
        width: 34
        accessibleName: "G"
        onEndInputSignal: part.fieldsLeft()
    }
    RectInput {
        id: settingColorB
        objectName: "settingColorB"
        x: 122
        y: 66
        width: 34
        accessibleName: "B"
        onEndInputSignal: part.fieldsLeft()
    }

    // "#rrggbb", in step with R, G and B.
    Rectangle {
        x: 160
        y: 66
        width: 58
        height: 20
        color: "transparent"
        border.width: 1
        border.color: hexInput.activeFocus ? Skin.colorOrange : Skin.colorGray1

        TextInput {
            id: hexInput
            objectName: "settingColorHex"
            anchors.fill: parent
            horizontalAlignment: TextInput.AlignHCenter
            verticalAlignment: TextInput.AlignVCenter
            text: LightRules.builtInColors[0]
            maximumLength: 7
            clip: true
            selectByMouse: true
            activeFocusOnTab: true
            color: Skin.fontColor
            selectionColor: Skin.colorOrange
            font.family: Skin.fontFamily
            font.pixelSize: Skin.fontNormalSize
            validator: RegularExpressionValidator {
                regularExpression: /#?[0-9a-fA-F]{0,6}/
            }

            Accessible.role: Accessible.EditableText
            Accessible.name: "Hex"
            Accessible.focusable: true

            Keys.onReturnPressed: hexInput.focus = false
            Keys.onEnterPressed: hexInput.focus = false
            onTextEdited: part.hexEdited(hexInput.text, false)
            onActiveFocusChanged: {
                if (!hexInput.activeFocus)
                    part.hexEdited(hexInput.text, true)
            }
        }
    }
}
