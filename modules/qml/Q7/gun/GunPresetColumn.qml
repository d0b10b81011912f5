pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The gun editor's left column: the slot being edited, and the six presets,
// each with its picture, its name and the numbers of the slots that hold it.
// Placed over the whole dialog, its controls at the dialog's coordinates.
Item {
    id: part

    required property list<string> texts
    required property ListModel presets
    required property ListModel slotEntries
    // The preset in each slot, slot 1 first.
    required property list<int> slotPresets
    required property int currentSlot
    required property int currentGun

    signal slotChosen(int slot)
    signal presetChosen(int index)

    function endEdits() {
        slotSelector.closeMenu()
    }

    width: 640
    height: 448

    // The selector shows the slot the page edits, also after a load.
    onCurrentSlotChanged: slotSelector.currentSelect = part.currentSlot
    Component.onCompleted: slotSelector.currentSelect = part.currentSlot

    Label {
        id: slotLabel
        x: 16
        y: 52
        height: 24
        text: part.texts[2]
    }

    DropDownList {
        id: slotSelector
        objectName: "slotSelector"
        x: Math.max(112, slotLabel.x + slotLabel.implicitWidth + 8)
        y: 52
        z: 2
        width: 232 - slotSelector.x
        mdItems: part.slotEntries
        onValueChange: index => part.slotChosen(index)
    }

    Rectangle {
        x: 16
        y: 84
        width: 216
        height: 58 * part.presets.count
        color: "transparent"
        border.width: 1
        border.color: Skin.colorGray1

        Accessible.role: Accessible.List
        Accessible.name: part.texts[2]

        Repeater {
            model: part.presets

            Rectangle {
                id: presetRow

                required property int index
                required property string gunName
                required property string gunImage
                readonly property bool current: presetRow.index === part.currentGun
                // The slots that hold this preset, as their numbers.
                readonly property string slotMarks: GunRules.slotMarks(part.slotPresets, presetRow.index)

                function choose() {
                    part.presetChosen(presetRow.index)
                }

                objectName: "preset" + presetRow.index
                y: 58 * presetRow.index
                width: 216
                height: 58
                color: presetRow.current ? Skin.colorOrange : presetArea.containsMouse ? Skin.colorGray1 : "transparent"
                border.width: presetRow.activeFocus ? 1 : 0
                border.color: Skin.fontColor
                activeFocusOnTab: true

                Accessible.role: Accessible.ListItem
                Accessible.name: presetRow.gunName
                Accessible.selectable: true
                Accessible.selected: presetRow.current
                Accessible.focusable: true
                Accessible.onPressAction: presetRow.choose()
                Keys.onSpacePressed: presetRow.choose()
                Keys.onReturnPressed: presetRow.choose()
                Keys.onEnterPressed: presetRow.choose()

                Image {
                    x: 8
                    y: 9
                    width: 120
                    height: 40
                    sourceSize.width: 120
                    sourceSize.height: 40
                    source: presetRow.gunImage
                }
                Label {
                    x: 134
                    width: 62
                    height: presetRow.height
                    text: presetRow.gunName
                }
                Label {
                    x: 198
                    width: 16
                    height: presetRow.height
                    font.pixelSize: Skin.fontNormalSize - 2
                    text: presetRow.slotMarks
                    visible: presetRow.slotMarks !== ""
                }
                MouseArea {
                    id: presetArea
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: presetRow.choose()
                }
            }
        }
    }

    Rectangle {
        x: 248
        y: 52
        width: 1
        height: 380
        color: Skin.colorGray1
    }
}
