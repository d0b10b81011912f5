pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The lighting panel's step controls, speed and brightness, each a slider of
// five steps with its percent. A hidden one leaves no gap.
Column {
    id: part

    required property list<string> texts
    required property bool speedShown
    required property bool brightnessShown
    readonly property int speed: rateSlider.segmentValue
    readonly property int brightness: lightnessSlider.segmentValue

    // A slider's move has ended.
    signal stepsChanged
    // A slider was pressed: the page ends its other edits.
    signal pressed

    // The steps as loaded or as an effect sets them; -1 keeps one.
    function setSteps(speed, brightness) {
        if (speed >= 0)
            rateSlider.setIndexValue(speed, false)
        if (brightness >= 0)
            lightnessSlider.setIndexValue(brightness, false)
    }

    spacing: 8

    Item {
        id: rateContainer
        objectName: "rateContainer"
        width: 232
        height: 36
        visible: part.speedShown

        Label {
            x: 16
            width: 70
            height: 24
            text: part.texts[5]
        }
        SliderButton {
            id: rateSlider
            objectName: "rateSlider"
            x: 88
            y: 9
            width: 88
            segment: 4
            isScale: true
            accessibleName: part.texts[5]
            onValueChangeDelay: part.stepsChanged()
            onBtnClick: part.pressed()
        }
        Label {
            objectName: "rateLabel"
            x: 184
            width: 36
            height: 24
            horizontalAlignment: Text.AlignRight
            text: LightRules.percentText(rateSlider.segmentValue)
        }
    }

    Item {
        id: lightnessContainer
        objectName: "lightnessContainer"
        width: 232
        height: 36
        visible: part.brightnessShown

        Label {
            x: 16
            width: 70
            height: 24
            text: part.texts[7]
        }
        SliderButton {
            id: lightnessSlider
            objectName: "lightnessSlider"
            x: 88
            y: 9
            width: 88
            segment: 4
            isScale: true
            accessibleName: part.texts[7]
            onValueChangeDelay: part.stepsChanged()
            onBtnClick: part.pressed()
        }
        Label {
            objectName: "lightnessLabel"
            x: 184
            width: 36
            height: 24
            horizontalAlignment: Text.AlignRight
            text: LightRules.percentText(lightnessSlider.segmentValue)
        }
    }
}
