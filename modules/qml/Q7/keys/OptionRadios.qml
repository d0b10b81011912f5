pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A section's options as radio buttons in a grid: the one whose codes are
// the choice is ticked; a click picks an option.
Grid {
    id: radios

    // The section's options ({ lang, codes }), named from texts by lang.
    required property var options
    required property list<string> texts
    required property list<int> choice
    // Each button's object name is namePrefix and its index.
    required property string namePrefix

    signal picked(int index)

    columns: 3
    rowSpacing: 4
    columnSpacing: 16

    Repeater {
        model: radios.options

        RadioButton {
            id: radio
            required property var modelData
            required property int index
            readonly property bool chosen: KeyCodes.sameCodes(Array.from(radios.choice), radio.modelData.codes)

            objectName: radios.namePrefix + radio.index
            width: Math.max(96, radio.implicitWidth)
            height: 20
            textValue: radios.texts[radio.modelData.lang]
            isSelect: radio.chosen
            onBtnClick: {
                radios.picked(radio.index)
                radio.isSelect = Qt.binding(() => radio.chosen)
            }
        }
    }
}
