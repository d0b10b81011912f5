pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The controls of the system settings dialog, built when it first opens. They
// show the page's settings and hand every change back to it.
Item {
    id: root

    required property var texts
    required property var compareValue
    required property int mousePosition
    required property int doublePosition
    required property bool oneScreen
    required property string rowsText

    // Where the keyboard starts when the dialog opens: the first slider.
    readonly property Item firstControl: mouseRate

    signal resetClicked
    // A knob came to rest at position: step 1 the cursor speed, 2 the
    // double-click speed.
    signal knobMoved(int step, int position)
    signal scrollChosen(bool oneScreen)
    signal rowsTyped(string text)
    signal rowsEntered

    // Ends the rows input (which stores and applies it); true when it was
    // being edited.
    function endEdits() {
        var editing = rowsInput.txtInput.activeFocus
        rowsInput.closeFocus()
        return editing
    }

    // Shows the page's settings. The controls change their own state when
    // used, so they are set, not bound.
    function show() {
        mouseRate.setPosition(root.mousePosition)
        doubleRate.setPosition(root.doublePosition)
        root.showScroll()
    }

    function showScroll() {
        rowsButton.isSelect = !root.oneScreen
        screenButton.isSelect = root.oneScreen
        if (rowsInput.textValue !== root.rowsText)
            rowsInput.textValue = root.rowsText
    }

    onOneScreenChanged: root.showScroll()
    onRowsTextChanged: root.showScroll()

    Component.onCompleted: root.show()

    // The reset picture, left of the close picture, lit under the pointer or
    // with the focus.
    IconButton {
        id: resetButton
        objectName: "resetButton"
        x: parent.width - 64
        y: (40 - resetButton.height) / 2
        image: "reset"
        accessibleName: "Reset"
        onClicked: root.resetClicked()
    }

    Label {
        x: 32
        y: 52
        width: 352
        height: 24
        text: root.texts[1]
    }
    SystemSlider {
        id: mouseRate
        objectName: "mouseRate"
        x: 32
        y: 80
        compareValue: root.compareValue
        accessibleName: root.texts[1]
        slowText: root.texts[3]
        fastText: root.texts[4]
        onBtnClick: root.endEdits()
        onMoved: root.knobMoved(1, mouseRate.xPosition)
    }

    Label {
        x: 32
        y: 124
        width: 352
        height: 24
        text: root.texts[2]
    }
    SystemSlider {
        id: doubleRate
        objectName: "doubleRate"
        x: 32
        y: 152
        compareValue: root.compareValue
        accessibleName: root.texts[2]
        slowText: root.texts[3]
        fastText: root.texts[4]
        onBtnClick: root.endEdits()
        onMoved: root.knobMoved(2, doubleRate.xPosition)
    }

    Rectangle {
        x: 16
        y: 200
        width: root.width - 32
        height: 1
        color: Skin.colorGray1
    }

    Label {
        x: 32
        y: 208
        width: 352
        height: 24
        text: root.texts[5]
    }
    RadioButton {
        id: rowsButton
        objectName: "rowsButton"
        x: 40
        y: 242
        height: 20
        textValue: root.texts[6]
        onBtnClick: root.scrollChosen(false)
    }
    Rectangle {
        x: rowsInput.x - 1
        y: rowsInput.y - 1
        width: rowsInput.width + 2
        height: rowsInput.height + 2
        color: "transparent"
        border.width: 1
        border.color: Skin.colorGray1
    }
    RectInput {
        id: rowsInput
        objectName: "rowsInput"
        x: rowsButton.x + rowsButton.implicitWidth + 16
        y: 242
        minValue: 1
        maxValue: 100
        onTextValueChanged: root.rowsTyped(rowsInput.textValue)
        txtInput.maximumLength: 3
        accessibleName: root.texts[6]
        onEndInputSignal: root.rowsEntered()
    }
    RadioButton {
        id: screenButton
        objectName: "screenButton"
        x: 40
        y: 276
        height: 20
        textValue: root.texts[7]
        onBtnClick: root.scrollChosen(true)
    }
}
