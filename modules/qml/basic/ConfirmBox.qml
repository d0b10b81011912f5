pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T

// A question over the item it is placed in, dimming it: a title bar, the
// question, OK and Cancel, like the shell's factory-reset box. While it is
// open it holds the keyboard: Tab moves between its two buttons, Enter or
// Space answers with the one that has the focus (OK when it opens), Escape
// cancels, and a press beside the box cancels too. When it closes, the focus
// goes back to the item that had it.
DialogFrame {
    id: root

    property string text: ""
    property string okText: "OK"
    property string cancelText: "Cancel"
    // Whether the answer was OK; a close by any other way cancels.
    property bool answered: false

    signal accepted
    signal rejected

    function accept() {
        root.finish(true)
    }

    // Cancel, Escape, a press beside the box, or the page closing under it.
    function reject() {
        root.finish(false)
    }

    function finish(ok) {
        if (!root.visible)
            return
        root.answered = ok
        root.close()
    }

    onAboutToShow: root.answered = false
    onClosed: root.answered ? root.accepted() : root.rejected()
    onCloseClicked: root.reject()

    x: ((parent ? parent.width : width) - width) / 2
    y: ((parent ? parent.height : height) - height) / 2
    width: Math.min((parent ? parent.width : 432) - 32, 400)
    height: question.y + question.height + 16 + okButton.height + 10
    modal: true
    closePolicy: T.Popup.CloseOnPressOutside
    closable: false
    radius: 4
    titleHeight: 30
    titleColor: Skin.colorGray1
    accentLine: false
    titleX: 12
    titleSize: Skin.fontMiddleSize
    firstControl: okButton

    T.Overlay.modal: Rectangle {
        color: "#90000000"
    }

    // Enter on neither button answers OK.
    Item {
        anchors.fill: parent
        Keys.onReturnPressed: root.accept()
        Keys.onEnterPressed: root.accept()

        // The whole question, on as many lines as it takes (a long macro
        // name breaks anywhere).
        Label {
            id: question
            objectName: "confirmText"
            x: 16
            y: 42
            width: root.width - 32
            text: root.text
            wrapMode: Text.Wrap
            elide: Text.ElideNone
            verticalAlignment: Text.AlignTop
        }

        TextButton {
            id: okButton
            objectName: "confirmOk"
            x: root.width - okButton.width - 12
            y: root.height - okButton.height - 10
            width: 88
            height: 25
            textValue: root.okText
            onClicked: root.accept()
        }

        TextButton {
            id: cancelButton
            objectName: "confirmCancel"
            x: okButton.x - cancelButton.width - 7
            y: okButton.y
            width: 88
            height: 25
            normalColor: Skin.colorGray1
            textValue: root.cancelText
            onClicked: root.reject()
        }
    }
}
