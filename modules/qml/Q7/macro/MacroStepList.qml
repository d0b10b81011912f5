pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The selected macro's steps in a box of 424 x 328, rows of 27, each with
// its number, a picture of its type and what it does (a Delay in ms): a
// click makes a step current, a double-click or Enter edits a Delay, Delete
// removes the current step, a right click or the Menu key opens the action
// menu.
Rectangle {
    id: box

    required property MacroEditorBase editor
    readonly property alias list: stepList

    width: 424
    height: 328
    color: "transparent"
    border.width: 1
    border.color: Skin.colorGray1

    // Below the steps: a right click offers the inserts on an empty list
    // (or after the last step).
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onPressed: mouse => box.editor.stepRowPressed(-1, mouse.button,
                                                   mapToItem(box.editor.contentItem, mouse.x, mouse.y))
    }

    ListView {
        id: stepList
        objectName: "stepList"
        x: 1
        y: 1
        width: parent.width - 2
        // Only as tall as its rows: below them a right click reaches the box.
        height: Math.min(parent.height - 2, 27 * stepList.count)
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: box.editor.macroActionModel
        currentIndex: box.editor.currentStep
        highlightFollowsCurrentItem: false
        activeFocusOnTab: true

        Accessible.role: Accessible.List
        Accessible.name: box.editor.macroEditorLang[4]

        function step(delta) {
            if (stepList.count === 0)
                return
            box.editor.stepMoved(Math.max(0, Math.min(stepList.count - 1, box.editor.currentStep + delta)))
            stepList.positionViewAtIndex(box.editor.currentStep, ListView.Contain)
        }

        Keys.onUpPressed: stepList.step(-1)
        Keys.onDownPressed: stepList.step(1)
        Keys.onReturnPressed: box.editor.delayEditAsked(box.editor.currentStep)
        Keys.onEnterPressed: box.editor.delayEditAsked(box.editor.currentStep)
        Keys.onDeletePressed: box.editor.actionChosen(0)
        Keys.onMenuPressed: {
            if (box.editor.currentMacro >= 0)
                box.editor.menuAsked("action", 260, 72 + 27 * Math.max(0, box.editor.currentStep + 1))
        }

        delegate: Rectangle {
            id: stepRow

            required property int index
            required property int type
            required property string info
            readonly property bool editing: box.editor.editingStep === stepRow.index
            readonly property bool current: stepRow.index === box.editor.currentStep

            objectName: "step" + stepRow.index
            width: stepList.width
            height: 27
            color: stepRow.current || stepArea.containsMouse ? Skin.colorOrange : "transparent"

            Accessible.role: Accessible.ListItem
            Accessible.name: box.editor.macroActionModel.spokenStep(stepRow.index + 1, stepRow.type, stepRow.info)
            Accessible.selectable: true
            Accessible.selected: stepRow.current
            Accessible.onPressAction: box.editor.stepRowPressed(stepRow.index, Qt.LeftButton, Qt.point(0, 0))

            MouseArea {
                id: stepArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onPressed: mouse => box.editor.stepRowPressed(stepRow.index, mouse.button,
                                                           stepArea.mapToItem(box.editor.contentItem, mouse.x,
                                                                              mouse.y))
                onDoubleClicked: mouse => {
                    if (mouse.button === Qt.LeftButton)
                        box.editor.delayEditAsked(stepRow.index)
                }
            }

            Label {
                x: 8
                width: 36
                height: parent.height
                horizontalAlignment: Text.AlignRight
                text: String(stepRow.index + 1)
                color: stepRow.current ? Skin.fontColor : Skin.colorGray2
                Accessible.ignored: true
            }

            Image {
                id: stepIcon
                readonly property string picture: box.editor.macroActionModel.iconOf(stepRow.type)
                x: 56
                y: 5
                width: 16
                height: 16
                sourceSize.width: 16
                sourceSize.height: 16
                visible: stepIcon.picture !== ""
                source: stepIcon.visible ? Skin.image(stepIcon.picture) : ""
            }

            Label {
                x: 88
                width: parent.width - 96
                height: parent.height
                visible: !stepRow.editing
                text: box.editor.macroActionModel.shownInfo(stepRow.type, stepRow.info)
                Accessible.ignored: true
            }

            MacroEditField {
                editor: box.editor
                active: stepRow.editing
                x: 84
                width: 120
                objectName: stepRow.editing ? "delayEditor" : ""
                accessibleName: box.editor.macroEditorLang[9] + " ms"
                validator: IntValidator {
                    bottom: 0
                    top: box.editor.macroActionModel.maxDelay
                }
                onCommitted: {
                    box.editor.delayEnded()
                    stepList.forceActiveFocus()
                }
                onCancelled: {
                    box.editor.editingStep = -1
                    stepList.forceActiveFocus()
                }
            }
        }
    }
}
