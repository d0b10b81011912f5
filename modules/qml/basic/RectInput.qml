pragma ComponentBehavior: Bound
import QtQuick

// A small numeric field: up to four characters, whole numbers from minValue to
// maxValue. Enter ends the input; an input that ends empty or below 1 shows
// "0", and one above maxValue shows maxValue, so a page never reads a value
// the field does not allow.
Rectangle {
    id: root

    property alias textValue: input.text
    property alias txtInput: input
    property int minValue: 0
    property int maxValue: 255

    property string accessibleName: "Value"

    signal inputSignal
    signal endInputSignal

    function closeFocus() {
        if (!input.activeFocus)
            return
        input.focus = false
        input.deselect()
    }

    width: 48
    height: 20
    color: "transparent"
    border.width: input.activeFocus ? 1 : 0
    border.color: Skin.colorOrange

    TextInput {
        id: input

        // What the field shows once the input ends.
        function settled() {
            var value = Number(input.text)
            if (input.text === "" || isNaN(value) || value < 1)
                return "0"
            return value > root.maxValue ? String(root.maxValue) : input.text
        }

        anchors.fill: parent
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        text: "0"
        maximumLength: 4
        clip: true
        selectByMouse: true
        activeFocusOnTab: true
        color: Skin.fontColor
        selectionColor: Skin.colorOrange
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontNormalSize
        validator: IntValidator {
            bottom: root.minValue
            top: root.maxValue
        }

        Accessible.role: Accessible.EditableText
        Accessible.name: root.accessibleName
        Accessible.focusable: true

        Keys.onReturnPressed: input.focus = false
        Keys.onEnterPressed: input.focus = false

        onActiveFocusChanged: {
            if (input.activeFocus) {
                root.inputSignal()
                return
            }
            var shown = input.settled()
            if (input.text !== shown)
                input.text = shown
            root.endInputSignal()
        }
    }
}
