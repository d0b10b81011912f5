pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The macro editor's controls, placed from the dialog's top-left corner: the
// names and their buttons on the left, the steps and the recording's
// controls on the right, the context menus, the insert-key dialog and the
// delete question. They show the editor's state and call its functions.
Item {
    id: body

    required property MacroEditorBase editor
    readonly property ListView nameList: names.list
    readonly property ListView stepList: steps.list
    readonly property alias recordButton: recordButton
    readonly property alias timesField: timesField
    readonly property alias deleteQuestion: deleteQuestion

    // What did not happen, in the title bar.
    Label {
        objectName: "noteLine"
        x: 150
        width: 440
        height: 40
        horizontalAlignment: Text.AlignRight
        text: body.editor.noteText
        color: Skin.colorOrange
        visible: body.editor.noteText !== ""
    }

    Label {
        x: 16
        y: 48
        height: 20
        text: body.editor.macroEditorLang[1]
    }

    MacroNameList {
        id: names
        x: 16
        y: 72
        editor: body.editor
    }

    TextButton {
        id: newButton
        objectName: "newButton"
        x: 16
        y: 412
        width: Math.max(64, newButton.textWidth + 16)
        height: 24
        textValue: body.editor.macroEditorLang[2]
        onClicked: body.editor.newAsked()
    }

    TextButton {
        id: deleteButton
        objectName: "deleteButton"
        x: Math.max(120, newButton.x + newButton.width + 8)
        y: 412
        width: Math.max(64, deleteButton.textWidth + 16)
        height: 24
        textValue: body.editor.macroEditorLang[3]
        onClicked: body.editor.deleteAsked()
    }

    Label {
        x: 200
        y: 48
        height: 20
        text: body.editor.macroEditorLang[4]
    }

    MacroStepList {
        id: steps
        x: 200
        y: 72
        editor: body.editor
    }

    // Start Record / Stop Record, in the accent colour while recording. Keys
    // start it (on release, so that the starting key is not recorded) but
    // never stop it: while recording every key belongs to the macro.
    Rectangle {
        id: recordButton
        objectName: "recordButton"
        readonly property string textValue: body.editor.macroEditorLang[body.editor.isInputting ? 5 : 8]
        x: 200
        y: 412
        width: Math.max(120, recordLabel.implicitWidth + 24)
        height: 24
        radius: 3
        color: body.editor.isInputting || recordArea.containsMouse ? Skin.colorOrange : Skin.colorBlue
        border.width: recordButton.activeFocus ? 1 : 0
        border.color: Skin.colorGray3
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: recordButton.textValue
        Accessible.focusable: true
        Accessible.onPressAction: body.editor.recordToggled()

        Keys.onPressed: event => event.accepted = body.editor.isInputting
        Keys.onReleased: event => {
            if (body.editor.isInputting) {
                event.accepted = true
            } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                event.accepted = true
                body.editor.recordToggled()
            }
        }

        Label {
            id: recordLabel
            anchors.centerIn: parent
            text: recordButton.textValue
            Accessible.ignored: true
        }

        MouseArea {
            id: recordArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: body.editor.recordToggled()
        }
    }

    Label {
        id: timesLabel
        x: Math.max(336, recordButton.x + recordButton.width + 12)
        y: 412
        height: 24
        text: body.editor.macroEditorLang[6]
    }

    // The selected macro's repeat count; the editor takes the text when the
    // input ends and puts in the count of each macro it shows.
    RectInput {
        id: timesField
        objectName: "timesField"
        x: Math.max(380, timesLabel.x + timesLabel.implicitWidth + 6)
        y: 414
        width: 48
        height: 20
        minValue: 1
        maxValue: 65535
        textValue: body.editor.timesText
        border.width: 1
        border.color: timesField.txtInput.activeFocus ? Skin.colorOrange : Skin.colorGray1
        accessibleName: body.editor.macroEditorLang[6]
        onInputSignal: body.editor.timesStarted()
        onEndInputSignal: body.editor.timesEnded(timesField.textValue)

        Connections {
            target: body.editor
            function onTimesTextChanged() {
                timesField.textValue = body.editor.timesText
            }
        }
    }

    CheckBox {
        id: delayBox
        objectName: "delayBox"
        x: timesField.x + timesField.width + 20
        y: 412
        height: 24
        textValue: body.editor.macroEditorLang[9]
        isSelect: body.editor.recordDelays
        onIsSelectChanged: body.editor.recordDelays = delayBox.isSelect
    }

    MacroMenu {
        objectName: "nameMenu"
        width: 80
        x: body.editor.menuAt.x
        y: body.editor.menuAt.y
        visible: body.editor.openMenu === "name"
        entries: [body.editor.macroEditorLang[10], body.editor.macroEditorLang[11], body.editor.macroEditorLang[12]]
        onChosen: index => body.editor.nameChosen(index)
        onDismissed: {
            body.editor.openMenu = ""
            names.list.forceActiveFocus()
        }
    }

    MacroMenu {
        objectName: "actionMenu"
        width: 150
        x: body.editor.menuAt.x
        y: body.editor.menuAt.y
        visible: body.editor.openMenu === "action"
        entries: [body.editor.macroEditorLang[10], body.editor.macroEditorLang[13], body.editor.macroEditorLang[14],
            body.editor.macroEditorLang[15], body.editor.macroEditorLang[16], body.editor.macroEditorLang[17]]
        onChosen: index => body.editor.actionChosen(index)
        onDismissed: {
            body.editor.openMenu = ""
            steps.list.forceActiveFocus()
        }
    }

    // Dims the editor under the insert-key dialog: a press on it cancels.
    Rectangle {
        objectName: "insertMask"
        anchors.fill: parent
        color: "#90000000"
        visible: body.editor.isInsertting

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            onPressed: body.editor.cancelInsertKey()
            onWheel: wheel => wheel.accepted = true
        }
    }

    // The insert-key dialog, made the first time it is asked for.
    property MacroInsertKey insertDialog: null
    Component {
        id: insertComponent
        MacroInsertKey {}
    }
    Connections {
        target: body.editor
        function onIsInserttingChanged() {
            if (body.editor.isInsertting && !body.insertDialog)
                body.insertDialog = insertComponent.createObject(body, { editor: body.editor }) as MacroInsertKey
        }
    }

    ConfirmBox {
        id: deleteQuestion
        objectName: "deleteQuestion"
        title: body.editor.macroEditorLang[30]
        okText: body.editor.macroEditorLang[7]
        cancelText: body.editor.macroEditorLang[34]
        onAccepted: body.editor.deleteAccepted()
        onRejected: body.editor.deletingName = ""
    }
}
