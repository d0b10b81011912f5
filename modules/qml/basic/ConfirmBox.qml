pragma ComponentBehavior: Bound
import QtQuick

// A question over a dim mask that covers the item it is placed in: a title
// bar, the question, OK and Cancel, like the shell's factory-reset box. While
// it is open it keeps the keyboard: Tab moves between its two buttons, Enter
// or Space answers with the one that has the focus (OK when it opens),
// Escape cancels, and a press on the mask cancels too. When it closes, the
// focus goes back to the item that had it.
Rectangle {
    id: root

    property string title: ""
    property string text: ""
    property string okText: "OK"
    property string cancelText: "Cancel"
    // The item that had the focus when the question opened.
    property Item focusBefore: null

    signal accepted
    signal rejected

    function open() {
        if (root.visible)
            return
        root.focusBefore = root.Window.activeFocusItem
        root.visible = true
        okButton.forceActiveFocus()
    }

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
        root.visible = false
        var back = root.focusBefore
        root.focusBefore = null
        if (back)
            back.forceActiveFocus()
        if (ok)
            root.accepted()
        else
            root.rejected()
    }

    anchors.fill: parent
    z: 10
    visible: false
    color: "#90000000"

    Accessible.role: Accessible.Dialog
    Accessible.name: root.title

    // No key reaches the page below while the question is open.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Escape)
            root.reject()
        else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            root.accept()
        event.accepted = true
    }
    Keys.onReleased: event => event.accepted = true

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onPressed: root.reject()
        onWheel: wheel => wheel.accepted = true
    }

    Rectangle {
        id: box
        objectName: "confirmBox"
        anchors.centerIn: parent
        width: Math.min(root.width - 32, 400)
        height: question.y + question.height + 16 + okButton.height + 10
        color: Skin.colorGray0
        border.color: Skin.colorGray1
        radius: 4

        // Presses on the box itself are no answer.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
        }

        Rectangle {
            width: parent.width
            height: 30
            radius: 4
            color: Skin.colorGray1

            Label {
                x: 12
                width: parent.width - 24
                height: parent.height
                text: root.title
                font.pixelSize: Skin.fontMiddleSize
            }
        }

        // The whole question, on as many lines as it takes (a long macro
        // name breaks anywhere).
        Label {
            id: question
            objectName: "confirmText"
            x: 16
            y: 42
            width: box.width - 32
            text: root.text
            wrapMode: Text.Wrap
            elide: Text.ElideNone
            verticalAlignment: Text.AlignTop
        }

        TextButton {
            id: okButton
            objectName: "confirmOk"
            x: box.width - okButton.width - 12
            y: box.height - okButton.height - 10
            width: 88
            height: 25
            textValue: root.okText
            KeyNavigation.tab: cancelButton
            KeyNavigation.backtab: cancelButton
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
            KeyNavigation.tab: okButton
            KeyNavigation.backtab: okButton
            onClicked: root.reject()
        }
    }
}
